// The layouts' names and languages as the machine's XKB registry and language table give them:
// the names the tray menu lists, the codes the HUD shows, and both again when the layouts change.
#include "DesktopTest.h"

#include <X11/keysym.h>

namespace lumivoke::e2e {
namespace {

// A variant, and a layout whose code is not its language's (jp → ja).
using LayoutNamesTest = WithSession<[](SessionOptions& o) {
    o.layouts = "us,de,jp";
    o.variants = ",nodeadkeys,";
}>;

TEST_F(LayoutNamesTest, NamesAndCodesComeFromTheRegistry) {
    const std::string named = log().waitFor("Layouts: layouts ");
    ASSERT_FALSE(named.empty()) << log().tail();
    EXPECT_NE(named.find("xkb:us \"English (US)\" en, xkb:de(nodeadkeys) \"German (no dead keys)\" "
                         "de, xkb:jp \"Japanese\" ja"),
              std::string::npos)
        << named;
    for (const auto& [group, code] : {std::pair(1, "DE"), std::pair(2, "JA"), std::pair(0, "EN")}) {
        const std::size_t mark = log().mark();
        session().tapTrigger();
        EXPECT_TRUE(session().switchedTo(group, code)) << log().tail(mark);
    }
    // The menu lists the same names (text is pixels to the X server: look at the picture).
    const auto icon = session().trayIcon();
    ASSERT_TRUE(icon.has_value()) << x().describeWindows();
    x().movePointer(icon->frame.centerX(), icon->frame.centerY());
    x().click();
    ASSERT_TRUE(eventually([&] { return session().menu().has_value(); })) << x().describeWindows();
    x().movePointer(600, 500);
    session().screenshot("tray-menu-registry-names");
    x().tap(x().keycode(XK_Escape));
    ASSERT_TRUE(eventually([&] { return !session().menu().has_value(); }));
}

TEST_F(LayoutNamesTest, NewLayoutsAreNamedAgainWithoutARestart) {
    ASSERT_FALSE(log().waitFor("Layouts: layouts ").empty()) << log().tail();
    const std::size_t mark = log().mark();
    ASSERT_EQ(session().run({"setxkbmap", "-layout", "us,ua,ch", "-variant", ""}), 0);
    const std::string named = log().waitFor("Layouts: layouts ", mark);
    ASSERT_FALSE(named.empty()) << log().tail(mark);
    // Ukrainian is uk, not the layout's ua; Swiss German has two languages, German first.
    EXPECT_NE(named.find("xkb:ua \"Ukrainian\" uk, xkb:ch \"German (Switzerland)\" de+gsw"),
              std::string::npos)
        << named;
    session().tapTrigger();
    EXPECT_TRUE(session().switchedTo(1, "UK")) << log().tail(mark);
    // Switching again reads nothing more: the names were read once for these layouts.
    const std::size_t switched = log().mark();
    session().tapTrigger();
    EXPECT_TRUE(session().switchedTo(2, "DE")) << log().tail(switched);
    EXPECT_TRUE(log().linesWith("Layouts: layouts ", switched).empty()) << log().tail(switched);
}

}  // namespace
}  // namespace lumivoke::e2e
