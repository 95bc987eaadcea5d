// `lumivoke ctl`: scripts and status bars talking to the running program over its socket.
#include "DesktopTest.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "UnixSocket.h"

namespace lumivoke::e2e {
namespace {

class ControlTest : public DesktopTest {
protected:
    /// Runs `lumivoke ctl ARGS` to its end: its exit status and what it printed.
    std::pair<std::optional<int>, std::string> ctl(const std::vector<std::string>& args) {
        const std::string output = "ctl-" + std::to_string(++runs_) + ".log";
        std::vector<std::string> arguments{"ctl"};
        arguments.insert(arguments.end(), args.begin(), args.end());
        auto process = session().spawnLumivoke(output, arguments);
        const auto status = process->wait(milliseconds(10000));
        return {status, readFile(session().folder() / output).value_or("")};
    }

    int runs_ = 0;
};

TEST_F(ControlTest, ListsSwitchesSelectsAndOpensTheSettings) {
    auto [status, output] = ctl({"list"});
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output,
              "{\"layouts\":[{\"code\":\"EN\",\"current\":true,\"id\":\"xkb:us\",\"name\":"
              "\"English (US)\"},{\"code\":\"DE\",\"current\":false,\"id\":\"xkb:de\",\"name\":"
              "\"German\"},{\"code\":\"RU\",\"current\":false,\"id\":\"xkb:ru\",\"name\":"
              "\"Russian\"}],\"ok\":true}\n");

    std::tie(status, output) = ctl({"next"});
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("\"id\":\"xkb:de\""), std::string::npos) << output;
    EXPECT_TRUE(session().switchedTo(1, "DE"));

    std::tie(status, output) = ctl({"select", "xkb:ru"});
    EXPECT_EQ(status, 0) << output;
    EXPECT_TRUE(session().switchedTo(2, "RU"));
    std::tie(status, output) = ctl({"current"});
    EXPECT_EQ(output,
              "{\"current\":{\"code\":\"RU\",\"id\":\"xkb:ru\",\"name\":\"Russian\"},"
              "\"ok\":true}\n");

    std::tie(status, output) = ctl({"settings", "setup"});
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output, "{\"ok\":true,\"settings\":{\"open\":true,\"tab\":\"setup\"}}\n");
    EXPECT_TRUE(eventually([&] { return session().settingsWindow().has_value(); }));
    std::tie(status, output) = ctl({"state"});
    EXPECT_EQ(status, 0) << output;
    for (const char* part : {"\"settings\":{\"open\":true,\"tab\":\"setup\"}",
                             "\"switches\":{\"hoverBadge\":true", "\"hud\":{"}) {
        EXPECT_NE(output.find(part), std::string::npos) << part << " in " << output;
    }
}

TEST_F(ControlTest, AWatchPrintsEachChangeWhoeverMakesIt) {
    auto watch = session().spawnLumivoke("watch.log", {"ctl", "watch"});
    const LogFile lines = session().sessionLog("watch.log");
    ASSERT_FALSE(lines.waitFor("\"id\":\"xkb:us\"").empty()) << lines.tail();
    session().tapTrigger();
    EXPECT_FALSE(lines.waitFor("\"id\":\"xkb:de\"").empty()) << lines.tail();
    // Another program locks the group.
    x().lockGroup(2);
    EXPECT_FALSE(lines.waitFor("\"id\":\"xkb:ru\"").empty()) << lines.tail();
    EXPECT_EQ(lines.lines().size(), 3u) << lines.tail();
    EXPECT_TRUE(watch->running());
    // It ends when the program does, saying so.
    session().lumivoke()->stop();
    EXPECT_EQ(watch->wait(milliseconds(5000)), 1);
    EXPECT_FALSE(lines.waitFor("no longer running").empty()) << lines.tail();
}

TEST_F(ControlTest, MistakesAndAnAbsentProgramHaveTheirOwnStatus) {
    const std::pair<std::vector<std::string>, std::string> usage[] = {
        {{}, "lumivoke: ctl needs a command"},
        {{"lst"}, "lumivoke: unknown ctl command \"lst\""},
        {{"select"}, "lumivoke: ctl select needs one layout id"},
        {{"settings", "advanced"}, "lumivoke: unknown tab \"advanced\""},
    };
    for (const auto& [args, message] : usage) {
        const auto [status, output] = ctl(args);
        EXPECT_EQ(status, 2) << output;
        EXPECT_EQ(output.rfind(message, 0), 0u) << output;
    }
    // A request the program refuses: its answer, and the reason said plainly.
    auto [status, output] = ctl({"select", "xkb:fr"});
    EXPECT_EQ(status, 2) << output;
    EXPECT_NE(output.find("\"ok\":false"), std::string::npos) << output;
    EXPECT_NE(output.find("lumivoke: no layout has the id xkb:fr"), std::string::npos) << output;
    EXPECT_EQ(x().group(), 0);

    session().lumivoke()->stop();
    std::tie(status, output) = ctl({"current"});
    EXPECT_EQ(status, 1) << output;
    EXPECT_EQ(output.rfind("lumivoke: Lumivoke is not running", 0), 0u) << output;
}

std::string readLines(int fd, std::size_t count) {
    std::string text;
    char buffer[4096];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) < count &&
           std::chrono::steady_clock::now() < deadline) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else {
            usleep(10000);
        }
    }
    return text;
}

TEST_F(ControlTest, JunkOnTheSocketGetsErrorsAndDisturbsNothing) {
    const fs::path socketPath = session().instanceSocket();
    // Reachable by the user alone.
    struct stat info {};
    ASSERT_EQ(stat(socketPath.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u) << std::oct << info.st_mode;
    ASSERT_EQ(stat(socketPath.parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u) << std::oct << info.st_mode;

    // As a careless or hostile client would.
    const int fd = testing_support::connectTo(socketPath);
    ASSERT_GE(fd, 0);
    const std::string junk = "garbage\n{\"command\":\"next\"\n" + std::string(100000, '{') +
                             "\n\x01\xff\n{\"command\":\"current\"}\n";
    ASSERT_EQ(send(fd, junk.data(), junk.size(), MSG_NOSIGNAL), static_cast<ssize_t>(junk.size()));
    const std::string answers = readLines(fd, 5);
    close(fd);
    const std::string notJSON = "{\"error\":\"the request is not JSON\",\"ok\":false}\n";
    EXPECT_EQ(answers, notJSON + notJSON +
                           "{\"error\":\"the request is longer than 4096 bytes\",\"ok\":false}\n" +
                           notJSON +
                           "{\"current\":{\"code\":\"EN\",\"id\":\"xkb:us\",\"name\":\"English "
                           "(US)\"},\"ok\":true}\n");
    // Nothing switched, no settings window opened (a client that spoke is no later launch),
    // and the program goes on as before.
    EXPECT_EQ(x().group(), 0);
    EXPECT_FALSE(session().settingsWindow().has_value());
    session().tapTrigger();
    EXPECT_TRUE(session().switchedTo(1, "DE"));
    EXPECT_TRUE(session().lumivoke()->running());
    const auto [status, output] = ctl({"current"});
    EXPECT_EQ(status, 0) << output;
}

}  // namespace
}  // namespace lumivoke::e2e
