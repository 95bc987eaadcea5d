#include "SingleInstance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace lumivoke::desktop {
namespace {

namespace fs = std::filesystem;

/// A folder of the test's own.
class Folder {
public:
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "lumivoke-instance-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~Folder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

/// A socket listening where the first instance would, as QLocalServer does.
class Listener {
public:
    explicit Listener(const fs::path& path) {
        fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.string().copy(address.sun_path, sizeof address.sun_path - 1);
        EXPECT_EQ(bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(listen(fd_, 8), 0);
    }
    ~Listener() { close(fd_); }

private:
    int fd_ = -1;
};

TEST(SingleInstance, TheFirstHoldsTheLockUntilItEnds) {
    Folder folder;
    std::optional<SingleInstance> first(std::in_place, folder.path());
    EXPECT_TRUE(first->isFirst());
    {
        SingleInstance second(folder.path());
        EXPECT_FALSE(second.isFirst());
    }
    // However the first ends, the kernel lets go of its lock; the lock file stays behind.
    first.reset();
    EXPECT_TRUE(fs::exists(folder.path() / (SingleInstance::serverName() + ".lock")));
    SingleInstance next(folder.path());
    EXPECT_TRUE(next.isFirst());
}

TEST(SingleInstance, ALaterLaunchAsksAtOnceWhenTheFirstListens) {
    Folder folder;
    SingleInstance first(folder.path());
    Listener listener(first.socketPath());
    SingleInstance second(folder.path());
    int pauses = 0;
    int waits = 0;
    EXPECT_TRUE(second.askFirstToReopen(
        5, [&] { ++pauses; }, [&] { ++waits; }));
    EXPECT_EQ(pauses, 0);
    EXPECT_EQ(waits, 0);
}

TEST(SingleInstance, ALaterLaunchWaitsForAFirstThatIsStillStarting) {
    Folder folder;
    SingleInstance first(folder.path());
    SingleInstance second(folder.path());
    std::optional<Listener> listener;
    int pauses = 0;
    int waits = 0;
    // The first starts listening during the second's third pause.
    EXPECT_TRUE(second.askFirstToReopen(
        10,
        [&] {
            if (++pauses == 3) {
                listener.emplace(first.socketPath());
            }
        },
        [&] { ++waits; }));
    EXPECT_EQ(pauses, 3);
    EXPECT_EQ(waits, 1) << "said once that it waits";
}

TEST(SingleInstance, ALaterLaunchGivesUpOnAFirstThatNeverAnswers) {
    Folder folder;
    SingleInstance first(folder.path());
    SingleInstance second(folder.path());
    int pauses = 0;
    EXPECT_FALSE(second.askFirstToReopen(
        4, [&] { ++pauses; }, nullptr));
    EXPECT_EQ(pauses, 3);
}

TEST(SingleInstance, TheSocketLivesInTheTemporaryFolderAsQtPutsIt) {
    const char* before = std::getenv("TMPDIR");
    const std::optional<std::string> saved =
        before ? std::optional<std::string>(before) : std::nullopt;
    setenv("TMPDIR", "/var/tmp/somewhere//", 1);
    EXPECT_EQ(SingleInstance::temporaryFolder(), fs::path("/var/tmp/somewhere"));
    unsetenv("TMPDIR");
    EXPECT_EQ(SingleInstance::temporaryFolder(), fs::path("/tmp"));
    if (saved) {
        setenv("TMPDIR", saved->c_str(), 1);
    }
    EXPECT_EQ(SingleInstance::serverName(), "lumivoke-" + std::to_string(getuid()));
}

}  // namespace
}  // namespace lumivoke::desktop
