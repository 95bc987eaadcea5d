#pragma once

#include <functional>
#include <vector>

#include "X11Connection.h"
#include "XkbLayoutCatalog.h"
#include "base/ObserverList.h"
#include "platform/InputSourceSystem.h"

namespace lumivoke::desktop {

/// The layouts (XKB groups) of the X server's keymap as the system's input sources: the enabled
/// sources are the keymap's layouts, the current one is the locked group, and selecting locks
/// another group. Their names and languages come from the XKB registry, read at start and again
/// when the layouts change, never on a switch (see XkbLayoutCatalog).
class X11InputSources final : public InputSourceSystem {
public:
    X11InputSources(X11Connection& x11, LogSink& sink, LayoutNamingSources sources = {});
    ~X11InputSources() override;

    std::optional<std::vector<InputSourceHandle>> enabledSources() override;
    std::optional<PropertyValue> property(const InputSourceHandle& source,
                                          SourceProperty which) override;
    InputSourceHandle currentKeyboardSource() override;
    std::int32_t select(const InputSourceHandle& source) override;
    Token observeSelectedSourceChanged(std::function<void()> callback) override;
    Token observeEnabledSourcesChanged(std::function<void()> callback) override;

private:
    const std::vector<NamedLayout>& readLayouts();

    X11Connection& x11_;
    XkbLayoutCatalog catalog_;
    int xkbEventBase_ = -1;
    unsigned long rulesNamesAtom_ = 0;
    ObserverList<> selectedObservers_;
    ObserverList<> enabledObservers_;
    Token eventToken_;
};

}  // namespace lumivoke::desktop
