#pragma once

#include <array>
#include <optional>
#include <vector>

#include "RawKeyTranslator.h"
#include "TriggerKeyTable.h"
#include "X11Connection.h"
#include "base/Logger.h"
#include "base/ObserverList.h"
#include "base/WeakAnchor.h"
#include "platform/Keyboard.h"

namespace lumivoke::desktop {

/// The global key stream from XInput 2 raw events on the root window, which every client may
/// read whatever window has the focus, and the keyboard state and caps lock through XKB. The
/// modifier state is kept from XKB's state notifications, read once at the start and after a
/// new keyboard: no key and no switch waits for a state request.
///
/// The trigger is found in the keymap by its key symbols, in every group, so that it is the same
/// key whichever layout is current; it is found again whenever the keymap changes.
///
/// The HID steps of the caps-lock path have no X11 counterpart: matching and opening stand for
/// the core keyboard of the connection, and setting locks or unlocks the Lock modifier.
class X11Keyboard final : public KeyboardHardware, public GlobalEventMonitor {
public:
    X11Keyboard(X11Connection& x11, LogSink& sink);
    ~X11Keyboard() override;

    /// Whether raw key events can be read at all (XInput 2 is present).
    bool canMonitor() const { return xiOpcode_ >= 0; }
    /// Makes choice's key the trigger: its presses and releases are the Fn key's.
    void setTrigger(const TriggerChoice& choice);
    /// The keys of the keymap that are the trigger now.
    const KeycodeSet& triggerKeys() const { return triggerKeys_; }

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
    bool capsLockIsOn() const;
    /// Asks the server for the modifier state.
    void readState();
    /// Reads the symbols of every key from the server, and finds the trigger among them.
    void readKeymap();
    void findTrigger();

    X11Connection& x11_;
    Logger log_;
    int xiOpcode_ = -1;
    int xkbEventBase_ = -1;
    const TriggerChoice* trigger_ = nullptr;
    // The effective and the locked modifiers, as last reported.
    unsigned mods_ = 0;
    unsigned lockedMods_ = 0;
    std::vector<KeySymbols> keymap_;
    // The first layout's unshifted symbol of each keycode: what a key is, not what it types now.
    std::array<std::uint32_t, 256> firstKeysyms_{};
    // The trigger's keys as last logged, so that an unchanged keymap is not logged again.
    std::optional<KeycodeSet> loggedTrigger_;
    KeycodeSet triggerKeys_;
    RawKeyTranslator keys_;
    ObserverList<const KeyEvent&> monitors_;
    Token eventToken_;
    Token keymapToken_;
    WeakAnchor<X11Keyboard> anchor_{this};
};

}  // namespace lumivoke::desktop
