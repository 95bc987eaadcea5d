// The hover badge over the terminal's text: where it sits, what it says, when it goes.
#include "DesktopTest.h"

#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <sstream>

namespace lumivoke::e2e {
namespace {

using std::chrono::milliseconds;

class BadgeTest : public DesktopTest {
protected:
    /// Waits for the badge to be shown beside the pointer at (px, py) with text; whether it was.
    bool badgeBesidePointer(int px, int py, const std::string& text) {
        return eventually([&] {
            const auto badge = session().badge();
            // Its bottom-left corner 8 right of and 8 above the pointer, in the system's
            // coordinates, whose y grows upwards.
            return badge && badge->viewable && badge->name == text &&
                   std::abs(badge->frame.x - (px + 8)) <= 1 &&
                   std::abs(badge->frame.y + badge->frame.height - (py - 8)) <= 1;
        });
    }

    /// Whether the badge shows up within a few display refreshes.
    bool badgeShowsUp() {
        return eventually(
            [&] {
                const auto badge = session().badge();
                return badge && badge->viewable;
            },
            milliseconds(150));
    }

    bool badgeHidden() {
        return eventually([&] {
            const auto badge = session().badge();
            return !badge || !badge->viewable;
        });
    }

    std::string describeBadge() {
        const auto badge = session().badge();
        std::ostringstream out;
        out << "badge: ";
        if (badge) {
            out << *badge;
        } else {
            out << "none";
        }
        const auto [px, py] = x().pointer();
        out << "; pointer at " << px << "," << py;
        return out.str();
    }

    // A point of the terminal's text, and one where only the root window is.
    static constexpr int kTextX = 300;
    static constexpr int kTextY = 300;
    static constexpr int kRootX = 1250;
    static constexpr int kRootY = 600;
};

TEST_F(BadgeTest, FollowsThePointerOverTextWithTheCurrentCode) {
    x().movePointer(kTextX, kTextY);
    ASSERT_TRUE(badgeBesidePointer(kTextX, kTextY, "EN")) << describeBadge();
    const auto badge = session().badge();
    EXPECT_EQ(badge->frame.height, 18);
    EXPECT_TRUE(badge->overrideRedirect);
    EXPECT_EQ(badge->className, "Lumivoke");
    x().movePointer(kTextX + 200, kTextY + 150);
    EXPECT_TRUE(badgeBesidePointer(kTextX + 200, kTextY + 150, "EN")) << describeBadge();
    EXPECT_TRUE(x().isAncestor(session().terminal(), x().focus())) << "the badge took the focus";
}

TEST_F(BadgeTest, TypingHidesItAndMovingShowsItAgain) {
    x().movePointer(kTextX, kTextY);
    ASSERT_TRUE(badgeBesidePointer(kTextX, kTextY, "EN")) << describeBadge();
    x().tap(x().keycode(XK_a));
    EXPECT_TRUE(badgeHidden()) << "typing left the badge up; " << describeBadge();
    // More typing, and the pointer resting: it stays hidden until the pointer moves.
    x().tap(x().keycode(XK_b));
    EXPECT_FALSE(badgeShowsUp()) << describeBadge();
    x().movePointer(kTextX + 5, kTextY);
    EXPECT_TRUE(badgeBesidePointer(kTextX + 5, kTextY, "EN")) << describeBadge();
}

TEST_F(BadgeTest, FollowsAGroupChangeMadeElsewhere) {
    x().movePointer(kTextX, kTextY);
    ASSERT_TRUE(badgeBesidePointer(kTextX, kTextY, "EN")) << describeBadge();
    x().lockGroup(2);
    EXPECT_TRUE(badgeBesidePointer(kTextX, kTextY, "RU")) << describeBadge();
    // No HUD: nobody asked the program to switch.
    EXPECT_FALSE(session().hud().has_value()) << x().describeWindows();
}

TEST_F(BadgeTest, ATapChangesTheCodeWhereItStands) {
    x().movePointer(kTextX, kTextY);
    ASSERT_TRUE(badgeBesidePointer(kTextX, kTextY, "EN")) << describeBadge();
    session().tapTrigger();
    EXPECT_TRUE(badgeBesidePointer(kTextX, kTextY, "DE")) << describeBadge();
    const auto shot = session().beginScreenshot("badge");
    EXPECT_EQ(shot->wait(milliseconds(20000)), 0);
}

TEST_F(BadgeTest, ShowsAtStartWhenThePointerRestsOverText) {
    // The pointer has not moved since the X server started; the terminal came up under it.
    const auto [px, py] = x().pointer();
    ASSERT_TRUE(session().terminal() != 0);
    EXPECT_TRUE(badgeBesidePointer(px, py, "EN"))
        << describeBadge() << " cursor " << x().cursor().second;
}

TEST_F(BadgeTest, StaysWhenTheHudComesUpUnderThePointer) {
    // The middle of the usable area, where the HUD comes; the HUD lets everything through.
    const XRect area = x().workArea();
    const int px = area.centerX();
    const int py = area.centerY();
    x().movePointer(px, py);
    ASSERT_TRUE(badgeBesidePointer(px, py, "EN")) << describeBadge();
    session().tapTrigger();
    ASSERT_TRUE(eventually([&] {
        const auto hud = session().hud();
        return hud && hud->viewable && hud->frame.contains(px, py);
    })) << x().describeWindows();
    EXPECT_TRUE(badgeBesidePointer(px, py, "DE")) << describeBadge();
}

TEST_F(BadgeTest, IsAbsentOverTheRootWindow) {
    x().movePointer(kTextX, kTextY);
    ASSERT_TRUE(badgeBesidePointer(kTextX, kTextY, "EN")) << describeBadge();
    const auto textCursor = x().cursor();
    x().movePointer(kRootX, kRootY);
    ASSERT_TRUE(eventually([&] { return x().cursor().first != textCursor.first; }))
        << "the cursor over the root window is still " << textCursor.second;
    EXPECT_TRUE(badgeHidden()) << describeBadge();
    // Moving about over the root window brings nothing back.
    for (int step = 1; step <= 5; ++step) {
        x().movePointer(kRootX - step * 4, kRootY + step * 10);
        EXPECT_FALSE(badgeShowsUp()) << describeBadge();
    }
    // The monitor still runs: back over text, back the badge.
    x().movePointer(kTextX, kTextY);
    EXPECT_TRUE(badgeBesidePointer(kTextX, kTextY, "EN")) << describeBadge();
}

}  // namespace
}  // namespace lumivoke::e2e
