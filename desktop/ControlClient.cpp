#include "ControlClient.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <nlohmann/json.hpp>
#include <ostream>

namespace lumivoke::desktop {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool sendAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

/// The status an answer line stands for, with its error said on err.
int statusOf(const std::string& line, std::ostream& err) {
    const auto answer = nlohmann::json::parse(line, nullptr, false);
    if (!answer.is_object() || !answer.contains("ok") || !answer["ok"].is_boolean()) {
        err << "lumivoke: Lumivoke answered something that is not an answer\n";
        return controlNotRunning;
    }
    if (answer["ok"].get<bool>()) {
        return controlOK;
    }
    const auto error = answer.find("error");
    err << "lumivoke: "
        << (error != answer.end() && error->is_string() ? error->get<std::string>()
                                                        : std::string("the request was refused"))
        << "\n";
    return controlRefused;
}

}  // namespace

int runControlClient(const std::filesystem::path& socketPath, const std::string& requestLine,
                     bool watch, std::ostream& out, std::ostream& err) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = socketPath.string();
    const Descriptor fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (path.size() >= sizeof address.sun_path || fd.get() < 0) {
        err << "lumivoke: cannot reach Lumivoke at " << path << "\n";
        return controlNotRunning;
    }
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    if (connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        err << "lumivoke: Lumivoke is not running (nothing answers at " << path << ")\n";
        return controlNotRunning;
    }
    if (!sendAll(fd.get(), requestLine + "\n")) {
        err << "lumivoke: Lumivoke closed the connection before the request was sent\n";
        return controlNotRunning;
    }
    std::string pending;
    char buffer[4096];
    int status = controlNotRunning;
    bool answered = false;
    for (;;) {
        const ssize_t n = recv(fd.get(), buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        pending.append(buffer, static_cast<std::size_t>(n));
        std::size_t newline = 0;
        while ((newline = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, newline);
            pending.erase(0, newline + 1);
            out << line << '\n' << std::flush;
            if (!answered) {
                answered = true;
                status = statusOf(line, err);
                if (!watch || status != controlOK) {
                    return status;
                }
            }
        }
    }
    if (!answered) {
        err << "lumivoke: Lumivoke closed the connection without an answer\n";
        return controlNotRunning;
    }
    // A watch ends when Lumivoke does.
    err << "lumivoke: Lumivoke is no longer running\n";
    return controlNotRunning;
}

}  // namespace lumivoke::desktop
