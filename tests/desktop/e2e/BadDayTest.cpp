// The program on a bad day: a desktop without a tray or a window manager, a keyboard with one
// layout, a settings file full of garbage, and a start after a crash.
#include "DesktopTest.h"

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

namespace lumivoke::e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

bool viewable(const std::optional<WindowInfo>& w) {
    return w && w->viewable;
}

/// The tap switches and the HUD confirms it, and a second launch opens the settings.
void expectTheEssentialsWork(Session& session) {
    session.tapTrigger();
    EXPECT_TRUE(eventually([&] { return session.x().group() == 1; }))
        << "a tap did not switch" << session.log().tail();
    EXPECT_TRUE(eventually([&] {
        const auto hud = session.hud();
        return viewable(hud) && hud->name == "DE";
    })) << session.x().describeWindows();
    EXPECT_EQ(session.launchAgain(), 0) << session.launchAgainOutput();
    EXPECT_TRUE(eventually([&] { return session.settingsWindow().has_value(); }))
        << "no settings window" << session.x().describeWindows();
}

class NoTrayHostTest : public DesktopTest {
protected:
    SessionOptions sessionOptions() const override {
        SessionOptions options;
        options.trayHost = false;
        return options;
    }
};

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

class NoWindowManagerTest : public DesktopTest {
protected:
    SessionOptions sessionOptions() const override {
        SessionOptions options;
        options.windowManager = false;
        return options;
    }
};

TEST_F(NoWindowManagerTest, TapsSwitchesAndOpensSettings) {
    expectTheEssentialsWork(session());
    // Without a window manager the whole screen is usable: the HUD sits in its middle.
    const auto hud = session().hud();
    ASSERT_TRUE(hud.has_value());
    EXPECT_NEAR(hud->frame.x + hud->frame.width / 2.0, x().screen().width / 2.0, 1.0);
    EXPECT_NEAR(hud->frame.y + hud->frame.height / 2.0, x().screen().height / 2.0, 1.0);
}

class OneLayoutTest : public DesktopTest {
protected:
    SessionOptions sessionOptions() const override {
        SessionOptions options;
        options.layouts = "us";
        return options;
    }
};

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

class GarbageSettingsTest : public DesktopTest {
protected:
    SessionOptions sessionOptions() const override {
        SessionOptions options;
        options.settings = std::string(kGarbage, sizeof kGarbage - 1);
        return options;
    }
};

TEST_F(GarbageSettingsTest, StartsOnTheDefaultsAndRewritesOnlyValidValues) {
    // Said once, with the lines; the file as it was is kept beside it.
    const auto said = log().linesWith("has lines that are not settings");
    ASSERT_EQ(said.size(), 1u) << log().tail();
    for (const char* line : {"line 2:", "line 3:", "line 4:", "line 5:", "line 7:", "line 8:",
                             "line 9:", "line 10:"}) {
        EXPECT_NE(said.front().find(line), std::string::npos) << line << " in " << said.front();
    }
    EXPECT_EQ(said.front().find("line 6:"), std::string::npos) << said.front();
    std::optional<fs::path> copy;
    for (const auto& entry : fs::directory_iterator(session().settingsFile().parent_path())) {
        if (entry.path().filename().string().starts_with("Lumivoke.conf.corrupt-")) {
            copy = entry.path();
        }
    }
    ASSERT_TRUE(copy.has_value()) << "no copy of the file";
    EXPECT_NE(said.front().find(copy->string()), std::string::npos) << said.front();
    EXPECT_EQ(readFile(*copy), std::string(kGarbage, sizeof kGarbage - 1));

    // The defaults: the tray icon (the session waited for it), the hover badge, no rules.
    x().movePointer(300, 300);
    EXPECT_TRUE(eventually([&] { return viewable(session().badge()); }))
        << "no badge over text" << x().describeWindows();
    expectTheEssentialsWork(session());
    const auto text = readFile(session().settingsFile()).value_or("");
    for (const char* line :
         {"HoverBadgeEnabled=b:1", "PerAppRulesEnabled=b:0", "HUDOnAutoSwitchEnabled=b:1"}) {
        EXPECT_NE(text.find(line), std::string::npos) << "no " << line << " in:\n" << text;
    }
    for (const char* junk :
         {"b:maybe", "i:seven", "yes please", "garbage", "no equals", "[General\n", "\n=\n"}) {
        EXPECT_EQ(text.find(junk), std::string::npos) << junk << " written back:\n" << text;
    }
    // Rules that cannot be decoded are the rules store's to set aside at the first edit: the
    // store is told, and until then they stay as they are.
    EXPECT_EQ(log().linesWith("failed to decode PerAppRules").size(), 1u) << log().tail();
    EXPECT_NE(text.find("PerAppRules=x:%%%not base64%%%\n"), std::string::npos) << text;
}

/// Whether a program listens on the local socket at path.
bool socketAnswers(const fs::path& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.string().copy(address.sun_path, sizeof address.sun_path - 1);
    const bool answered =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return answered;
}

class AfterACrashTest : public DesktopTest {};

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
