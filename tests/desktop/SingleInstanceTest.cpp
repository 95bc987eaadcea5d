#include "SingleInstance.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "ScratchDir.h"
#include "UnixSocket.h"

namespace lumivoke::desktop {
namespace {

namespace fs = std::filesystem;

using Folder = testing_support::ScratchDir;

/// A socket listening where the first instance would, as the running program does.
class Listener {
public:
    explicit Listener(const fs::path& path) : fd_(testing_support::listenAt(path, 8)) {
        EXPECT_GE(fd_, 0);
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

TEST(SingleInstance, TheSocketLivesInTheRuntimeFolderWhenItIsTheUsersAlone) {
    const char* before = std::getenv("XDG_RUNTIME_DIR");
    const std::optional<std::string> saved =
        before ? std::optional<std::string>(before) : std::nullopt;
    const fs::path runtime =
        fs::temp_directory_path() / ("lumivoke-runtime-" + std::to_string(getpid()));
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    setenv("XDG_RUNTIME_DIR", (runtime.string() + "/").c_str(), 1);
    EXPECT_EQ(SingleInstance::standardFolder(), runtime);
    // Others may enter it, it is not there, or it is not a path: the temporary folder.
    fs::permissions(runtime, fs::perms::owner_all | fs::perms::group_exec,
                    fs::perm_options::replace);
    EXPECT_EQ(SingleInstance::standardFolder(), SingleInstance::temporaryFolder());
    fs::remove_all(runtime);
    EXPECT_EQ(SingleInstance::standardFolder(), SingleInstance::temporaryFolder());
    setenv("XDG_RUNTIME_DIR", "relative/run", 1);
    EXPECT_EQ(SingleInstance::standardFolder(), SingleInstance::temporaryFolder());
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SingleInstance::standardFolder(), SingleInstance::temporaryFolder());
    if (saved) {
        setenv("XDG_RUNTIME_DIR", saved->c_str(), 1);
    }
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
