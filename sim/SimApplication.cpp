#include "SimApplication.h"

namespace lumivoke::sim {

void SimApplication::setActivationPolicy(ActivationPolicy policy) {
    policy_ = policy;
    trace_.add("app", policy == ActivationPolicy::regular ? "policy regular" : "policy accessory");
    // A menu-bar-only application does not keep the front once its window is going.
    if (policy == ActivationPolicy::accessory) {
        workspace_.resignSelf();
    }
}

void SimApplication::activate() {
    trace_.add("app", "activate");
    workspace_.activateSelf();
}

void SimApplication::terminate() {
    trace_.add("app", "terminate");
    if (onTerminate) {
        onTerminate();
    }
}

bool SimApplication::reopen(bool hasVisibleWindows) {
    return delegate_ != nullptr && delegate_->applicationShouldHandleReopen(hasVisibleWindows);
}

}  // namespace lumivoke::sim
