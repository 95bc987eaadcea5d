#pragma once

#include "platform/Preferences.h"

namespace lumivoke::desktop {

/// Linux has no system action for the Globe key that could take it over, which is what
/// "Do Nothing" (0) means; every other key of another domain is absent.
class LinuxPreferences final : public SystemPreferences {
public:
    std::optional<DefaultsValue> copyAppValue(const std::string& key,
                                              const std::string& applicationID) override;
};

}  // namespace lumivoke::desktop
