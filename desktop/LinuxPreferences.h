#pragma once

#include <functional>

#include "platform/Preferences.h"

namespace lumivoke::desktop {

/// Linux has no system action for the Globe key. What the system asks of it, whether the key
/// is left alone ("AppleFnUsageType" of "com.apple.HIToolbox" being 0, "Do Nothing"), is here
/// whether the trigger key is free: nothing else on the desktop takes it (1 otherwise). Every
/// other key of another domain is absent.
class LinuxPreferences final : public SystemPreferences {
public:
    /// isTriggerKeyFree probes the desktop at each read.
    explicit LinuxPreferences(std::function<bool()> isTriggerKeyFree)
        : isTriggerKeyFree_(std::move(isTriggerKeyFree)) {}

    std::optional<DefaultsValue> copyAppValue(const std::string& key,
                                              const std::string& applicationID) override;

private:
    std::function<bool()> isTriggerKeyFree_;
};

}  // namespace lumivoke::desktop
