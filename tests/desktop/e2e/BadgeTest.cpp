// The hover badge over the terminal's text: where it sits, what it says, when it goes.
#include "DesktopTest.h"

#include <X11/Xcursor/Xcursor.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <sstream>

namespace lumivoke::e2e {
namespace {

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
        return eventually([&] { return session().badgeShown(); }, milliseconds(150));
    }

    bool badgeHidden() {
        return eventually([&] { return !session().badgeShown(); });
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

TEST_F(BadgeTest, ShowsAtStartWhenThePointerRestsOverText) {
    // The pointer has not moved since the X server started; the terminal came up under it.
    const auto [px, py] = x().pointer();
    ASSERT_TRUE(session().terminal() != 0);
    EXPECT_TRUE(badgeBesidePointer(px, py, "EN"))
        << describeBadge() << " cursor " << x().cursor().second;
}

// A tap changes the code where the badge stands, also under the HUD.
TEST_F(BadgeTest, StaysWhenTheHudComesUpUnderThePointer) {
    // The middle of the usable area, where the HUD comes; the HUD lets everything through.
    const XRect area = x().workArea();
    const int px = area.centerX();
    const int py = area.centerY();
    x().movePointer(px, py);
    ASSERT_TRUE(badgeBesidePointer(px, py, "EN")) << describeBadge();
    EXPECT_EQ(session().beginScreenshot("badge")->wait(milliseconds(20000)), 0);
    session().tapTrigger();
    ASSERT_TRUE(eventually([&] {
        const auto hud = session().hud();
        return hud && hud->viewable && hud->frame.contains(px, py);
    })) << x().describeWindows();
    EXPECT_TRUE(badgeBesidePointer(px, py, "DE")) << describeBadge();
    const auto shot = session().beginScreenshot("badge-under-hud");
    EXPECT_EQ(shot->wait(milliseconds(20000)), 0);
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

/// The picture of the theme's text cursor at a size, as an application that draws its own
/// cursors would have it (no name). Empty when the theme has none.
struct ThemePicture {
    int size = 0;
    int xhot = 0;
    int yhot = 0;
    std::vector<std::uint32_t> pixels;
};

ThemePicture themeTextCursor(int size) {
    ThemePicture picture;
    if (XcursorImage* image = XcursorLibraryLoadImage("xterm", "Adwaita", size)) {
        picture.size = static_cast<int>(image->width);
        picture.xhot = static_cast<int>(image->xhot);
        picture.yhot = static_cast<int>(image->yhot);
        picture.pixels.assign(image->pixels, image->pixels + image->width * image->height);
        XcursorImageDestroy(image);
    }
    return picture;
}

// A window of the test's own, right of the terminal's text.
constexpr XRect kCursorWindow{950, 450, 300, 250};

TEST_F(BadgeTest, ShowsOverAnApplicationsOwnTextCursorOfAnotherSize) {
    const ThemePicture large = themeTextCursor(48);
    ASSERT_EQ(large.size, 48) << "the theme has no text cursor of 48 pixels";
    x().showCursorWindow(kCursorWindow, large.size, large.xhot, large.yhot, large.pixels);
    const int px = kCursorWindow.centerX();
    const int py = kCursorWindow.centerY();
    x().movePointer(px, py);
    ASSERT_TRUE(eventually([&] { return x().cursor().second.empty(); }))
        << "the window's cursor is named " << x().cursor().second;
    EXPECT_TRUE(badgeBesidePointer(px, py, "EN")) << describeBadge();
}

TEST_F(BadgeTest, IsAbsentOverACursorThatOnlySharesTheTextCursorsShape) {
    // The hot spot and size of the program's own text cursor, and another picture: a black
    // square, which no one would take for an I-beam.
    const ThemePicture text = themeTextCursor(24);
    ASSERT_EQ(text.size, 24);
    x().showCursorWindow(kCursorWindow, text.size, text.xhot, text.yhot,
                         std::vector<std::uint32_t>(text.pixels.size(), 0xff000000));
    // First over text: the badge comes; then over the window, where it must go.
    x().movePointer(kTextX, kTextY);
    ASSERT_TRUE(badgeBesidePointer(kTextX, kTextY, "EN")) << describeBadge();
    const auto textCursor = x().cursor();
    x().movePointer(kCursorWindow.centerX(), kCursorWindow.centerY());
    ASSERT_TRUE(eventually([&] { return x().cursor().first != textCursor.first; }));
    EXPECT_TRUE(badgeHidden()) << "a badge over a square: " << describeBadge();
    x().movePointer(kCursorWindow.centerX() + 20, kCursorWindow.centerY() + 10);
    EXPECT_FALSE(badgeShowsUp()) << describeBadge();
}

using NoCursorThemeTest = WithSession<[](SessionOptions& o) { o.cursorTheme = false; }, BadgeTest>;

TEST_F(NoCursorThemeTest, AStockTerminalShowsTheBadge) {
    x().movePointer(kTextX, kTextY);
    // The X server's own text cursor: 9 × 16 and unnamed.
    ASSERT_TRUE(eventually([&] { return x().cursor().second.empty(); }))
        << "a themed cursor: " << x().cursor().second;
    EXPECT_TRUE(badgeBesidePointer(kTextX, kTextY, "EN")) << describeBadge() << log().tail();
    x().movePointer(kRootX, kRootY);
    EXPECT_TRUE(badgeHidden()) << "a badge over the root window: " << describeBadge();
}

}  // namespace
}  // namespace lumivoke::e2e
