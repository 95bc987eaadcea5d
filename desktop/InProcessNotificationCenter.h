#pragma once

#include <map>
#include <string>

#include "base/ObserverList.h"
#include "platform/NotificationCenter.h"

namespace lumivoke::desktop {

/// The in-process notification center; posts are delivered at once, in registration order.
class InProcessNotificationCenter final : public NotificationCenter {
public:
    Token addObserver(const std::string& name, std::function<void()> callback) override;
    void post(const std::string& name) override;

private:
    std::map<std::string, ObserverList<>> observers_;
};

}  // namespace lumivoke::desktop
