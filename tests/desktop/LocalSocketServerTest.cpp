#include "LocalSocketServer.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "QtTestLoop.h"
#include "ScratchDir.h"
#include "UnixSocket.h"

namespace lumivoke::desktop {
namespace {

namespace fs = std::filesystem;
using Id = LocalSocketServer::ConnectionId;

/// A client end, as `lumivoke ctl` and a later launch open one.
class Client {
public:
    explicit Client(const fs::path& path) : fd_(testing_support::connectTo(path)) {}
    ~Client() { hangUp(); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool connected() const { return fd_ >= 0; }
    void write(const std::string& bytes) {
        ASSERT_EQ(send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }
    /// What has arrived, without waiting.
    std::string readAvailable() {
        std::string out;
        char buffer[65536];
        for (;;) {
            const ssize_t n = recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n <= 0) {
                return out;
            }
            out.append(buffer, static_cast<std::size_t>(n));
        }
    }
    void hangUp() {
        if (fd_ >= 0) {
            close(fd_);
            fd_ = -1;
        }
    }

private:
    int fd_;
};

class LocalSocketServerTest : public ::testing::Test {
protected:
    std::unique_ptr<LocalSocketServer> makeServer() {
        return std::make_unique<LocalSocketServer>(LocalSocketServer::Handlers{
            [this](Id id) { connected.push_back(id); },
            [this](Id id, std::string_view bytes) { received[id] += bytes; },
            [this](Id id) { closed.push_back(id); }});
    }

    bool runUntil(const std::function<bool()>& done) {
        return testing_support::turnLoopUntil(done);
    }

    LocalSocketServerTest() { testing_support::ensureQtApplication(); }

    testing_support::ScratchDir scratch{"lumivoke-socket"};
    fs::path folder = scratch.path();
    fs::path path = folder / "lumivoke-test";
    std::vector<Id> connected;
    std::map<Id, std::string> received;
    std::vector<Id> closed;
};

TEST_F(LocalSocketServerTest, ServesEachClientApartAndHearsItLeave) {
    std::ofstream(path) << "a crashed instance's socket file";
    auto server = makeServer();
    ASSERT_EQ(server->listen(path), "");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 077, 0u) << "no access for the group or others";

    Client first(path);
    Client second(path);
    ASSERT_TRUE(first.connected() && second.connected());
    ASSERT_TRUE(runUntil([&] { return connected.size() == 2; }));
    EXPECT_NE(connected[0], connected[1]);
    first.write("list\n");
    second.write("current\n");
    ASSERT_TRUE(runUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(received[connected[0]], "list\n");
    EXPECT_EQ(received[connected[1]], "current\n");

    server->send(connected[1], "{\"id\":\"xkb:de\"}\n");
    std::string reply;
    ASSERT_TRUE(runUntil([&] {
        reply += second.readAvailable();
        return !reply.empty();
    }));
    EXPECT_EQ(reply, "{\"id\":\"xkb:de\"}\n");
    EXPECT_EQ(first.readAvailable(), "") << "the other client hears nothing of it";
    second.hangUp();
    ASSERT_TRUE(runUntil([&] { return closed.size() == 1; }));
    EXPECT_EQ(closed[0], connected[1]);
    EXPECT_EQ(server->connectionCount(), 1u);
    // A connection gone is ignored, and its number is never given again.
    server->send(connected[1], "late\n");
    Client third(path);
    ASSERT_TRUE(runUntil([&] { return connected.size() == 3; }));
    EXPECT_NE(connected[2], connected[1]);
}

TEST_F(LocalSocketServerTest, RepliesTheSocketCannotTakeAtOnceArriveWholeAndInOrder) {
    auto server = makeServer();
    ASSERT_EQ(server->listen(path), "");
    Client client(path);
    ASSERT_TRUE(runUntil([&] { return connected.size() == 1; }));
    // Far more than a socket buffer holds, sent while the client reads nothing.
    std::string expected;
    for (int i = 0; i < 40000; ++i) {
        const std::string line = "{\"change\":" + std::to_string(i) + "}\n";
        server->send(connected[0], line);
        expected += line;
    }
    std::string got;
    ASSERT_TRUE(runUntil([&] {
        got += client.readAvailable();
        return got.size() >= expected.size();
    }));
    EXPECT_EQ(got, expected);
}

TEST_F(LocalSocketServerTest, AClientThatLeavesWithRepliesUnsentIsClosedQuietly) {
    auto server = makeServer();
    ASSERT_EQ(server->listen(path), "");
    {
        Client client(path);
        ASSERT_TRUE(runUntil([&] { return connected.size() == 1; }));
        server->send(connected[0], std::string(4 << 20, 'x'));
    }
    server->send(connected[0], "more after it left\n");
    ASSERT_TRUE(runUntil([&] { return closed.size() == 1; }));
    EXPECT_EQ(server->connectionCount(), 0u);
}

TEST_F(LocalSocketServerTest, NothingIsHeardOnceTheServerIsGoneAndItsFileGoesWithIt) {
    auto server = makeServer();
    ASSERT_EQ(server->listen(path), "");
    Client client(path);
    ASSERT_TRUE(runUntil([&] { return connected.size() == 1; }));
    client.write("watch\n");
    server.reset();
    EXPECT_FALSE(fs::exists(path));
    // Anything the loop still held for the server runs into nothing.
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_TRUE(received.empty());
    EXPECT_TRUE(closed.empty());
}

TEST_F(LocalSocketServerTest, SaysWhyItCannotListen) {
    auto server = makeServer();
    EXPECT_NE(server->listen(folder / "no-such-folder" / "socket"), "");
    EXPECT_NE(server->listen(folder / std::string(200, 'n')).find("longer than"),
              std::string::npos);
    EXPECT_FALSE(server->isListening());
}

}  // namespace
}  // namespace lumivoke::desktop
