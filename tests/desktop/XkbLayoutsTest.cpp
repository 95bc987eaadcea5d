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

TEST(XkbLayouts, IdentifiersAndRuleset) {
    using namespace std::string_literals;
    EXPECT_EQ(layoutSourceID({"us", ""}), "xkb:us");
    EXPECT_EQ(layoutSourceID({"de", "nodeadkeys"}), "xkb:de(nodeadkeys)");
    EXPECT_EQ(rulesetOf("evdev\0pc105\0us\0\0\0"s), "evdev");
    EXPECT_EQ(rulesetOf("base\0pc105\0us\0\0\0"s), "base");
    // A rules file named by its path, or none at all.
    EXPECT_EQ(rulesetOf("/opt/xkb/rules/custom\0pc105\0us\0\0\0"s), "custom");
    EXPECT_EQ(rulesetOf("\0pc105\0us\0\0\0"s), "evdev");
    EXPECT_EQ(rulesetOf(""), "evdev");
}

}  // namespace
}  // namespace lumivoke::desktop
