#include "LinuxPreferences.h"

namespace lumivoke::desktop {

std::optional<DefaultsValue> LinuxPreferences::copyAppValue(const std::string& key,
                                                            const std::string& applicationID) {
    if (key == "AppleFnUsageType" && applicationID == "com.apple.HIToolbox") {
        return DefaultsValue(std::int64_t{isTriggerKeyFree_() ? 0 : 1});
    }
    return std::nullopt;
}

}  // namespace lumivoke::desktop
