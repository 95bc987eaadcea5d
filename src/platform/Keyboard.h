#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/Token.h"

namespace lumivoke {

/// Modifier-flag bits of key events and of the current keyboard state.
namespace modifier {
inline constexpr std::uint64_t capsLock = 1ull << 16;
inline constexpr std::uint64_t shift = 1ull << 17;
inline constexpr std::uint64_t control = 1ull << 18;
inline constexpr std::uint64_t option = 1ull << 19;
inline constexpr std::uint64_t command = 1ull << 20;
inline constexpr std::uint64_t function = 1ull << 23;
}  // namespace modifier

/// Event type numbers and the mask bits built from them.
enum class KeyEventType : std::uint8_t { keyDown = 10, flagsChanged = 12 };
constexpr std::uint64_t eventMaskBit(KeyEventType t) {
    return 1ull << static_cast<unsigned>(t);
}

/// One global key event as the application sees it.
struct KeyEvent {
    KeyEventType type = KeyEventType::flagsChanged;
    std::uint64_t modifierFlags = 0;
    std::uint16_t keyCode = 0;
    /// The characters the key produces without modifiers (UTF-8), or none.
    std::optional<std::string> charactersIgnoringModifiers;
};

/// The stream of key events sent to other applications.
class GlobalEventMonitor {
public:
    virtual ~GlobalEventMonitor() = default;
    /// Calls handler for each event of the types in mask until the token ends; an empty token
    /// when the system gave none (events may still never arrive, for example without
    /// Accessibility trust).
    virtual Token addGlobalMonitor(std::uint64_t mask,
                                   std::function<void(const KeyEvent&)> handler) = 0;
};

/// The keyboard's current state and the HID path that sets caps lock, step by step, since each
/// step can fail on its own.
class KeyboardHardware {
public:
    virtual ~KeyboardHardware() = default;
    /// The modifier flags held right now; the caps-lock bit is set while caps lock is on.
    virtual std::uint64_t currentModifierFlags() = 0;
    /// Builds the matching description of the HID system service; false when none is made.
    virtual bool makeHIDSystemMatching() = 0;
    /// Looks up the HID system service; none when there is no such service.
    virtual std::optional<std::uint32_t> matchingHIDService() = 0;
    /// Opens a parameter connection to the service; none when opening fails.
    virtual std::optional<std::uint32_t> openHIDConnection(std::uint32_t service) = 0;
    /// Sets the caps-lock state (and its light) through an open connection.
    virtual void setCapsLockState(std::uint32_t connection, bool on) = 0;
    /// Closes a connection made by openHIDConnection.
    virtual void closeHIDConnection(std::uint32_t connection) = 0;
    /// Releases a service returned by matchingHIDService.
    virtual void releaseHIDService(std::uint32_t service) = 0;
};

}  // namespace lumivoke
