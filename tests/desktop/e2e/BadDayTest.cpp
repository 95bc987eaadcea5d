// The program on a bad day: a desktop without a tray or a window manager, a keyboard with one
// layout, a settings file full of garbage, and a start after a crash.
#include "DesktopTest.h"

#include <signal.h>
#include <unistd.h>

#include "UnixSocket.h"

namespace lumivoke::e2e {
namespace {

/// The tap switches and the HUD confirms it, and a second launch opens the settings.
void expectTheEssentialsWork(Session& session) {
    session.tapTrigger();
    EXPECT_TRUE(session.switchedTo(1, "DE"));
    EXPECT_EQ(session.launchAgain(), 0) << session.launchAgainOutput();
    EXPECT_TRUE(eventually([&] { return session.settingsWindow().has_value(); }))
        << "no settings window" << session.x().describeWindows();
}

using NoTrayHostTest = WithSession<[](SessionOptions& o) { o.trayHost = false; }>;

TEST_F(NoTrayHostTest, RunsWithoutAnIconAndOpensSettingsOnASecondLaunch) {
    EXPECT_FALSE(session().trayIcon().has_value());
    expectTheEssentialsWork(session());
}

TEST_F(NoTrayHostTest, TheIconAppearsWhenATrayHostComesLater) {
    ASSERT_TRUE(session().startTrayHost());
    EXPECT_TRUE(eventually([&] { return session().trayIcon().has_value(); }))
        << "no icon in the tray that came later" << x().describeWindows() << log().tail();
}

TEST_F(NoTrayHostTest, SaysOnceThatThereIsNoTray) {
    // A second launch, so that the program has had every chance to repeat itself.
    ASSERT_EQ(session().launchAgain(), 0);
    ASSERT_TRUE(eventually([&] { return session().settingsWindow().has_value(); }));
    const auto lines = log().linesWith("tray");
    ASSERT_EQ(lines.size(), 1u) << log().tail();
    EXPECT_NE(lines.front().find("launch"), std::string::npos) << lines.front();
}

using NoWindowManagerTest = WithSession<[](SessionOptions& o) { o.windowManager = false; }>;

TEST_F(NoWindowManagerTest, TapsSwitchesAndOpensSettings) {
    expectTheEssentialsWork(session());
    // Without a window manager the whole screen is usable: the HUD sits in its middle.
    const auto hud = session().hud();
    ASSERT_TRUE(hud.has_value());
    EXPECT_NEAR(hud->frame.x + hud->frame.width / 2.0, x().screen().width / 2.0, 1.0);
    EXPECT_NEAR(hud->frame.y + hud->frame.height / 2.0, x().screen().height / 2.0, 1.0);
}

using OneLayoutTest = WithSession<[](SessionOptions& o) { o.layouts = "us"; }>;

TEST_F(OneLayoutTest, ATapIsLoggedAndDoesNothing) {
    const std::size_t mark = log().mark();
    session().tapTrigger();
    const std::string release = log().waitFor("Fn↑", mark);
    ASSERT_FALSE(release.empty()) << log().tail(mark);
    EXPECT_NE(release.find("clean=true"), std::string::npos) << release;
    // The second launch's request is handled after the tap: once the window is there, the tap
    // has been dealt with too.
    EXPECT_EQ(session().launchAgain(), 0);
    ASSERT_TRUE(eventually([&] { return session().settingsWindow().has_value(); }));
    EXPECT_EQ(x().group(), 0);
    EXPECT_FALSE(session().hud().has_value()) << "a HUD for nothing" << x().describeWindows();
    EXPECT_TRUE(log().linesWith("select()", mark).empty()) << log().tail(mark);
}

// Junk of every kind where the settings should be: values of the wrong kind, values that are
// not encoded at all, broken groups and binary noise.
const char kGarbage[] =
    "[General]\n"
    "HoverBadgeEnabled=b:maybe\n"
    "MenubarIconVisible=i:seven\n"
    "PerAppRulesEnabled=yes please\n"
    "HUDOnAutoSwitchEnabled=\n"
    "PerAppRules=\"x:%%%not base64%%%\"\n"
    "[General\n"
    "=\n"
    "\x01\x02\xff\xfe garbage \x7f\n"
    "no equals sign here\n";

using GarbageSettingsTest =
    WithSession<[](SessionOptions& o) { o.settings = std::string(kGarbage, sizeof kGarbage - 1); }>;

// Which lines are named, what is written back and how the rules that cannot be decoded are
// kept are the settings file's own tests' (FileUserDefaultsTest, SettingsFileTest); here the
// program as a person starts it.
TEST_F(GarbageSettingsTest, StartsOnTheDefaultsSaysSoOnceAndKeepsACopy) {
    const auto said = log().linesWith("has lines that are not settings");
    ASSERT_EQ(said.size(), 1u) << log().tail();
    const auto at = said.front().find("kept a copy as ");
    ASSERT_NE(at, std::string::npos) << said.front();
    const fs::path copy = said.front().substr(at + 15, said.front().find(',', at) - at - 15);
    EXPECT_EQ(readFile(copy), std::string(kGarbage, sizeof kGarbage - 1)) << copy;

    // The defaults: the tray icon (the session waited for it), the hover badge.
    x().movePointer(300, 300);
    EXPECT_TRUE(eventually([&] { return session().badgeShown(); }))
        << "no badge over text" << x().describeWindows();
    expectTheEssentialsWork(session());
}

/// Whether a program listens on the local socket at path.
bool socketAnswers(const fs::path& path) {
    const int fd = testing_support::connectTo(path);
    if (fd < 0) {
        return false;
    }
    close(fd);
    return true;
}

using AfterACrashTest = DesktopTest;

TEST_F(AfterACrashTest, TheStaleInstanceSocketIsReplaced) {
    const fs::path socket = session().instanceSocket();
    ASSERT_TRUE(socketAnswers(socket)) << "nobody answers at " << socket;
    session().lumivoke()->signal(SIGKILL);
    ASSERT_TRUE(session().lumivoke()->wait(milliseconds(5000)).has_value());
    ASSERT_TRUE(fs::exists(socket)) << "the crash left no socket behind; nothing to prove";
    ASSERT_FALSE(socketAnswers(socket));

    // The next start takes the place over instead of taking the dead one for a running one.
    ASSERT_TRUE(session().startLumivoke());
    EXPECT_TRUE(eventually([&] { return socketAnswers(socket); }))
        << "the stale socket was not replaced";
    expectTheEssentialsWork(session());
    EXPECT_TRUE(session().lumivoke()->running());
}

}  // namespace
}  // namespace lumivoke::e2e
