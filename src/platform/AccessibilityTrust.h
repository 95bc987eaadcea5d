#pragma once

namespace lumivoke {

/// The system's Accessibility permission for this process.
class AccessibilityTrust {
public:
    virtual ~AccessibilityTrust() = default;
    /// Whether the process is trusted to observe other applications' events; never prompts.
    virtual bool isProcessTrusted() = 0;
};

}  // namespace lumivoke
