#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What an X11 keysym means to the core: the modifier it holds down, the characters it types.
// Keysyms are spelled out as numbers, so these need no display and no X11 headers.
namespace lumivoke::desktop {

/// The modifier bit (Keyboard.h) a modifier keysym holds down; none for other keys. Fn is not
/// among them: X11 has no Fn modifier, and the key the user chose as the trigger stands for it
/// (TriggerKeyTable.h).
std::optional<std::uint64_t> modifierBitForKeysym(std::uint32_t keysym);

/// The characters a key with this (unmodified) keysym produces, in UTF-8: the text of printable
/// keys, control characters for Return/Tab/Escape/BackSpace, and the private-use function-key
/// characters (U+F700…) for arrows, F-keys and the navigation block. None for keys that produce
/// nothing (modifiers, media keys, NoSymbol).
std::optional<std::string> charactersForKeysym(std::uint32_t keysym);

}  // namespace lumivoke::desktop
