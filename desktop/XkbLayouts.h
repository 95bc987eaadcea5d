#pragma once

#include <string>
#include <vector>

// The layouts of an XKB keymap as the root window's _XKB_RULES_NAMES text names them, and the
// identifiers the core knows them by; no display needed. Their names and languages come from the
// XKB registry (XkbLayoutCatalog).
namespace lumivoke::desktop {

/// One XKB layout of the keymap: its code and variant ("de", "nodeadkeys").
struct XkbLayout {
    std::string layout;
    std::string variant;
    friend bool operator==(const XkbLayout&, const XkbLayout&) = default;
};

/// The layouts named by the root window's _XKB_RULES_NAMES property: five NUL-terminated texts
/// (rules, model, layouts, variants, options); layouts and variants are comma separated and
/// paired by position.
std::vector<XkbLayout> parseRulesNames(const std::string& property);

/// The input source identifier of a layout: "xkb:us", "xkb:de(nodeadkeys)".
std::string layoutSourceID(const XkbLayout& layout);
/// The ruleset the layouts are named in (the property's first text, "evdev" when empty): the
/// XKB registry to read their names from.
std::string rulesetOf(const std::string& property);

}  // namespace lumivoke::desktop
