// The tray icon's menu, driven as a person does: a click on the icon, then the keyboard.
#include "DesktopTest.h"

#include <X11/keysym.h>

#include <chrono>
#include <sstream>

#include "Controls.h"

namespace lumivoke::e2e {
namespace {

const char* const kCodes[] = {"EN", "DE", "RU"};

class TrayMenuTest : public DesktopTest {
protected:
    /// Clicks the tray icon and waits for the menu; the menu's window, or none.
    std::optional<WindowInfo> openMenu() {
        const auto icon = session().trayIcon();
        if (!icon) {
            ADD_FAILURE() << "no tray icon" << x().describeWindows();
            return std::nullopt;
        }
        x().movePointer(icon->frame.centerX(), icon->frame.centerY());
        x().click();
        std::optional<WindowInfo> menu;
        if (!eventually([&] { return (menu = session().menu()).has_value(); })) {
            ADD_FAILURE() << "no menu opened" << x().describeWindows();
            return std::nullopt;
        }
        // Out of the way of the menu and of the icon's tool tip.
        x().movePointer(600, 500);
        return menu;
    }

    void closeMenu() {
        x().tap(x().keycode(XK_Escape));
        EXPECT_TRUE(eventually([&] { return !session().menu(); })) << "the menu stayed open";
    }

    /// Chooses the item at position (1 = the first) with the keyboard.
    void choose(int position) {
        for (int i = 0; i < position; ++i) {
            x().tap(x().keycode(XK_Down));
        }
        x().tap(x().keycode(XK_Return));
    }
};

std::string describeBands(const std::vector<std::pair<int, int>>& bands) {
    std::ostringstream out;
    for (const auto& [first, last] : bands) {
        out << " [" << first << ", " << last << "]";
    }
    return out.str();
}

TEST_F(TrayMenuTest, ListsTheLayoutsWithTheCheckMarkOnTheCurrentOne) {
    // The same menu drawn with each layout current: the rows that differ between two pictures
    // are the two whose check mark moved, and the row each picture has of its own is its
    // check mark.
    std::vector<Pixels> pictures;
    std::optional<XRect> frame;
    for (int group = 0; group < 3; ++group) {
        if (group > 0) {
            session().tapTrigger();
            ASSERT_TRUE(eventually([&] { return x().group() == group; }));
        }
        const auto menu = openMenu();
        ASSERT_TRUE(menu.has_value());
        if (frame) {
            ASSERT_EQ(menu->frame.width, frame->width);
            ASSERT_EQ(menu->frame.height, frame->height);
        }
        frame = menu->frame;
        pictures.push_back(steadyPicture(*menu));
        if (group == 1) {
            session().screenshot("tray-menu");
        }
        closeMenu();
    }
    std::vector<int> checkRows;
    for (int group = 0; group < 3; ++group) {
        const auto a = differingBands(pictures[group], pictures[(group + 1) % 3]);
        const auto b = differingBands(pictures[group], pictures[(group + 2) % 3]);
        ASSERT_EQ(a.size(), 2u) << "with " << kCodes[group] << " current:" << describeBands(a);
        ASSERT_EQ(b.size(), 2u) << "with " << kCodes[group] << " current:" << describeBands(b);
        std::optional<int> own;
        for (const auto& band : a) {
            if (std::find(b.begin(), b.end(), band) != b.end()) {
                own = (band.first + band.second) / 2;
            }
        }
        ASSERT_TRUE(own.has_value()) << describeBands(a) << " /" << describeBands(b);
        checkRows.push_back(*own);
    }
    // English, German, Russian from the top, one row apart, the first at the top of the menu
    // (no warning item above it: the program may read the keyboard).
    EXPECT_LT(checkRows[0], checkRows[1]);
    EXPECT_LT(checkRows[1], checkRows[2]);
    const int row = checkRows[1] - checkRows[0];
    EXPECT_NEAR(checkRows[2] - checkRows[1], row, 1);
    EXPECT_LT(checkRows[0], row) << "something comes before the first layout";
    // Nothing at all before the other layouts: no empty check box, just the menu's background
    // in front of their names.
    for (int current = 0; current < 3; ++current) {
        for (int other = 0; other < 3; ++other) {
            if (other == current) {
                continue;
            }
            const Pixels& picture = pictures[current];
            const std::uint32_t background = picture.at(2, checkRows[other]);
            int marked = 0;
            for (int y = checkRows[other] - 5; y <= checkRows[other] + 5; ++y) {
                for (int x = 2; x < 22; ++x) {
                    marked += picture.at(x, y) != background ? 1 : 0;
                }
            }
            EXPECT_EQ(marked, 0) << "something drawn before " << kCodes[other] << " while "
                                 << kCodes[current] << " is current";
        }
    }
}

TEST_F(TrayMenuTest, ChoosingALayoutSwitchesToItAndShowsTheHud) {
    // With a tray there is nothing to say about a missing one.
    EXPECT_TRUE(log().linesWith("no system tray").empty()) << log().tail();
    for (const int group : {1, 2, 0}) {
        const auto menu = openMenu();
        ASSERT_TRUE(menu.has_value());
        choose(group + 1);
        EXPECT_TRUE(session().switchedTo(group, kCodes[group]));
        EXPECT_FALSE(session().menu().has_value()) << "the menu stayed open";
    }
}

}  // namespace
}  // namespace lumivoke::e2e
