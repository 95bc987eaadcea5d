#pragma once

#include <string>
#include <vector>

// The layouts of an XKB keymap as the input sources the core lists: their names, identifiers
// and languages. Read from the root window's _XKB_RULES_NAMES text; no display needed.
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
/// The language of a layout code ("de" → "de", "ua" → "uk"); the code itself when unknown.
std::string languageForLayout(const std::string& layout);
/// A name for people: "German", "German (nodeadkeys)"; the code when unknown.
std::string layoutDisplayName(const XkbLayout& layout);

}  // namespace lumivoke::desktop
