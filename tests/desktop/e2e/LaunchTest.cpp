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

// The words and texts themselves are the command line's unit tests' (CommandLineTest); here
// the program answers before it needs a display, with the status a script reads.
TEST(CommandLineTest, AnswersWithoutADisplayWithItsStatus) {
    const struct {
        std::vector<std::string> arguments;
        std::optional<std::string> display;
        int status;
        std::vector<std::string> said;
    } cases[] = {
        {{"--help"}, std::nullopt, 0, {"Usage: lumivoke", "right-ctrl"}},
        {{"--version"}, std::nullopt, 0, {"Lumivoke ", "(Build "}},
        // Unset, and set to a display nobody serves: both end with status 2, not Qt's abort.
        {{}, std::nullopt, 2, {"lumivoke-sim"}},
        {{}, ":97", 2, {"lumivoke-sim", "\":97\""}},
        {{"--trigger", "caps-lock"}, std::nullopt, 2, {"unknown trigger key \"caps-lock\""}},
        {{"--frobnicate"}, std::nullopt, 2, {"--help"}},
    };
    for (const auto& c : cases) {
        const auto run = runWithoutDisplay(c.arguments, c.display);
        EXPECT_EQ(run.status, c.status) << run.output;
        for (const auto& text : c.said) {
            EXPECT_NE(run.output.find(text), std::string::npos) << text << " in " << run.output;
        }
    }
}

using EarlyLaunchTest = WithSession<[](SessionOptions& o) { o.lumivoke = false; }>;

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
