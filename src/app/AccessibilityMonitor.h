#pragma once

#include <chrono>
#include <functional>

#include "base/Logger.h"
#include "base/MainLoop.h"
#include "base/Published.h"
#include "base/WeakAnchor.h"
#include "platform/AccessibilityTrust.h"

namespace lumivoke {

/// Knows whether the process has the Accessibility permission, publishes it, and while it is
/// missing checks once a second, so that a grant in System Settings takes effect at once.
/// It never makes the system prompt for the permission.
class AccessibilityMonitor {
public:
    static constexpr Duration pollInterval = std::chrono::seconds(1);

    AccessibilityMonitor(AccessibilityTrust& trust, MainLoop& loop, LogSink& sink);
    ~AccessibilityMonitor();
    AccessibilityMonitor(const AccessibilityMonitor&) = delete;
    AccessibilityMonitor& operator=(const AccessibilityMonitor&) = delete;

    /// Checks once a second from now on, unless already polling.
    void startPolling();
    /// Invalidates the poll timer, if any.
    void stopPolling();
    bool isPolling() const { return static_cast<bool>(pollTimer_); }

    /// The last known trust state.
    Published<bool> isTrusted;
    /// Runs once each time trust turns from missing to granted.
    std::function<void()> onTrustGranted;

private:
    void checkTrust();

    Logger log_;
    AccessibilityTrust& trust_;
    MainLoop& loop_;
    Token pollTimer_;
    WeakAnchor<AccessibilityMonitor> anchor_{this};
};

}  // namespace lumivoke
