#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Logger.h"

struct _XDisplay;

namespace lumivoke::desktop {

/// The trigger as the probe needs it: the choice's identifier, for the keymap options that
/// take its key, and the key's codes in the current keymap.
struct ProbedTrigger {
    std::string identifier;
    std::vector<int> keycodes;
};

/// Whether the trigger key is free for the program, which the system reads where it would read
/// its own Globe-key setting: no other client holds a passive grab on the key (a desktop
/// shortcut), and no option of the keymap gives it a job of its own (grp:rctrl_toggle…). Either
/// would make the desktop act on a tap as well.
///
/// A grab is found by trying one, on a connection of the probe's own, under each combination
/// of the lock modifiers that desktops grab alongside a shortcut (none, Caps Lock, Num Lock,
/// both): the server refuses it (BadAccess) when another client holds it. A grab that succeeds
/// is released at once.
class X11TriggerKeyProbe {
public:
    /// trigger tells the key in effect at each probe.
    X11TriggerKeyProbe(LogSink& sink, std::function<ProbedTrigger()> trigger);
    ~X11TriggerKeyProbe();
    X11TriggerKeyProbe(const X11TriggerKeyProbe&) = delete;
    X11TriggerKeyProbe& operator=(const X11TriggerKeyProbe&) = delete;

    /// Probes now; true without an X server, where nothing can take the key either. What takes
    /// the key is logged when that changes.
    bool isTriggerKeyFree();

private:
    /// Whether another client holds a passive grab on keycode on the root window.
    bool isGrabbedElsewhere(int keycode);
    std::vector<std::string> activeOptions();

    Logger log_;
    std::function<ProbedTrigger()> trigger_;
    _XDisplay* display_ = nullptr;
    bool triedToConnect_ = false;
    std::optional<std::string> lastVerdict_;
};

}  // namespace lumivoke::desktop
