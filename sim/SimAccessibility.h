#pragma once

#include "SimKeyboard.h"
#include "platform/AccessibilityTrust.h"

namespace lumivoke::sim {

/// The Accessibility trust query. It reads the keyboard's trusted flag, the same one that lets
/// key events reach global monitors, so a grant or a revocation changes both at once.
class SimAccessibilityTrust final : public AccessibilityTrust {
public:
    explicit SimAccessibilityTrust(SimKeyboard& keyboard) : keyboard_(keyboard) {}
    bool isProcessTrusted() override {
        ++queries;
        return keyboard_.trusted();
    }

    int queries = 0;

private:
    SimKeyboard& keyboard_;
};

}  // namespace lumivoke::sim
