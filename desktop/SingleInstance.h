#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace lumivoke::desktop {

/// One Lumivoke per user. The first process takes a lock that the kernel releases when the
/// process ends, however it ends (a socket file can outlive a crash, a lock cannot); later
/// ones ask it through its local socket to open its settings. A later launch may come while
/// the first is still starting and not yet listening: it keeps asking until the first answers.
/// Plain POSIX, so that a later launch needs neither Qt nor a display connection.
class SingleInstance {
public:
    /// Takes the lock in folder (the temporary folder, where Qt's local sockets live too).
    explicit SingleInstance(std::filesystem::path folder = temporaryFolder());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    /// Whether this process is the one that runs.
    bool isFirst() const { return isFirst_; }

    /// As a later launch: connects to the first one's socket, which asks it to open its
    /// settings. Tries up to attempts times, calling pause() between two tries (and
    /// onWaiting() once, before the first pause). Whether the first one answered.
    bool askFirstToReopen(int attempts, const std::function<void()>& pause,
                          const std::function<void()>& onWaiting);

    /// The name of the first one's socket (a QLocalServer name): "lumivoke-<uid>".
    static std::string serverName();
    /// $TMPDIR, else /tmp: where QLocalServer puts a socket named without a folder.
    static std::filesystem::path temporaryFolder();
    std::filesystem::path socketPath() const { return folder_ / serverName(); }
    std::filesystem::path lockPath() const { return folder_ / (serverName() + ".lock"); }

private:
    std::filesystem::path folder_;
    int lockFd_ = -1;
    bool isFirst_ = false;
};

}  // namespace lumivoke::desktop
