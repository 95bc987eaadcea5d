#include "LocalSocketServer.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lumivoke::desktop {
namespace {

// Each read takes at most this much; a client that sends more is read again on the next turn.
constexpr std::size_t kReadChunk = 4096;

/// A notifier that is done with: off at once, destroyed once the loop is out of its signal.
void retire(std::unique_ptr<QSocketNotifier>& notifier) {
    if (notifier) {
        notifier->setEnabled(false);
        notifier.release()->deleteLater();
    }
}

/// A slot for a notifier's signal (whose arguments it drops) that calls fn while the server lives.
template <class F>
auto whileAlive(Weak<LocalSocketServer> server, F fn) {
    return [server = std::move(server), fn = std::move(fn)] {
        if (LocalSocketServer* self = server.lock()) {
            fn(*self);
        }
    };
}

}  // namespace

struct LocalSocketServer::Connection {
    int fd = -1;
    std::unique_ptr<QSocketNotifier> reader;
    std::unique_ptr<QSocketNotifier> writer;
    std::string unsent;
};

LocalSocketServer::LocalSocketServer(Handlers handlers) : handlers_(std::move(handlers)) {}

LocalSocketServer::~LocalSocketServer() {
    for (auto& [id, connection] : connections_) {
        retire(connection->reader);
        retire(connection->writer);
        close(connection->fd);
    }
    retire(acceptor_);
    if (listener_ >= 0) {
        close(listener_);
        unlink(path_.c_str());
    }
}

std::string LocalSocketServer::listen(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = path.string();
    if (name.empty() || name.size() >= sizeof(address.sun_path)) {
        return "the socket path is empty or longer than " +
               std::to_string(sizeof(address.sun_path) - 1) + " bytes";
    }
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return std::strerror(errno);
    }
    // The caller holds the single-instance lock: a socket file there is a crashed instance's.
    unlink(name.c_str());
    // Created for this user alone from the start, not opened up and then closed.
    const mode_t previous = umask(0077);
    const int bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    const int bindError = errno;
    umask(previous);
    if (bound != 0 || ::listen(fd, SOMAXCONN) != 0) {
        const std::string why = std::strerror(bound != 0 ? bindError : errno);
        close(fd);
        return why;
    }
    listener_ = fd;
    path_ = path;
    acceptor_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(acceptor_.get(), &QSocketNotifier::activated,
                     whileAlive(anchor_.weak(), [](LocalSocketServer& self) { self.accept(); }));
    return {};
}

void LocalSocketServer::accept() {
    for (;;) {
        const int fd = accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            // EAGAIN: all taken; anything else (out of descriptors): the next turn tries again.
            return;
        }
        const ConnectionId id = nextId_++;
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        connection->reader = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(
            connection->reader.get(), &QSocketNotifier::activated,
            whileAlive(anchor_.weak(), [id](LocalSocketServer& self) { self.readFrom(id); }));
        connections_.emplace(id, std::move(connection));
        if (handlers_.connected) {
            handlers_.connected(id);
        }
    }
}

void LocalSocketServer::readFrom(ConnectionId id) {
    const auto it = connections_.find(id);
    if (it == connections_.end()) {
        return;
    }
    char buffer[kReadChunk];
    const ssize_t n = recv(it->second->fd, buffer, sizeof buffer, 0);
    if (n > 0) {
        if (handlers_.received) {
            handlers_.received(id, std::string_view(buffer, static_cast<std::size_t>(n)));
        }
        return;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
        return;
    }
    // The end of the stream, or a connection that failed.
    drop(id);
    if (handlers_.closed) {
        handlers_.closed(id);
    }
}

void LocalSocketServer::send(ConnectionId id, std::string_view bytes) {
    const auto it = connections_.find(id);
    if (it == connections_.end() || bytes.empty()) {
        return;
    }
    it->second->unsent.append(bytes);
    flush(id);
}

void LocalSocketServer::flush(ConnectionId id) {
    const auto it = connections_.find(id);
    if (it == connections_.end()) {
        return;
    }
    Connection& connection = *it->second;
    std::size_t sent = 0;
    while (sent < connection.unsent.size()) {
        const ssize_t n = ::send(connection.fd, connection.unsent.data() + sent,
                                 connection.unsent.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        }
        // The client is gone: what it was owed is dropped, and the reader, which sees the end
        // of the stream next, closes the connection.
        connection.unsent.clear();
        retire(connection.writer);
        return;
    }
    connection.unsent.erase(0, sent);
    if (connection.unsent.empty()) {
        retire(connection.writer);
    } else if (!connection.writer) {
        connection.writer =
            std::make_unique<QSocketNotifier>(connection.fd, QSocketNotifier::Write);
        QObject::connect(
            connection.writer.get(), &QSocketNotifier::activated,
            whileAlive(anchor_.weak(), [id](LocalSocketServer& self) { self.flush(id); }));
    }
}

void LocalSocketServer::drop(ConnectionId id) {
    const auto it = connections_.find(id);
    if (it == connections_.end()) {
        return;
    }
    retire(it->second->reader);
    retire(it->second->writer);
    close(it->second->fd);
    connections_.erase(it);
}

}  // namespace lumivoke::desktop
