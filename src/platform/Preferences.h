#pragma once

#include <optional>
#include <string>

#include "platform/UserDefaults.h"

namespace lumivoke {

/// Preferences of other applications' domains, as the current user sees them; read only.
class SystemPreferences {
public:
    virtual ~SystemPreferences() = default;
    /// The value of key in the domain of applicationID, or none.
    virtual std::optional<DefaultsValue> copyAppValue(const std::string& key,
                                                      const std::string& applicationID) = 0;
};

}  // namespace lumivoke
