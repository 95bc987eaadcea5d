#pragma once

#include <cstdint>
#include <optional>

#include "Trace.h"
#include "base/ObserverList.h"
#include "base/WeakAnchor.h"
#include "platform/Keyboard.h"

namespace lumivoke::sim {

/// The simulated keyboard: the modifiers held, caps lock, the HID path with a switch for each
/// of its failure points, and the global event stream, which reaches monitors only while the
/// process is trusted. As on the real system, a monitor registered while the process was not
/// trusted stays deaf for its whole life, even once trust is granted: only a new registration
/// hears the keys.
class SimKeyboard final : public KeyboardHardware, public GlobalEventMonitor {
public:
    enum class HIDFailure { none, matching, service, open };

    explicit SimKeyboard(Trace& trace) : trace_(trace) {}

    // The scenario's controls.
    void setHeld(std::uint64_t modifiers) { held_ = modifiers; }
    std::uint64_t held() const { return held_; }
    void setCapsLock(bool on) { capsLock_ = on; }
    bool capsLock() const { return capsLock_; }
    void setTrusted(bool trusted) { trusted_ = trusted; }
    bool trusted() const { return trusted_; }
    void setHIDFailure(HIDFailure f) { hidFailure_ = f; }
    /// Whether the next monitor registration gets no token (and so registers nothing).
    void setNoMonitorToken(bool none) { noMonitorToken_ = none; }
    /// The flags an event carries now: the held modifiers plus caps lock.
    std::uint64_t eventFlags() const;
    /// Sends an event to every monitor registered for its type, if trusted.
    void deliver(const KeyEvent& event);
    std::size_t monitorCount() const { return monitors_.size(); }
    /// HID services and connections opened and not yet released.
    int openHIDObjects() const { return openObjects_; }

    std::uint64_t currentModifierFlags() override { return eventFlags(); }
    bool makeHIDSystemMatching() override { return hidFailure_ != HIDFailure::matching; }
    std::optional<std::uint32_t> matchingHIDService() override;
    std::optional<std::uint32_t> openHIDConnection(std::uint32_t service) override;
    void setCapsLockState(std::uint32_t connection, bool on) override;
    void closeHIDConnection(std::uint32_t connection) override;
    void releaseHIDService(std::uint32_t service) override;

    Token addGlobalMonitor(std::uint64_t mask,
                           std::function<void(const KeyEvent&)> handler) override;

private:
    Trace& trace_;
    std::uint64_t held_ = 0;
    bool capsLock_ = false;
    bool trusted_ = true;
    bool noMonitorToken_ = false;
    HIDFailure hidFailure_ = HIDFailure::none;
    int openObjects_ = 0;
    ObserverList<const KeyEvent&> monitors_;
    WeakAnchor<SimKeyboard> anchor_{this};
};

}  // namespace lumivoke::sim
