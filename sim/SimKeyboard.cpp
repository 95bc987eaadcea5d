#include "SimKeyboard.h"

#include <memory>

namespace lumivoke::sim {

std::uint64_t SimKeyboard::eventFlags() const {
    return held_ | (capsLock_ ? modifier::capsLock : 0);
}

void SimKeyboard::deliver(const KeyEvent& event) {
    if (!trusted_) {
        return;
    }
    monitors_.notify(event);
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

Token SimKeyboard::addGlobalMonitor(std::uint64_t mask,
                                    std::function<void(const KeyEvent&)> handler) {
    if (noMonitorToken_) {
        trace_.add("events", "monitor refused");
        return Token();
    }
    auto monitor = std::make_shared<Token>(monitors_.add(
        [mask, registeredTrusted = trusted_, handler = std::move(handler)](const KeyEvent& event) {
            // A monitor registered without trust never hears a key, even after the grant.
            if (registeredTrusted && (mask & eventMaskBit(event.type)) != 0) {
                handler(event);
            }
        }));
    trace_.add("events", "monitor added");
    return Token([monitor, keyboard = anchor_.weak()] {
        monitor->cancel();
        if (SimKeyboard* self = keyboard.lock()) {
            self->trace_.add("events", "monitor removed");
        }
    });
}

}  // namespace lumivoke::sim
