#pragma once

#include <optional>
#include <vector>

#include "base/Published.h"
#include "base/WeakAnchor.h"
#include "sources/InputSourceService.h"

namespace lumivoke {

/// The one observable holder of the selectable sources and the current source, kept in step
/// with the system; performs the Globe-key action.
class LanguageSwitcher {
public:
    LanguageSwitcher(InputSourceSystem& system, KeyboardHardware& keyboard, LogSink& sink);

    /// Selects the source after the current one in sources, wrapping to the first; returns
    /// the source now selected, or none when nothing was switched.
    std::optional<InputSource> selectNext();
    /// Re-reads the current source from the system and publishes it.
    void refreshCurrent();
    /// Re-lists the sources, publishes them, then refreshes the current source.
    void reloadSources();

    // Both publish on every assignment, equal values included.
    Published<std::vector<InputSource>> sources;
    Published<std::optional<InputSource>> currentSource;
    InputSourceService service;

private:
    std::vector<Token> observerTokens_;
    WeakAnchor<LanguageSwitcher> anchor_{this};
};

}  // namespace lumivoke
