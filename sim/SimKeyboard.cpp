#include "SimKeyboard.h"

#include <vector>

namespace lumivoke::sim {

std::uint64_t SimKeyboard::eventFlags() const {
    return held_ | (capsLock_ ? modifier::capsLock : 0);
}

void SimKeyboard::deliver(const KeyEvent& event) {
    if (!trusted_) {
        return;
    }
    std::vector<MonitorToken> tokens;
    for (const auto& entry : monitors_) {
        tokens.push_back(entry.first);
    }
    for (auto token : tokens) {
        auto it = monitors_.find(token);
        if (it != monitors_.end() && it->second.registeredTrusted &&
            (it->second.mask & eventMaskBit(event.type)) != 0) {
            auto handler = it->second.handler;
            handler(event);
        }
    }
}

std::optional<std::uint32_t> SimKeyboard::matchingHIDService() {
    if (hidFailure_ == HIDFailure::service) {
        return std::nullopt;
    }
    ++openObjects_;
    return 7;
}

std::optional<std::uint32_t> SimKeyboard::openHIDConnection(std::uint32_t) {
    if (hidFailure_ == HIDFailure::open) {
        return std::nullopt;
    }
    ++openObjects_;
    return 11;
}

void SimKeyboard::setCapsLockState(std::uint32_t, bool on) {
    capsLock_ = on;
    trace_.add("system", on ? "capslock on" : "capslock off");
}

void SimKeyboard::closeHIDConnection(std::uint32_t) {
    --openObjects_;
}

void SimKeyboard::releaseHIDService(std::uint32_t) {
    --openObjects_;
}

std::optional<MonitorToken> SimKeyboard::addGlobalMonitor(
    std::uint64_t mask, std::function<void(const KeyEvent&)> handler) {
    if (noMonitorToken_) {
        trace_.add("events", "monitor refused");
        return std::nullopt;
    }
    const MonitorToken token = nextToken_++;
    monitors_[token] = Monitor{mask, std::move(handler), trusted_};
    trace_.add("events", "monitor added");
    return token;
}

void SimKeyboard::removeMonitor(MonitorToken token) {
    if (monitors_.erase(token) > 0) {
        trace_.add("events", "monitor removed");
    }
}

}  // namespace lumivoke::sim
