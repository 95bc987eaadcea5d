#pragma once

#include "X11Keyboard.h"
#include "platform/AccessibilityTrust.h"

namespace lumivoke::desktop {

/// Any X11 client may read the global key stream, so trust is simply whether it can be read.
class X11AccessibilityTrust final : public AccessibilityTrust {
public:
    explicit X11AccessibilityTrust(X11Keyboard& keyboard) : keyboard_(keyboard) {}
    bool isProcessTrusted() override { return keyboard_.canMonitor(); }

private:
    X11Keyboard& keyboard_;
};

}  // namespace lumivoke::desktop
