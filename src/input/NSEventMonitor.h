#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "base/Logger.h"
#include "base/MainLoop.h"
#include "base/WeakAnchor.h"
#include "platform/Keyboard.h"

namespace lumivoke {

/// Turns the global stream of modifier-flag changes and key presses into clean Globe-key taps
/// and typing signals.
class NSEventMonitor {
public:
    static constexpr std::uint64_t comboMask =
        modifier::shift | modifier::control | modifier::option | modifier::command;
    static constexpr std::uint64_t typingExclusionMask =
        modifier::control | modifier::command | modifier::function;
    static constexpr std::uint64_t eventMask =
        eventMaskBit(KeyEventType::keyDown) | eventMaskBit(KeyEventType::flagsChanged);

    NSEventMonitor(GlobalEventMonitor& events, MainLoop& loop, LogSink& sink);
    ~NSEventMonitor();
    NSEventMonitor(const NSEventMonitor&) = delete;
    NSEventMonitor& operator=(const NSEventMonitor&) = delete;

    /// Installs the global monitor unless one is installed.
    void start();
    /// Removes the monitor if one is installed; a press in progress survives.
    void stop();

    /// Whether a key press with these characters counts as printable during an Fn hold.
    static bool isPrintable(const std::optional<std::string>& charactersIgnoringModifiers);

    /// A press counts as a tap only while its whole-millisecond duration is below this.
    std::int64_t tapThresholdMs = 400;
    std::function<void()> onTap;
    std::function<void()> onTyping;

    bool isRunning() const { return static_cast<bool>(monitor_); }

private:
    void handle(const KeyEvent& event);
    void handleFlagsChanged(const KeyEvent& event);
    void handleKeyDown(const KeyEvent& event);

    Logger log_;
    GlobalEventMonitor& events_;
    MainLoop& loop_;
    Token monitor_;
    // Timed on the monotonic clock, so a wall-clock jump during a hold cannot fake a tap.
    std::optional<MonoTime> fnDownAt_;
    bool dirty_ = false;
    // Made once: a post() per key event would allocate on every keystroke of the user.
    std::unique_ptr<LoopSignal> tapSignal_;
    std::unique_ptr<LoopSignal> typingSignal_;
    WeakAnchor<NSEventMonitor> anchor_{this};
};

}  // namespace lumivoke
