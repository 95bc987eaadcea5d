#include "app/AccessibilityMonitor.h"

namespace lumivoke {

AccessibilityMonitor::AccessibilityMonitor(AccessibilityTrust& trust, MainLoop& loop, LogSink& sink)
    : isTrusted(trust.isProcessTrusted()),
      log_(sink, "AccessibilityMonitor"),
      trust_(trust),
      loop_(loop) {
    log_.info("initial trust state: %{bool,public}d", isTrusted.value());
}

AccessibilityMonitor::~AccessibilityMonitor() {
    stopPolling();
}

void AccessibilityMonitor::startPolling() {
    if (pollTimer_) {
        return;
    }
    pollTimer_ = loop_.repeat(
        pollInterval,
        bindWeak(anchor_.weak(), [](AccessibilityMonitor& self) { self.checkTrust(); }));
}

void AccessibilityMonitor::stopPolling() {
    pollTimer_.cancel();
}

void AccessibilityMonitor::checkTrust() {
    const bool now = trust_.isProcessTrusted();
    if (now == isTrusted.value()) {
        return;
    }
    log_.info("trust changed: %{bool,public}d", now);
    const bool previous = isTrusted.value();
    isTrusted.set(now);
    if (previous) {
        // Revoked: watch for the grant that will surely follow.
        startPolling();
        return;
    }
    stopPolling();
    if (onTrustGranted) {
        onTrustGranted();
    }
}

}  // namespace lumivoke
