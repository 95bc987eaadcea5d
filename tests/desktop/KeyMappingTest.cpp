#include "KeyMapping.h"

#include <gtest/gtest.h>

#include "platform/Keyboard.h"

namespace lumivoke::desktop {
namespace {

// A primary display of 1280×800 at the origin and a second one to its right, lower by 100.
const TopLeftRect kPrimary{0, 0, 1280, 800};

TEST(CoordinateFlip, RectsCountFromTheBottomOfThePrimaryDisplay) {
    EXPECT_EQ(toCoreRect({0, 0, 1280, 800}, kPrimary), (Rect{{0, 0}, {1280, 800}}));
    // A 240×200 panel at the top left of the primary display.
    EXPECT_EQ(toCoreRect({0, 0, 240, 200}, kPrimary), (Rect{{0, 600}, {240, 200}}));
    // A display to the right reaching below the primary one has a negative y.
    EXPECT_EQ(toCoreRect({1280, 100, 1920, 1080}, kPrimary), (Rect{{1280, -380}, {1920, 1080}}));
    // A primary display that is not at the top left of the virtual desktop.
    const TopLeftRect shifted{1920, 200, 1280, 800};
    EXPECT_EQ(toCoreRect({1920, 200, 1280, 800}, shifted), (Rect{{0, 0}, {1280, 800}}));
}

TEST(CoordinateFlip, RectsAndPointsRoundTrip) {
    const Rect core{{100.5, 37}, {240, 200}};
    const auto back = fromCoreRect(core, kPrimary);
    EXPECT_DOUBLE_EQ(back.x, 100.5);
    EXPECT_DOUBLE_EQ(back.y, 800 - 37 - 200);
    EXPECT_EQ(toCoreRect(back, kPrimary), core);
    EXPECT_EQ(toCorePoint(0, 0, kPrimary), (Point{0, 800}));
    EXPECT_EQ(toCorePoint(640, 799, kPrimary), (Point{640, 1}));
}

TEST(KeysymModifiers, MapToTheCoreBits) {
    const std::pair<std::uint32_t, std::uint64_t> cases[] = {
        {0xffe1, modifier::shift},        {0xffe2, modifier::shift},
        {0xffe3, modifier::control},      {0xffe4, modifier::control},
        {0xffe9, modifier::option},       {0xfe03, modifier::option},  // AltGr
        {0xffeb, modifier::command},      {0xffec, modifier::command},
        {0xffe5, modifier::capsLock},     {0x100811d0, modifier::function},  // XF86Fn
        {0x1008ff2b, modifier::function},                                    // XF86WakeUp
    };
    for (const auto& [keysym, bit] : cases) {
        EXPECT_EQ(modifierBitForKeysym(keysym), bit) << std::hex << keysym;
    }
    EXPECT_EQ(modifierBitForKeysym('a'), std::nullopt);
    EXPECT_EQ(modifierBitForKeysym(0xff52), std::nullopt);  // Up is a key, not a modifier
}

TEST(KeysymCharacters, PrintableControlAndFunctionKeys) {
    const std::pair<std::uint32_t, std::string> cases[] = {
        {'a', "a"},
        {' ', " "},
        {0xe4, "\xC3\xA4"},        // adiaeresis
        {0x010003b1, "\xCE\xB1"},  // Unicode keysym: Greek alpha
        {0xff0d, "\r"},            // Return
        {0xff09, "\t"},            // Tab
        {0xff1b, "\x1b"},          // Escape
        {0xff08, "\x7f"},          // BackSpace
        {0xff52, "\xEF\x9C\x80"},  // Up → U+F700
        {0xff51, "\xEF\x9C\x82"},  // Left → U+F702
        {0xffbe, "\xEF\x9C\x84"},  // F1 → U+F704
        {0xffc9, "\xEF\x9C\x8F"},  // F12 → U+F70F
        {0xffff, "\xEF\x9C\xA8"},  // Delete → U+F728
        {0xff50, "\xEF\x9C\xA9"},  // Home → U+F729
        {0xff56, "\xEF\x9C\xAD"},  // Next (PageDown) → U+F72D
        {0xffb7, "7"},             // KP_7
        {0x6c1, "\xEF\xBF\xBD"},   // Cyrillic_a: printable, text stands in
    };
    for (const auto& [keysym, text] : cases) {
        EXPECT_EQ(charactersForKeysym(keysym), text) << std::hex << keysym;
    }
    // Modifiers, media keys and NoSymbol produce nothing.
    for (std::uint32_t keysym : {0xffe1u, 0x100811d0u, 0x1008ff12u, 0u}) {
        EXPECT_EQ(charactersForKeysym(keysym), std::nullopt) << std::hex << keysym;
    }
}

TEST(XkbLayouts, ParseRulesNamesPairsLayoutsWithVariants) {
    using namespace std::string_literals;
    EXPECT_EQ(parseRulesNames("evdev\0pc105\0us,de\0,nodeadkeys\0grp:alt_shift_toggle\0"s),
              (std::vector<XkbLayout>{{"us", ""}, {"de", "nodeadkeys"}}));
    // Fewer variants than layouts, and no options.
    EXPECT_EQ(parseRulesNames("evdev\0pc105\0us,ru,ua\0\0\0"s),
              (std::vector<XkbLayout>{{"us", ""}, {"ru", ""}, {"ua", ""}}));
    // No layouts, a truncated property, or nothing at all.
    EXPECT_TRUE(parseRulesNames("evdev\0pc105\0\0\0\0"s).empty());
    EXPECT_TRUE(parseRulesNames("evdev\0pc"s).empty());
    EXPECT_TRUE(parseRulesNames("").empty());
}

TEST(XkbLayouts, IdentifiersNamesAndLanguages) {
    EXPECT_EQ(layoutSourceID({"us", ""}), "xkb:us");
    EXPECT_EQ(layoutSourceID({"de", "nodeadkeys"}), "xkb:de(nodeadkeys)");
    EXPECT_EQ(layoutDisplayName({"de", "nodeadkeys"}), "German (nodeadkeys)");
    EXPECT_EQ(layoutDisplayName({"xx", ""}), "xx");
    const std::pair<std::string, std::string> languages[] = {
        {"us", "en"}, {"gb", "en"}, {"de", "de"}, {"fr", "fr"}, {"ru", "ru"}, {"ua", "uk"},
        {"es", "es"}, {"it", "it"}, {"pl", "pl"}, {"se", "sv"}, {"xx", "xx"},  // unknown: the code
                                                                               // itself
    };
    for (const auto& [layout, language] : languages) {
        EXPECT_EQ(languageForLayout(layout), language) << layout;
    }
}

}  // namespace
}  // namespace lumivoke::desktop
