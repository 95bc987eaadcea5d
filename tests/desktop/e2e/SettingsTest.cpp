// A second launch, the settings window it opens, and what its General tab switches.
#include "DesktopTest.h"

#include <chrono>
#include <filesystem>
#include <functional>

#include "Controls.h"

namespace lumivoke::e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

class SettingsTest : public DesktopTest {
protected:
    /// Launches the program again and waits for the running one's settings window.
    std::optional<WindowInfo> openSettings() {
        const auto status = session().launchAgain();
        EXPECT_EQ(status, 0) << "the second launch said: " << session().launchAgainOutput();
        std::optional<WindowInfo> window;
        if (!eventually([&] { return (window = session().settingsWindow()).has_value(); })) {
            ADD_FAILURE() << "no settings window" << x().describeWindows();
        }
        restPointer();
        return window;
    }

    /// Puts the pointer where it touches nothing of the program's, so that nothing is hovered.
    void restPointer() { x().movePointer(1250, 600); }

    /// The window's picture once it has stopped changing.
    Pixels steadyPicture(const WindowInfo& window) {
        Pixels last = x().grab(window.frame);
        Pixels now;
        EXPECT_TRUE(eventually([&] {
            now = x().grab(window.frame);
            const bool same = now == last;
            last = now;
            return same;
        })) << "the window kept changing";
        return now;
    }

    /// Clicks the middle of a control found in the window's picture and keeps the pointer there
    /// until the click has taken effect, as a person waits to see it; then moves it away.
    /// (Moving it at once loses the click: the window manager holds the pointer while it
    /// focuses on a press, and the X server then reports the release where the pointer has
    /// gone; see README.md.) Whether the effect came.
    bool clickControl(const WindowInfo& window, const XRect& control,
                      const std::function<bool()>& tookEffect) {
        x().movePointer(window.frame.x + control.centerX(), window.frame.y + control.centerY());
        x().click();
        const bool took = eventually(tookEffect);
        restPointer();
        steadyPicture(window);
        return took;
    }

    /// Chooses a tab: its effect is a change of the window below the tab row.
    bool chooseTab(const WindowInfo& window, const XRect& segment) {
        const Pixels before = steadyPicture(window);
        return clickControl(window, segment, [&] {
            for (const auto& band : differingBands(before, x().grab(window.frame))) {
                if (band.first > segment.y + segment.height + 2) {
                    return true;
                }
            }
            return false;
        });
    }

    bool fileSays(const fs::path& file, const std::string& line) {
        const auto text = readFile(file);
        return text && text->find(line) != std::string::npos;
    }

    /// The General tab's check boxes: launch at login, hover badge, menubar icon.
    std::vector<XRect> generalCheckBoxes(const WindowInfo& window) {
        const auto boxes = findCheckBoxes(steadyPicture(window));
        EXPECT_EQ(boxes.size(), 3u) << "the General tab should have three check boxes";
        return boxes;
    }
};

TEST_F(SettingsTest, ASecondLaunchExitsAndOpensSettingsOnGeneral) {
    const auto window = openSettings();
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(window->name, "Lumivoke");
    EXPECT_EQ(window->frame.width, 520);
    EXPECT_EQ(window->frame.height, 560);
    EXPECT_TRUE(eventually([&] { return x().isAncestor(window->id, x().focus()); }))
        << "the settings window did not get the focus";
    const Pixels opened = steadyPicture(*window);
    const auto segments = findTabSegments(opened);
    ASSERT_EQ(segments.size(), 3u) << "the tab row should have three segments";

    // Away to Setup and back to General: the window looks as it did when it opened.
    ASSERT_TRUE(chooseTab(*window, segments[0])) << "choosing Setup changed nothing";
    const Pixels setup = steadyPicture(*window);
    session().screenshot("settings-setup");
    ASSERT_TRUE(chooseTab(*window, segments[1])) << "choosing General changed nothing";
    EXPECT_EQ(differingPixels(steadyPicture(*window), opened), 0)
        << "the window did not open on General";
    ASSERT_TRUE(chooseTab(*window, segments[2])) << "choosing Per-App Rules changed nothing";
    const Pixels rules = steadyPicture(*window);
    EXPECT_GT(differingPixels(rules, opened), 0);
    EXPECT_GT(differingPixels(rules, setup), 0);
    session().screenshot("settings-per-app-rules");

    // Another launch while the window shows Per-App Rules: back on General, still one window.
    ASSERT_TRUE(openSettings().has_value());
    EXPECT_TRUE(eventually([&] { return differingPixels(x().grab(window->frame), opened) == 0; }))
        << "a second launch did not bring General back";
    EXPECT_EQ(session().settingsWindow()->id, window->id) << "a second settings window";
    session().screenshot("settings-general");
    EXPECT_TRUE(session().lumivoke()->running());
}

TEST_F(SettingsTest, ShowMenubarIconRemovesAndRestoresTheTrayIcon) {
    const auto window = openSettings();
    ASSERT_TRUE(window.has_value());
    const auto boxes = generalCheckBoxes(*window);
    ASSERT_EQ(boxes.size(), 3u);
    const auto file = session().settingsFile();
    ASSERT_TRUE(clickControl(*window, boxes[2], [&] {
        return fileSays(file, "MenubarIconVisible=b:0");
    })) << "the setting was not written";
    EXPECT_TRUE(eventually([&] { return !session().trayIcon(); })) << x().describeWindows();
    ASSERT_TRUE(clickControl(*window, boxes[2], [&] {
        return fileSays(file, "MenubarIconVisible=b:1");
    })) << "the setting was not written";
    EXPECT_TRUE(eventually([&] { return session().trayIcon().has_value(); }))
        << x().describeWindows();
    EXPECT_TRUE(session().lumivoke()->running());
}

TEST_F(SettingsTest, LaunchAtLoginWritesAndRemovesTheAutostartEntry) {
    ASSERT_FALSE(fs::exists(session().autostartEntry()));
    const auto window = openSettings();
    ASSERT_TRUE(window.has_value());
    const auto boxes = generalCheckBoxes(*window);
    ASSERT_EQ(boxes.size(), 3u);
    ASSERT_TRUE(
        clickControl(*window, boxes[0], [&] { return fs::exists(session().autostartEntry()); }))
        << "no autostart entry at " << session().autostartEntry();
    const auto entry = readFile(session().autostartEntry()).value_or("");
    EXPECT_NE(entry.find("[Desktop Entry]"), std::string::npos) << entry;
    EXPECT_NE(entry.find("Exec=\"" + fs::canonical(LUMIVOKE_BINARY).string() + "\""),
              std::string::npos)
        << entry;
    EXPECT_TRUE(clickControl(*window, boxes[0], [&] {
        return !fs::exists(session().autostartEntry());
    })) << "the autostart entry stayed";
}

TEST_F(SettingsTest, ShowHoverBadgeTurnsTheBadgeOffAndOn) {
    const auto window = openSettings();
    ASSERT_TRUE(window.has_value());
    const auto boxes = generalCheckBoxes(*window);
    ASSERT_EQ(boxes.size(), 3u);
    const auto overText = [&] {
        // Left of the settings window, over the terminal's text.
        x().movePointer(200, 300);
        return eventually(
            [&] {
                const auto badge = session().badge();
                return badge && badge->viewable;
            },
            milliseconds(1000));
    };
    ASSERT_TRUE(overText()) << "no badge while it is on";
    const auto file = session().settingsFile();
    ASSERT_TRUE(
        clickControl(*window, boxes[1], [&] { return fileSays(file, "HoverBadgeEnabled=b:0"); }));
    EXPECT_FALSE(overText()) << "a badge while it is off";
    ASSERT_TRUE(
        clickControl(*window, boxes[1], [&] { return fileSays(file, "HoverBadgeEnabled=b:1"); }));
    EXPECT_TRUE(overText()) << "no badge once it is on again";
}

}  // namespace
}  // namespace lumivoke::e2e
