#include "Keysyms.h"

#include <gtest/gtest.h>

#include "platform/Keyboard.h"

namespace lumivoke::desktop {
namespace {

TEST(KeysymModifiers, MapToTheCoreBits) {
    const std::pair<std::uint32_t, std::uint64_t> cases[] = {
        {0xffe1, modifier::shift},    {0xffe2, modifier::shift},
        {0xffe3, modifier::control},  {0xffe4, modifier::control},
        {0xffe9, modifier::option},   {0xfe03, modifier::option},  // AltGr
        {0xffeb, modifier::command},  {0xffec, modifier::command},
        {0xffe5, modifier::capsLock},
    };
    for (const auto& [keysym, bit] : cases) {
        EXPECT_EQ(modifierBitForKeysym(keysym), bit) << std::hex << keysym;
    }
    EXPECT_EQ(modifierBitForKeysym('a'), std::nullopt);
    EXPECT_EQ(modifierBitForKeysym(0xff52), std::nullopt);  // Up is a key, not a modifier
    // X11 has no Fn modifier: only the chosen trigger key stands for it.
    EXPECT_EQ(modifierBitForKeysym(0x100811d0), std::nullopt);  // XF86Fn
    EXPECT_EQ(modifierBitForKeysym(0x1008ff2b), std::nullopt);  // XF86WakeUp
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

}  // namespace
}  // namespace lumivoke::desktop
