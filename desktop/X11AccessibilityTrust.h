#pragma once

#include "X11Keyboard.h"
#include "platform/AccessibilityTrust.h"

namespace lumivoke::desktop {

/// Any X11 client may read the global key stream, so there is no permission to grant: trust is
/// whether the stream can be read at all, which takes the XInput extension's raw key events on
/// a real X11 session. Under Wayland the X11 compatibility server shows an X11 client only the
/// keys typed into its own windows, so there is none; the session type does not change while
/// the program runs.
class X11AccessibilityTrust final : public AccessibilityTrust {
public:
    X11AccessibilityTrust(X11Keyboard& keyboard, bool isWaylandSession)
        : keyboard_(keyboard), isWaylandSession_(isWaylandSession) {}
    bool isProcessTrusted() override { return !isWaylandSession_ && keyboard_.canMonitor(); }

private:
    X11Keyboard& keyboard_;
    bool isWaylandSession_;
};

}  // namespace lumivoke::desktop
