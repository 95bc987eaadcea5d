#include "SimNotificationCenter.h"

#include <utility>

namespace lumivoke::sim {

Token SimNotificationCenter::addObserver(const std::string& name, std::function<void()> callback) {
    return observers_[name].add(std::move(callback));
}

void SimNotificationCenter::post(const std::string& name) {
    if (auto it = observers_.find(name); it != observers_.end()) {
        it->second.notify();
    }
}

std::size_t SimNotificationCenter::observerCount(const std::string& name) const {
    auto it = observers_.find(name);
    return it == observers_.end() ? 0 : it->second.size();
}

}  // namespace lumivoke::sim
