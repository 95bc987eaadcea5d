#include "InProcessNotificationCenter.h"

namespace lumivoke::desktop {

Token InProcessNotificationCenter::addObserver(const std::string& name,
                                               std::function<void()> callback) {
    return observers_[name].add(std::move(callback));
}

void InProcessNotificationCenter::post(const std::string& name) {
    if (auto it = observers_.find(name); it != observers_.end()) {
        it->second.notify();
    }
}

}  // namespace lumivoke::desktop
