#pragma once

#include "RawKeyTranslator.h"
#include "X11Connection.h"
#include "base/ObserverList.h"
#include "base/WeakAnchor.h"
#include "platform/Keyboard.h"

namespace lumivoke::desktop {

/// The global key stream from XInput 2 raw events on the root window, which every client may
/// read whatever window has the focus, and the keyboard state and caps lock through XKB.
///
/// The HID steps of the caps-lock path have no X11 counterpart: matching and opening stand for
/// the core keyboard of the connection, and setting locks or unlocks the Lock modifier.
class X11Keyboard final : public KeyboardHardware, public GlobalEventMonitor {
public:
    explicit X11Keyboard(X11Connection& x11);
    ~X11Keyboard() override;

    /// Whether raw key events can be read at all (XInput 2 is present).
    bool canMonitor() const { return xiOpcode_ >= 0; }

    // KeyboardHardware
    std::uint64_t currentModifierFlags() override;
    bool makeHIDSystemMatching() override;
    std::optional<std::uint32_t> matchingHIDService() override;
    std::optional<std::uint32_t> openHIDConnection(std::uint32_t service) override;
    void setCapsLockState(std::uint32_t connection, bool on) override;
    void closeHIDConnection(std::uint32_t connection) override;
    void releaseHIDService(std::uint32_t service) override;

    // GlobalEventMonitor
    Token addGlobalMonitor(std::uint64_t mask,
                           std::function<void(const KeyEvent&)> handler) override;

private:
    void handleRawKey(int keycode, bool press);
    /// Asks the server for raw key events of every keyboard, or stops asking.
    void selectRawKeys(bool on);
    void monitorRemoved();
    bool capsLockIsOn();

    X11Connection& x11_;
    int xiOpcode_ = -1;
    RawKeyTranslator keys_;
    ObserverList<const KeyEvent&> monitors_;
    Token eventToken_;
    WeakAnchor<X11Keyboard> anchor_{this};
};

}  // namespace lumivoke::desktop
