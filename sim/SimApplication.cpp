#include "SimApplication.h"

namespace lumivoke::sim {

void SimApplication::setActivationPolicy(ActivationPolicy policy) {
    policy_ = policy;
    trace_.add("app", policy == ActivationPolicy::regular ? "policy regular" : "policy accessory");
    // A menu-bar-only application does not keep the front once its window is going.
    if (policy == ActivationPolicy::accessory) {
        workspace_.resignSelf();
    }
}

void SimApplication::activate() {
    trace_.add("app", "activate");
    workspace_.activateSelf();
}

void SimApplication::terminate() {
    trace_.add("app", "terminate");
    if (onTerminate) {
        onTerminate();
    }
}

bool SimApplication::reopen(bool hasVisibleWindows) {
    return delegate_ != nullptr && delegate_->applicationShouldHandleReopen(hasVisibleWindows);
}

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

bool SimLinks::openURL(const std::string& url) {
    trace_.add("workspace", "open-url " + url);
    return true;
}

SimStatusItem::SimStatusItem(SimStatusBar& bar, std::string icon, MenuBarContent& menu)
    : bar_(bar), icon_(std::move(icon)), menu_(menu) {
    bar_.item_ = this;
    bar_.trace_.add("statusitem", "inserted icon=" + icon_);
}

SimStatusItem::~SimStatusItem() {
    if (bar_.item_ == this) {
        bar_.item_ = nullptr;
    }
    bar_.trace_.add("statusitem", "removed");
}

void SimStatusItem::setIcon(const std::string& iconName) {
    icon_ = iconName;
    bar_.trace_.add("statusitem", "icon=" + icon_);
}

std::unique_ptr<StatusItem> SimStatusBar::insertItem(const std::string& iconName,
                                                     MenuBarContent& menu) {
    return std::make_unique<SimStatusItem>(*this, iconName, menu);
}

}  // namespace lumivoke::sim
