#include "TriggerKeyTable.h"

#include <algorithm>
#include <array>

namespace lumivoke::desktop {
namespace {

// Keysym values from X11/keysymdef.h and XF86keysym.h.
constexpr std::array<std::uint32_t, 1> kControlR{0xffe4};
constexpr std::array<std::uint32_t, 2> kRightAlt{0xffea /* Alt_R */, 0xfe03 /* ISO_Level3_Shift */};
constexpr std::array<std::uint32_t, 1> kSuperL{0xffeb};
constexpr std::array<std::uint32_t, 1> kSuperR{0xffec};
constexpr std::array<std::uint32_t, 1> kMenu{0xff67};
constexpr std::array<std::uint32_t, 1> kScrollLock{0xff14};
constexpr std::array<std::uint32_t, 1> kPause{0xff13};
// X11 reports the Fn key only on some laptops, as XF86Fn; many send XF86WakeUp instead.
constexpr std::array<std::uint32_t, 2> kFn{0x100811d0 /* XF86Fn */, 0x1008ff2b /* XF86WakeUp */};

const TriggerChoice kChoices[] = {
    {"right-ctrl", "Right Ctrl", kControlR, true},
    {"right-alt", "Right Alt", kRightAlt, true},
    {"left-super", "Left Super", kSuperL, true},
    {"right-super", "Right Super", kSuperR, true},
    {"menu", "Menu", kMenu, false},
    {"scroll-lock", "Scroll Lock", kScrollLock, false},
    {"pause", "Pause", kPause, false},
    {"fn", "Fn (XF86Fn / XF86WakeUp)", kFn, false},
};

}  // namespace

std::span<const TriggerChoice> triggerChoices() {
    return kChoices;
}

const TriggerChoice& defaultTriggerChoice() {
    return kChoices[0];
}

const TriggerChoice* findTriggerChoice(std::string_view identifier) {
    for (const auto& choice : kChoices) {
        if (choice.identifier == identifier) {
            return &choice;
        }
    }
    return nullptr;
}

std::string triggerIdentifiers() {
    std::string list;
    for (const auto& choice : kChoices) {
        if (!list.empty()) {
            list += ", ";
        }
        list += choice.identifier;
    }
    return list;
}

KeycodeSet triggerKeycodes(const TriggerChoice& choice, std::span<const KeySymbols> keymap) {
    KeycodeSet keycodes;
    for (const auto& key : keymap) {
        if (key.keycode < 0 || static_cast<std::size_t>(key.keycode) >= keycodes.size()) {
            continue;
        }
        const bool carries = std::any_of(key.groups.begin(), key.groups.end(), [&](auto keysym) {
            return std::find(choice.keysyms.begin(), choice.keysyms.end(), keysym) !=
                   choice.keysyms.end();
        });
        if (carries) {
            keycodes.set(static_cast<std::size_t>(key.keycode));
        }
    }
    return keycodes;
}

}  // namespace lumivoke::desktop
