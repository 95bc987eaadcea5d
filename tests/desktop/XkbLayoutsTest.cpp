#include "XkbLayouts.h"

#include <gtest/gtest.h>

namespace lumivoke::desktop {
namespace {

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
