#include "ControlClient.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include "UnixSocket.h"

// The client against a stand-in for the running program: a socket that reads one request line
// and answers with canned bytes.
namespace lumivoke::desktop {
namespace {

namespace fs = std::filesystem;

class FakeProgram {
public:
    explicit FakeProgram(std::string reply) : reply_(std::move(reply)) {
        path_ = fs::temp_directory_path() / ("lumivoke-ctl-" + std::to_string(getpid()));
        fs::remove(path_);
        listener_ = testing_support::listenAt(path_, 1);
        EXPECT_GE(listener_, 0);
        thread_ = std::thread([this] {
            const int fd = accept(listener_, nullptr, nullptr);
            if (fd < 0) {
                return;
            }
            char c = 0;
            while (read(fd, &c, 1) == 1 && c != '\n') {
                request_ += c;
            }
            (void)!write(fd, reply_.data(), reply_.size());
            close(fd);
        });
    }
    ~FakeProgram() {
        if (thread_.joinable()) {
            thread_.join();
        }
        close(listener_);
        fs::remove(path_);
    }
    const fs::path& path() const { return path_; }
    /// The request line it got, once it has answered and gone.
    const std::string& request() {
        thread_.join();
        return request_;
    }

private:
    std::string reply_;
    fs::path path_;
    int listener_ = -1;
    std::thread thread_;
    std::string request_;
};

TEST(ControlClient, StatusAndOutputFollowTheAnswer) {
    struct Case {
        std::string reply;
        bool watch;
        int status;
        std::string out;
        std::string err;
    };
    const Case cases[] = {
        {"{\"ok\":true,\"current\":null}\n", false, controlOK, "{\"ok\":true,\"current\":null}\n",
         ""},
        {"{\"ok\":false,\"error\":\"no layout has the id x\"}\n", false, controlRefused,
         "{\"ok\":false,\"error\":\"no layout has the id x\"}\n",
         "lumivoke: no layout has the id x\n"},
        // Only the first line answers a request; a watch prints every line until the end.
        {"{\"ok\":true}\n{\"ok\":true,\"more\":1}\n", false, controlOK, "{\"ok\":true}\n", ""},
        {"{\"ok\":true,\"n\":1}\n{\"ok\":true,\"n\":2}\n", true, controlNotRunning,
         "{\"ok\":true,\"n\":1}\n{\"ok\":true,\"n\":2}\n",
         "lumivoke: Lumivoke is no longer running\n"},
        {"{\"ok\":false,\"error\":\"bad\"}\n", true, controlRefused,
         "{\"ok\":false,\"error\":\"bad\"}\n", "lumivoke: bad\n"},
        // Not an answer, or none at all.
        {"hello\n", false, controlNotRunning, "hello\n",
         "lumivoke: Lumivoke answered something that is not an answer\n"},
        {"{\"ok\":true}", false, controlNotRunning, "",
         "lumivoke: Lumivoke closed the connection without an answer\n"},
        {"", false, controlNotRunning, "",
         "lumivoke: Lumivoke closed the connection without an answer\n"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        int status = -1;
        {
            FakeProgram program(c.reply);
            status =
                runControlClient(program.path(), "{\"command\":\"current\"}", c.watch, out, err);
            // Joins the program's thread: its request is complete.
        }
        EXPECT_EQ(status, c.status) << c.reply;
        EXPECT_EQ(out.str(), c.out) << c.reply;
        EXPECT_EQ(err.str(), c.err) << c.reply;
    }
}

TEST(ControlClient, SendsTheRequestAsOneLine) {
    std::ostringstream out;
    std::ostringstream err;
    std::string request;
    {
        FakeProgram program("{\"ok\":true}\n");
        runControlClient(program.path(), "{\"command\":\"state\"}", false, out, err);
        request = program.request();
    }
    EXPECT_EQ(request, "{\"command\":\"state\"}");
}

TEST(ControlClient, NobodyListeningIsNotRunning) {
    std::ostringstream out;
    std::ostringstream err;
    const fs::path nowhere = fs::temp_directory_path() / "lumivoke-ctl-nobody-here";
    EXPECT_EQ(runControlClient(nowhere, "{\"command\":\"list\"}", false, out, err),
              controlNotRunning);
    EXPECT_TRUE(out.str().empty());
    EXPECT_EQ(err.str(),
              "lumivoke: Lumivoke is not running (nothing answers at " + nowhere.string() + ")\n");
}

}  // namespace
}  // namespace lumivoke::desktop
