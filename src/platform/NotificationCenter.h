#pragma once

#include <functional>
#include <string>

#include "base/Token.h"

namespace lumivoke {

/// The in-process notification center.
class NotificationCenter {
public:
    virtual ~NotificationCenter() = default;
    /// Calls back on the main thread for each post of name, until the token ends.
    virtual Token addObserver(const std::string& name, std::function<void()> callback) = 0;
    /// Posts name with no object and no user info.
    virtual void post(const std::string& name) = 0;
};

}  // namespace lumivoke
