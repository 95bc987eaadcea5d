#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "base/WeakAnchor.h"

class QSocketNotifier;

namespace lumivoke::desktop {

/// A listening Unix-domain stream socket on the Qt event loop: plain POSIX sockets watched by
/// QSocketNotifier. It stands in for QLocalServer, whose library (and the network stack it
/// loads) would cost every start of the program several milliseconds and most of a megabyte for
/// one socket. Connections are named by a number that is never reused. Every handler runs on
/// the main loop, never inside a call made to this object, and none runs once it is destroyed.
class LocalSocketServer {
public:
    using ConnectionId = std::uint64_t;

    struct Handlers {
        /// A client connected.
        std::function<void(ConnectionId)> connected;
        /// Bytes arrived from a client.
        std::function<void(ConnectionId, std::string_view)> received;
        /// A client hung up, or its connection failed; it is gone when this runs.
        std::function<void(ConnectionId)> closed;
    };

    explicit LocalSocketServer(Handlers handlers);
    ~LocalSocketServer();
    LocalSocketServer(const LocalSocketServer&) = delete;
    LocalSocketServer& operator=(const LocalSocketServer&) = delete;

    /// Listens at path, first removing whatever socket file is there, with the socket readable
    /// and writable by this user alone. Empty on success, else why not.
    std::string listen(const std::filesystem::path& path);
    bool isListening() const { return listener_ >= 0; }

    /// Sends bytes to a client. What the socket cannot take now waits, in order, until it can;
    /// a client that is gone is ignored.
    void send(ConnectionId id, std::string_view bytes);

    std::size_t connectionCount() const { return connections_.size(); }

private:
    struct Connection;

    void accept();
    void readFrom(ConnectionId id);
    void flush(ConnectionId id);
    void drop(ConnectionId id);

    Handlers handlers_;
    int listener_ = -1;
    std::filesystem::path path_;
    std::unique_ptr<QSocketNotifier> acceptor_;
    std::map<ConnectionId, std::unique_ptr<Connection>> connections_;
    ConnectionId nextId_ = 1;
    WeakAnchor<LocalSocketServer> anchor_{this};
};

}  // namespace lumivoke::desktop
