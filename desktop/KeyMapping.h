#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Geometry.h"

// The pure conversions of the desktop port: between X11/Qt and the core's vocabulary. None of
// them needs a display, so they are tested on their own.
namespace lumivoke::desktop {

/// A rectangle in X11/Qt global coordinates: origin at the top left, y downwards.
struct TopLeftRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

/// The core's rectangle (origin bottom left of the primary display, y up) of r, given the
/// primary display's rectangle in the same top-left coordinates.
Rect toCoreRect(const TopLeftRect& r, const TopLeftRect& primary);
/// The core's point of a top-left point.
Point toCorePoint(double x, double y, const TopLeftRect& primary);
/// The top-left rectangle of a core rectangle; the inverse of toCoreRect.
TopLeftRect fromCoreRect(const Rect& r, const TopLeftRect& primary);

/// The modifier bit (Keyboard.h) a modifier keysym holds down; none for other keys. The Fn key
/// arrives as XF86Fn on the laptops that report it and as XF86WakeUp on many others.
std::optional<std::uint64_t> modifierBitForKeysym(std::uint32_t keysym);

/// The characters a key with this (unmodified) keysym produces, in UTF-8: the text of printable
/// keys, control characters for Return/Tab/Escape/BackSpace, and the private-use function-key
/// characters (U+F700…) for arrows, F-keys and the navigation block. None for keys that produce
/// nothing (modifiers, media keys, NoSymbol).
std::optional<std::string> charactersForKeysym(std::uint32_t keysym);

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
