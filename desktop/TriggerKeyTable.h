#pragma once

#include <bitset>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The keys a person may tap as the trigger, and where they sit in a keymap. Keysyms are spelled
// out as numbers, so this needs no display and no X11 headers.
namespace lumivoke::desktop {

/// One key that can be the trigger.
struct TriggerChoice {
    /// Stored under "TriggerKey" and named by `--trigger`: "right-ctrl".
    std::string_view identifier;
    /// For people: "Right Ctrl".
    std::string_view label;
    /// The symbols the key carries as its first level, in one layout or another: Right Alt is
    /// Alt_R in "us" but ISO_Level3_Shift (AltGr) in "de".
    std::span<const std::uint32_t> keysyms;
    /// A modifier (Ctrl, Alt, Super): a key pressed while it is held is a shortcut, not typing.
    bool isModifier;
};

/// Every choice, in the order to offer them; the first is the default.
std::span<const TriggerChoice> triggerChoices();
const TriggerChoice& defaultTriggerChoice();
/// The choice with this identifier, or null.
const TriggerChoice* findTriggerChoice(std::string_view identifier);
/// The identifiers, comma separated, for messages: "right-ctrl, right-alt, …".
std::string triggerIdentifiers();

/// A set of X11 keycodes (8…255).
using KeycodeSet = std::bitset<256>;

/// The first-level symbol of one key in each group of a keymap (0 where a group has none).
struct KeySymbols {
    int keycode = 0;
    std::vector<std::uint32_t> groups;
};

/// The keys of a keymap that are the trigger: every key that carries one of the choice's
/// symbols in some group. A key is the same key in every group, so the trigger matches
/// whichever layout is current.
KeycodeSet triggerKeycodes(const TriggerChoice& choice, std::span<const KeySymbols> keymap);

}  // namespace lumivoke::desktop
