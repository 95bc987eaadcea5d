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
    /// Takes the lock in folder (the user's runtime folder where there is one).
    explicit SingleInstance(std::filesystem::path folder = standardFolder());
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

    /// The name of the first one's socket: "lumivoke-<uid>".
    static std::string serverName();
    /// $TMPDIR, else /tmp: where the socket and the lock go when there is no runtime folder.
    static std::filesystem::path temporaryFolder();
    /// Where the socket and the lock live: $XDG_RUNTIME_DIR, which only the user can enter,
    /// when it is set to such a folder; else the temporary folder (the socket itself is then
    /// the user's alone).
    static std::filesystem::path standardFolder();
    std::filesystem::path socketPath() const { return folder_ / serverName(); }
    std::filesystem::path lockPath() const { return folder_ / (serverName() + ".lock"); }

private:
    std::filesystem::path folder_;
    int lockFd_ = -1;
    bool isFirst_ = false;
};

}  // namespace lumivoke::desktop
