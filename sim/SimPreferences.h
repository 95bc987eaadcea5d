#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/Preferences.h"

namespace lumivoke::sim {

/// Other applications' preference domains; the machine starts with the system Globe-key
/// action set to "Do Nothing" (integer 0), so plain scenarios launch without the Setup tab.
class SimPreferences final : public SystemPreferences {
public:
    SimPreferences() { set("com.apple.HIToolbox", "AppleFnUsageType", std::int64_t{0}); }

    /// Stores a value (none removes the key).
    void set(const std::string& domain, const std::string& key,
             std::optional<DefaultsValue> value) {
        if (value) {
            values_[{domain, key}] = std::move(*value);
        } else {
            values_.erase({domain, key});
        }
    }

    std::optional<DefaultsValue> copyAppValue(const std::string& key,
                                              const std::string& applicationID) override {
        auto it = values_.find({applicationID, key});
        return it == values_.end() ? std::nullopt : std::optional<DefaultsValue>(it->second);
    }

private:
    std::map<std::pair<std::string, std::string>, DefaultsValue> values_;
};

}  // namespace lumivoke::sim
