#include "SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>

namespace lumivoke::desktop {
namespace {

/// Whether a process listens on the socket at path. A listening socket accepts the connection
/// into its backlog at once, even while its owner is busy elsewhere.
bool answers(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string text = path.string();
    if (text.size() >= sizeof address.sun_path) {
        return false;
    }
    text.copy(address.sun_path, sizeof address.sun_path - 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool connected =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

}  // namespace

std::string SingleInstance::serverName() {
    return "lumivoke-" + std::to_string(getuid());
}

std::filesystem::path SingleInstance::temporaryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
    // As Qt cleans it: no trailing separator.
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

SingleInstance::SingleInstance(std::filesystem::path folder) : folder_(std::move(folder)) {
    lockFd_ = open(lockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        // No lock to be had (a read-only folder): whoever answers on the socket runs.
        isFirst_ = !answers(socketPath());
        return;
    }
    isFirst_ = flock(lockFd_, LOCK_EX | LOCK_NB) == 0;
}

SingleInstance::~SingleInstance() {
    if (lockFd_ >= 0) {
        close(lockFd_);
    }
}

bool SingleInstance::askFirstToReopen(int attempts, const std::function<void()>& pause,
                                      const std::function<void()>& onWaiting) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (answers(socketPath())) {
            return true;
        }
        if (attempt + 1 == attempts) {
            break;
        }
        if (attempt == 0 && onWaiting) {
            onWaiting();
        }
        if (pause) {
            pause();
        }
    }
    return false;
}

}  // namespace lumivoke::desktop
