#pragma once

#include <cstdint>
#include <string>

namespace lumivoke::sim {

/// Parses "shift,fn,capslock" (or "none") into modifier flags.
std::uint64_t parseModifiers(const std::string& list);
/// Names the modifiers in flags, "none" for none.
std::string modifierNames(std::uint64_t flags);

}  // namespace lumivoke::sim
