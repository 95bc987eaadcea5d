#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>

#include "base/ObserverList.h"
#include "platform/NotificationCenter.h"

namespace lumivoke::sim {

/// The in-process notification center: observers are called at once, on the main thread.
class SimNotificationCenter final : public NotificationCenter {
public:
    Token addObserver(const std::string& name, std::function<void()> callback) override;
    void post(const std::string& name) override;
    std::size_t observerCount(const std::string& name) const;

private:
    std::map<std::string, ObserverList<>> observers_;
};

}  // namespace lumivoke::sim
