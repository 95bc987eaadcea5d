#pragma once

#include <functional>
#include <optional>

#include "SimWorkspace.h"
#include "Trace.h"
#include "platform/Application.h"

namespace lumivoke::sim {

/// The simulated application object: its activation policy, activation and termination, and
/// the delegate a second launch asks. Activating it makes it the workspace's frontmost
/// application; turning back into a menu-bar-only application while in front hands the front
/// back to the application that had it, as on the real system.
class SimApplication final : public Application {
public:
    SimApplication(Trace& trace, SimWorkspace& workspace) : trace_(trace), workspace_(workspace) {}

    void setActivationPolicy(ActivationPolicy policy) override;
    void activate() override;
    void terminate() override;
    void setDelegate(ApplicationDelegate* delegate) override { delegate_ = delegate; }

    /// The person launches the running application again; false when nobody handled it.
    bool reopen(bool hasVisibleWindows);
    /// The policy set last; none before anything set it (the bundle's accessory start).
    std::optional<ActivationPolicy> policy() const { return policy_; }
    /// Runs after terminate() has traced, to end the application.
    std::function<void()> onTerminate;

private:
    Trace& trace_;
    SimWorkspace& workspace_;
    ApplicationDelegate* delegate_ = nullptr;
    std::optional<ActivationPolicy> policy_;
};

}  // namespace lumivoke::sim
