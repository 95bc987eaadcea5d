#include "RawKeyTranslator.h"

#include <bit>

namespace lumivoke::desktop {

std::uint64_t RawKeyTranslator::heldFlags() const {
    std::uint64_t flags = 0;
    for (std::size_t bit = 0; bit < heldKeysPerBit_.size(); ++bit) {
        if (heldKeysPerBit_[bit] > 0) {
            flags |= std::uint64_t{1} << bit;
        }
    }
    return flags & ~modifier::capsLock;
}

void RawKeyTranslator::setTrigger(const KeycodeSet& keycodes, bool isModifier) {
    if (keycodes == trigger_ && isModifier == triggerIsModifier_) {
        return;
    }
    trigger_ = keycodes;
    triggerIsModifier_ = isModifier;
    reset();
}

std::optional<std::uint64_t> RawKeyTranslator::modifierBit(int keycode,
                                                           std::uint32_t keysym) const {
    if (keycode >= 0 && static_cast<std::size_t>(keycode) < trigger_.size() &&
        trigger_.test(static_cast<std::size_t>(keycode))) {
        return modifier::function;
    }
    return modifierBitForKeysym(keysym);
}

void RawKeyTranslator::reset() {
    downModifierKeys_.reset();
    heldKeysPerBit_.fill(0);
    lastFlags_ = 0;
}

bool RawKeyTranslator::track(int keycode, std::uint64_t bit, bool press) {
    if (keycode < 0 || static_cast<std::size_t>(keycode) >= kKeycodes) {
        return false;
    }
    const auto key = static_cast<std::size_t>(keycode);
    auto& held = heldKeysPerBit_[static_cast<std::size_t>(std::countr_zero(bit))];
    if (press && !downModifierKeys_.test(key)) {
        downModifierKeys_.set(key);
        ++held;
    } else if (!press && downModifierKeys_.test(key)) {
        downModifierKeys_.reset(key);
        --held;
    }
    return true;
}

std::optional<KeyEvent> RawKeyTranslator::flagsChange(int keycode, bool capsLockOn) {
    const std::uint64_t flags = heldFlags() | (capsLockOn ? modifier::capsLock : 0);
    // Auto-repeat of a held modifier changes nothing and is not an event.
    if (flags == lastFlags_) {
        return std::nullopt;
    }
    lastFlags_ = flags;
    return KeyEvent{KeyEventType::flagsChanged, flags, static_cast<std::uint16_t>(keycode),
                    std::nullopt};
}

}  // namespace lumivoke::desktop
