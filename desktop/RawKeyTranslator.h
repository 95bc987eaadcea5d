#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>

#include "Keysyms.h"
#include "TriggerKeyTable.h"
#include "platform/Keyboard.h"

namespace lumivoke::desktop {

/// Turns raw key presses and releases, which XInput 2 reports by keycode and without any
/// modifier state, into the core's key events. A modifier key makes a flags-changed event with
/// the modifiers held now: a bit stays set while any of its keys is down (both shift keys may
/// be), and auto-repeat of a held modifier changes nothing and makes no event. The trigger's
/// keys are the Fn modifier and only that, whatever their keysym. Any other key makes a key-down
/// event with its keysym's characters when pressed, and nothing when released; while a trigger
/// that is a modifier (Right Ctrl, …) is held, a key is a shortcut and has no characters.
/// Needs no display, and allocates nothing per key.
class RawKeyTranslator {
public:
    /// The event of one press or release of keycode, whose unshifted keysym is keysym, or none.
    /// For modifier keys only, capsLockIsOn() is asked whether caps lock is locked now.
    template <class CapsLockQuery>
    std::optional<KeyEvent> translate(int keycode, std::uint32_t keysym, bool press,
                                      CapsLockQuery&& capsLockIsOn) {
        if (const auto bit = modifierBit(keycode, keysym)) {
            if (!track(keycode, *bit, press)) {
                return std::nullopt;
            }
            return flagsChange(keycode, capsLockIsOn());
        }
        if (!press) {
            return std::nullopt;
        }
        const bool shortcut = triggerIsModifier_ && (heldFlags() & modifier::function) != 0;
        return KeyEvent{KeyEventType::keyDown, lastFlags_, static_cast<std::uint16_t>(keycode),
                        shortcut ? std::nullopt : charactersForKeysym(keysym)};
    }

    /// The keys that are the trigger from now on, and whether it is a modifier key. A new
    /// trigger forgets what was held, since a held key may have changed its meaning; the same
    /// trigger again (the keymap was read again) changes nothing.
    void setTrigger(const KeycodeSet& keycodes, bool isModifier);

    /// The modifiers whose keys are down, caps lock aside: it is a lock, not a held key.
    std::uint64_t heldFlags() const;
    /// Forgets every key held, as when the stream stops being read.
    void reset();

private:
    std::optional<std::uint64_t> modifierBit(int keycode, std::uint32_t keysym) const;
    /// Notes a modifier key going down or up; false for a keycode no keyboard can send.
    bool track(int keycode, std::uint64_t bit, bool press);
    std::optional<KeyEvent> flagsChange(int keycode, bool capsLockOn);

    // X11 keycodes are 8…255.
    static constexpr std::size_t kKeycodes = 256;
    std::bitset<kKeycodes> downModifierKeys_;
    // How many keys of each modifier bit are down, by bit number.
    std::array<std::uint8_t, 64> heldKeysPerBit_{};
    std::uint64_t lastFlags_ = 0;
    KeycodeSet trigger_;
    bool triggerIsModifier_ = false;
};

}  // namespace lumivoke::desktop
