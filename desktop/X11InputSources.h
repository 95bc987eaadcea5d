#pragma once

#include <functional>
#include <optional>
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
///
/// The layouts and the locked group are kept from the server's notifications (new keyboard,
/// names, the root's rules names; state), so that a switch asks the server nothing before its
/// lock request.
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
    /// Reads the root's rules names and names their layouts.
    const std::vector<NamedLayout>& readLayouts();
    /// The layouts, read on first need after each change.
    const std::vector<NamedLayout>& layouts();
    /// Asks the server for the current group.
    void readGroup();

    X11Connection& x11_;
    XkbLayoutCatalog catalog_;
    int xkbEventBase_ = -1;
    unsigned long rulesNamesAtom_ = 0;
    /// The catalogue's layouts, or null until they are next needed.
    const std::vector<NamedLayout>* layouts_ = nullptr;
    int group_ = -1;
    ObserverList<> selectedObservers_;
    ObserverList<> enabledObservers_;
    Token eventToken_;
};

}  // namespace lumivoke::desktop
