// A second launch, the settings window it opens, what its General tab switches, and what its
// Setup tab finds true of the session.
#include "DesktopTest.h"

#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "Controls.h"

namespace lumivoke::e2e {
namespace {

class SettingsTest : public DesktopTest {
protected:
    /// A click on a control as a person makes it, then the picture left to settle.
    bool clickControl(const WindowInfo& window, const XRect& control,
                      const std::function<bool()>& tookEffect) {
        const bool took = DesktopTest::clickControl(window, control, tookEffect);
        steadyPicture(window);
        return took;
    }

    bool fileSays(const fs::path& file, const std::string& line) {
        const auto text = readFile(file);
        return text && text->find(line) != std::string::npos;
    }

    /// The General tab's check boxes: launch at login, hover badge, tray icon.
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

TEST_F(SettingsTest, ShowHoverBadgeTurnsTheBadgeOffAndOnAndIsDrawnInPlace) {
    const auto window = openSettings();
    ASSERT_TRUE(window.has_value());
    const auto boxes = generalCheckBoxes(*window);
    ASSERT_EQ(boxes.size(), 3u);
    const auto overText = [&] {
        // Left of the settings window, over the terminal's text.
        x().movePointer(200, 300);
        return eventually([&] { return session().badgeShown(); }, milliseconds(1000));
    };
    ASSERT_TRUE(overText()) << "no badge while it is on";
    const Pixels before = steadyPicture(*window);
    const auto file = session().settingsFile();
    ASSERT_TRUE(
        clickControl(*window, boxes[1], [&] { return fileSays(file, "HoverBadgeEnabled=b:0"); }));
    // Only the switch's own row changed: the tab was drawn in place, not built anew.
    for (const auto& band : differingBands(before, steadyPicture(*window))) {
        EXPECT_GE(band.first, boxes[1].y - 4) << "rows " << band.first << "-" << band.second;
        EXPECT_LE(band.second, boxes[1].y + boxes[1].height + 4)
            << "rows " << band.first << "-" << band.second;
    }
    EXPECT_FALSE(overText()) << "a badge while it is off";
    // The click left the keyboard focus on the switch it landed on, which a switch destroyed
    // and made again under its own click would have lost: Space flips it back.
    x().tap(x().keycode(XK_space));
    EXPECT_TRUE(eventually([&] { return fileSays(file, "HoverBadgeEnabled=b:1"); }))
        << "Space did not reach the switch that was clicked";
    EXPECT_EQ(differingPixels(before, steadyPicture(*window)), 0);
    EXPECT_TRUE(overText()) << "no badge once it is on again";
}

TEST_F(SettingsTest, AKeyChosenInGeneralIsTheTriggerAtOnce) {
    const auto window = openSettings();
    ASSERT_TRUE(window.has_value());
    const Pixels general = steadyPicture(*window);
    // The trigger-key menu: the one wide control between the tab row and the switches.
    const auto menus = findFrames(general, XRect{0, 80, general.width, 80}, 120, 320, 16, 34);
    ASSERT_EQ(menus.size(), 1u) << "no trigger-key menu in General";
    const std::size_t mark = log().mark();
    const int group = x().group();
    // The menu opens under the pointer on Right Ctrl; the next choice is Right Alt.
    x().movePointer(window->frame.x + menus[0].centerX(), window->frame.y + menus[0].centerY());
    x().click();
    EXPECT_TRUE(eventually([&] { return differingPixels(x().grab(window->frame), general) > 0; }))
        << "the menu did not open";
    x().tap(x().keycode(XK_Down));
    x().tap(x().keycode(XK_Return));
    EXPECT_TRUE(eventually([&] {
        return fileSays(session().settingsFile(), "TriggerKey=s:right-alt");
    })) << "the choice was not stored";
    EXPECT_FALSE(log().waitFor("the trigger right-alt is keycode", mark).empty())
        << log().tail(mark);
    restPointer();
    session().screenshot("settings-general-right-alt");

    x().tap(x().keycode(XK_Alt_R));
    EXPECT_TRUE(eventually([&] { return x().group() == (group + 1) % 3; }))
        << "a tap of Right Alt did not switch the layout";
}

/// A session where the autostart folder cannot be made: a file has its name.
using FailingAutostartTest = WithSession<[](SessionOptions& o) {
    o.files = {{".config/autostart", "not a folder\n"}};
},
                                         SettingsTest>;

TEST_F(FailingAutostartTest, AFailedLaunchAtLoginLeavesTheBoxUnticked) {
    const auto window = openSettings();
    ASSERT_TRUE(window.has_value());
    const auto boxes = generalCheckBoxes(*window);
    ASSERT_EQ(boxes.size(), 3u);
    const Pixels before = steadyPicture(*window);
    const auto boxPixels = [&](const Pixels& picture, const XRect& box) {
        std::vector<std::uint32_t> out;
        for (int y = box.y; y < box.y + box.height; ++y) {
            for (int x = box.x; x < box.x + box.width; ++x) {
                out.push_back(picture.at(x, y));
            }
        }
        return out;
    };
    const std::size_t mark = log().mark();
    ASSERT_TRUE(clickControl(
        *window, boxes[0],
        [&] { return !log().waitFor("cannot launch at login", mark, milliseconds(50)).empty(); }))
        << "no failure logged" << log().tail(mark);
    const Pixels after = steadyPicture(*window);
    EXPECT_FALSE(fs::is_directory(session().autostartEntry().parent_path()));
    EXPECT_EQ(boxPixels(after, boxes[0]), boxPixels(before, boxes[0]))
        << "launch at login stayed ticked though it could not be registered";
    session().screenshot("settings-general-login-failed");
    EXPECT_TRUE(session().lumivoke()->running());
}

// The status discs of the Setup rows.
constexpr std::uint32_t kMet = 0x34a853;
constexpr std::uint32_t kMissing = 0xf29900;

/// Another client takes the trigger key with a passive grab, as a desktop's shortcut does, and
/// lets it go at the end. The program's own probe holds the key for an instant now and then, so
/// a grab refused meanwhile is tried again.
class ForeignGrab {
public:
    ForeignGrab(Session& session, KeyCode keycode) : x_(session.x()), keycode_(keycode) {
        const bool taken = eventually([&] {
            refused = false;
            XErrorHandler previous = XSetErrorHandler(noteRefusal);
            XGrabKey(x_.display(), keycode_, 0, x_.root(), True, GrabModeAsync, GrabModeAsync);
            x_.sync();
            XSetErrorHandler(previous);
            return !refused;
        });
        EXPECT_TRUE(taken) << "the test could not grab keycode " << int(keycode_);
    }
    ~ForeignGrab() { release(); }
    ForeignGrab(const ForeignGrab&) = delete;
    ForeignGrab& operator=(const ForeignGrab&) = delete;
    void release() {
        if (keycode_ != 0) {
            XUngrabKey(x_.display(), keycode_, 0, x_.root());
            x_.sync();
            keycode_ = 0;
        }
    }

private:
    static int noteRefusal(Display* /*dpy*/, XErrorEvent* error) {
        refused = refused || error->error_code == BadAccess;
        return 0;
    }
    static inline bool refused = false;

    XClient& x_;
    KeyCode keycode_;
};

TEST_F(SettingsTest, TheTriggerKeyRowFollowsAnotherClientsGrabOnlyWhileTheWindowIsOpen) {
    const auto window = openSettingsOn(0);
    ASSERT_TRUE(window.has_value());
    const auto both = steadyPicture(*window);
    EXPECT_EQ(countColour(both, kMissing).count, 0) << "a row is missing in a plain X11 session";
    EXPECT_GT(countColour(both, kMet).count, 0);
    session().screenshot("settings-setup-met");

    ForeignGrab grab(session(), session().trigger());
    // Read again once a second while the window is open.
    EXPECT_TRUE(eventually([&] { return countColour(x().grab(window->frame), kMissing).count > 0; },
                           milliseconds(3000)))
        << "the trigger key row stayed met while another client holds the key";
    const Pixels taken = steadyPicture(*window);
    const auto missing = countColour(taken, kMissing);
    const auto met = countColour(taken, kMet);
    EXPECT_GT(met.count, 0);
    EXPECT_GT(missing.firstRow, met.firstRow) << "the missing row is not the second";
    session().screenshot("settings-setup-trigger-taken");

    grab.release();
    EXPECT_TRUE(
        eventually([&] { return countColour(x().grab(window->frame), kMissing).count == 0; },
                   milliseconds(3000)))
        << "the row stayed missing once the key was free";

    // Closed, the window reads nothing; opened again, it reads at once.
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", window->id);
    ASSERT_EQ(session().run({"wmctrl", "-i", "-c", id}), 0);
    ASSERT_TRUE(eventually([&] { return !session().settingsWindow().has_value(); }))
        << "the settings window did not close" << x().describeWindows();
    const std::size_t closed = log().mark();
    ForeignGrab again(session(), session().trigger());
    // Long enough for two of the once-a-second reads an open window makes; a read in this
    // time would log that the key is taken.
    EXPECT_TRUE(log().waitFor("is taken by", closed, milliseconds(2500)).empty())
        << "the trigger key was read while the window was closed" << log().tail(closed);
    const std::size_t reopened = log().mark();
    const auto reopenedWindow = openSettingsOn(0);
    ASSERT_TRUE(reopenedWindow.has_value());
    EXPECT_FALSE(log().waitFor("is taken by", reopened).empty())
        << "opening the window did not read the trigger key" << log().tail(reopened);
    EXPECT_TRUE(eventually([&] {
        return countColour(x().grab(reopenedWindow->frame), kMissing).count > 0;
    })) << "the Setup tab does not show the key taken";
}

TEST_F(SettingsTest, WithoutKeyboardSettingsTheTakenKeysRowLeadsToTheChoiceOfKey) {
    // The session names no desktop, so no keyboard settings tool is known.
    ForeignGrab grab(session(), session().trigger());
    const auto window = openSettingsOn(0);
    ASSERT_TRUE(window.has_value());
    EXPECT_TRUE(
        eventually([&] { return countColour(x().grab(window->frame), kMissing).count > 0; }));
    const Pixels setup = steadyPicture(*window);
    // The row's button: the lowest wide, short frame, below the row's drawing (whose keys are
    // frames too).
    const auto frames =
        findFrames(setup, XRect{0, 300, setup.width, setup.height - 340}, 120, 320, 18, 34);
    ASSERT_FALSE(frames.empty()) << "the missing row has no button";
    ASSERT_TRUE(clickControl(*window, frames.back(), [&] {
        const Pixels now = x().grab(window->frame);
        return countColour(now, kMissing).count == 0 && countColour(now, kMet).count == 0;
    })) << "the button did not leave the Setup tab";
    const Pixels general = steadyPicture(*window);
    EXPECT_EQ(findFrames(general, XRect{0, 80, general.width, 80}, 120, 320, 16, 34).size(), 1u)
        << "the tab shown has no trigger-key menu";
    EXPECT_EQ(findCheckBoxes(general).size(), 3u);
}

/// A session that says it is Wayland's; the program reaches the X server as it would reach
/// XWayland.
using WaylandSessionTest = WithSession<[](SessionOptions& o) {
    o.environment = {{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_SESSION_TYPE", "wayland"}};
    o.keyMonitor = false;
},
                                       SettingsTest>;

TEST_F(WaylandSessionTest, KeyObservationIsMissingAndTheTriggerKeyRowStillMet) {
    const auto window = openSettingsOn(0);
    ASSERT_TRUE(window.has_value());
    const Pixels picture = steadyPicture(*window);
    const auto missing = countColour(picture, kMissing);
    const auto met = countColour(picture, kMet);
    EXPECT_GT(missing.count, 0) << "key observation is met under Wayland";
    EXPECT_GT(met.count, 0) << "the trigger key row is not met";
    EXPECT_LT(missing.firstRow, met.firstRow) << "the missing row is not the first";
    session().screenshot("settings-setup-wayland");
}

/// Every tab in a palette, with both Setup rows missing so that their drawings show: a
/// Wayland session and the trigger key taken.
class PaletteTest : public SettingsTest, public ::testing::WithParamInterface<bool> {
protected:
    SessionOptions sessionOptions() const override {
        SessionOptions options;
        options.environment = {{"WAYLAND_DISPLAY", "wayland-0"}};
        if (GetParam()) {
            options.environment.emplace_back("GTK_THEME", "Adwaita:dark");
        }
        options.keyMonitor = false;
        return options;
    }
};

TEST_P(PaletteTest, EachTabIsDrawnInThePalette) {
    const bool dark = GetParam();
    const std::string palette = dark ? "dark" : "light";
    ForeignGrab grab(session(), session().trigger());
    const auto window = openSettings();
    ASSERT_TRUE(window.has_value());
    const Pixels general = steadyPicture(*window);
    // The window's own colour, just inside its bottom-right corner.
    const std::uint32_t background = general.at(general.width - 4, general.height - 4);
    const int luminance =
        (((background >> 16) & 0xff) * 3 + ((background >> 8) & 0xff) * 6 + (background & 0xff)) /
        10;
    if (dark) {
        EXPECT_LT(luminance, 0x60) << std::hex << "background " << background;
    } else {
        EXPECT_GT(luminance, 0xa0) << std::hex << "background " << background;
    }
    session().screenshot("settings-general-" + palette);
    const auto segments = findTabSegments(general);
    ASSERT_EQ(segments.size(), 3u);
    ASSERT_TRUE(chooseTab(*window, segments[0]));
    EXPECT_TRUE(eventually([&] {
        const Pixels setup = x().grab(window->frame);
        return countColour(setup, kMissing).count > 0 && countColour(setup, kMet).count == 0;
    })) << "both Setup rows should be missing";
    steadyPicture(*window);
    session().screenshot("settings-setup-" + palette);
    ASSERT_TRUE(chooseTab(*window, segments[2]));
    session().screenshot("settings-per-app-rules-" + palette);
}

INSTANTIATE_TEST_SUITE_P(Palettes, PaletteTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Dark" : "Light");
                         });

}  // namespace
}  // namespace lumivoke::e2e
