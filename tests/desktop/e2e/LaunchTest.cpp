// Starting the program: its command line, a machine without a display, and launches that come
// before the running one is ready or at the same moment.
#include "DesktopTest.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace lumivoke::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

/// What a run of the program without any X server printed, and how it ended.
struct Outcome {
    std::optional<int> status;
    std::string output;
};

Outcome runWithoutDisplay(const std::vector<std::string>& arguments,
                          std::optional<std::string> display = std::nullopt) {
    TempDir dir;
    const char* path = std::getenv("PATH");
    Environment environment{{"PATH", path != nullptr ? path : "/usr/bin:/bin"},
                            {"HOME", dir.path().string()},
                            {"TMPDIR", dir.path().string()}};
    if (display) {
        environment["DISPLAY"] = *display;
    }
    std::vector<std::string> argv{LUMIVOKE_BINARY};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    Outcome outcome;
    outcome.status = runCommand(argv, environment, seconds(10), dir.path() / "output");
    outcome.output = readFile(dir.path() / "output").value_or("");
    return outcome;
}

TEST(CommandLineTest, HelpAndVersionNeedNoDisplay) {
    const auto help = runWithoutDisplay({"--help"});
    EXPECT_EQ(help.status, 0) << help.output;
    EXPECT_NE(help.output.find("Usage: lumivoke"), std::string::npos) << help.output;
    EXPECT_NE(help.output.find("right-ctrl"), std::string::npos) << help.output;
    const auto version = runWithoutDisplay({"--version"});
    EXPECT_EQ(version.status, 0) << version.output;
    EXPECT_EQ(version.output.rfind("Lumivoke ", 0), 0u) << version.output;
    EXPECT_NE(version.output.find("(Build "), std::string::npos) << version.output;
}

TEST(CommandLineTest, WithoutADisplayItSaysSoAndNamesTheSimulator) {
    // Unset, and set to a display nobody serves: both end with status 2, not with Qt's abort.
    for (const auto& display : {std::optional<std::string>(), std::optional<std::string>(":97")}) {
        const auto run = runWithoutDisplay({}, display);
        EXPECT_EQ(run.status, 2) << run.output;
        EXPECT_NE(run.output.find("lumivoke-sim"), std::string::npos) << run.output;
        if (display) {
            EXPECT_NE(run.output.find("\":97\""), std::string::npos) << run.output;
        }
    }
}

TEST(CommandLineTest, AnUnknownTriggerOrOptionIsAnError) {
    const auto trigger = runWithoutDisplay({"--trigger", "caps-lock"});
    EXPECT_EQ(trigger.status, 2);
    EXPECT_NE(trigger.output.find("unknown trigger key \"caps-lock\"; the keys are: right-ctrl, "
                                  "right-alt, left-super, right-super, menu, scroll-lock, "
                                  "pause, fn"),
              std::string::npos)
        << trigger.output;
    const auto option = runWithoutDisplay({"--frobnicate"});
    EXPECT_EQ(option.status, 2);
    EXPECT_NE(option.output.find("--help"), std::string::npos) << option.output;
}

class EarlyLaunchTest : public DesktopTest {
protected:
    SessionOptions sessionOptions() const override {
        SessionOptions options;
        options.lumivoke = false;
        return options;
    }
};

TEST_F(EarlyLaunchTest, ALaunchWhileTheFirstIsStartingIsAnsweredOnceItIs) {
    // The lock as an instance holds it from its first moments, before it listens: the test
    // plays that instance's start, then lets the real program take its place.
    const int lock = open(session().instanceLock().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(flock(lock, LOCK_EX | LOCK_NB), 0);
    const auto second = session().spawnLumivoke("second.log");
    const LogFile secondLog = session().sessionLog("second.log");
    EXPECT_FALSE(secondLog.waitFor("waiting for it to answer").empty()) << secondLog.tail();
    EXPECT_TRUE(second->running()) << "the second launch did not wait";
    close(lock);

    ASSERT_TRUE(session().startLumivoke());
    EXPECT_EQ(second->wait(seconds(10)), 0) << secondLog.tail();
    EXPECT_TRUE(eventually([&] { return session().settingsWindow().has_value(); }))
        << "the early launch was lost" << x().describeWindows() << log().tail();
    EXPECT_TRUE(secondLog.linesWith("NSEvent global monitor started").empty())
        << "the second launch ran as well";
}

TEST_F(EarlyLaunchTest, TwoLaunchesAtOnceMakeOneInstance) {
    const auto a = session().spawnLumivoke("a.log");
    const auto b = session().spawnLumivoke("b.log");
    ASSERT_TRUE(eventually([&] { return !a->running() || !b->running(); }, milliseconds(15000)))
        << "both still run";
    Process& ended = a->running() ? *b : *a;
    Process& running = a->running() ? *a : *b;
    EXPECT_EQ(ended.exitStatus(), 0);
    EXPECT_TRUE(eventually([&] { return session().settingsWindow().has_value(); }))
        << "the other launch's request was lost" << x().describeWindows();
    EXPECT_TRUE(running.running());
}

}  // namespace
}  // namespace lumivoke::e2e
