#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// Keymap options that already give a trigger key a job of its own: switching layouts, choosing
// a level, composing, or turning it into another key. With one of them in force a tap of that
// key does two things at once, or never reaches the program as the trigger. Needs no display.
namespace lumivoke::desktop {

/// The XKB options (as setxkbmap names them) that take the key of the trigger choice with this
/// identifier ("right-ctrl"), in the order of the keyboard database; none for a key that no
/// option uses (Fn) or an unknown identifier. Options that use the key only together with
/// another one (Right Ctrl+Right Shift) leave a tap of it alone, and are not among them.
std::span<const std::string_view> xkbOptionsTaking(std::string_view triggerIdentifier);

/// The options named in the root window's _XKB_RULES_NAMES property: its fifth NUL-terminated
/// text, comma separated, empty ones left out.
std::vector<std::string> rulesNamesOptions(const std::string& property);

/// The options of active that take the trigger's key, in the order of active.
std::vector<std::string> conflictingOptions(std::string_view triggerIdentifier,
                                            const std::vector<std::string>& active);

}  // namespace lumivoke::desktop
