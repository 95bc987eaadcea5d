#include "QtApplication.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLocalSocket>
#include <QTimer>
#include <QWidget>

#include "app/ControlRequests.h"

namespace lumivoke::desktop {

QtApplication::QtApplication(LogSink& sink) : log_(sink, "Application") {
    QObject::connect(&server_, &QLocalServer::newConnection, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            clients_.emplace(socket, Client{});
            QObject::connect(socket, &QLocalSocket::readyRead, &server_,
                             [this, socket] { readRequests(socket); });
            QObject::connect(socket, &QLocalSocket::disconnected, &server_, [this, socket] {
                const auto it = clients_.find(socket);
                // A later launch connects and leaves without a word.
                const bool wasLaunch = it != clients_.end() && !it->second.spoke;
                if (it != clients_.end()) {
                    clients_.erase(it);
                }
                socket->deleteLater();
                if (wasLaunch) {
                    reopen();
                }
            });
            // It may have come and gone already.
            if (socket->bytesAvailable() > 0) {
                readRequests(socket);
            }
            if (socket->state() != QLocalSocket::ConnectedState) {
                Q_EMIT socket->disconnected();
            }
        }
    });
}

QtApplication::~QtApplication() {
    for (auto& [socket, client] : clients_) {
        client.watch.cancel();
        QObject::disconnect(socket, nullptr, &server_, nullptr);
    }
}

void QtApplication::setControlHandler(ControlRequestHandler* handler) {
    controlHandler_ = handler;
    if (handler == nullptr) {
        for (auto& [socket, client] : clients_) {
            client.watch.cancel();
        }
    }
}

void QtApplication::readRequests(QLocalSocket* socket) {
    const auto it = clients_.find(socket);
    if (it == clients_.end()) {
        return;
    }
    Client& client = it->second;
    const QByteArray bytes = socket->readAll();
    if (bytes.isEmpty()) {
        return;
    }
    client.spoke = true;
    client.pending += bytes;
    qsizetype newline = 0;
    while ((newline = client.pending.indexOf('\n')) >= 0) {
        QByteArray line = client.pending.left(newline);
        client.pending.remove(0, newline + 1);
        if (client.skipping) {
            client.skipping = false;
            continue;
        }
        answer(socket, client, line);
    }
    // No end of line within the limit: answer now and drop the rest of that line unread.
    if (client.pending.size() > static_cast<qsizetype>(kMaxControlRequestBytes) &&
        !client.skipping) {
        answer(socket, client, client.pending);
        client.skipping = true;
    }
    if (client.skipping) {
        client.pending.clear();
    }
}

void QtApplication::answer(QLocalSocket* socket, Client& client, const QByteArray& line) {
    std::string_view text(line.constData(), static_cast<std::size_t>(line.size()));
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    std::string reply;
    if (controlHandler_ == nullptr) {
        reply = controlErrorLine("Lumivoke is still starting or already quitting");
    } else {
        reply = controlHandler_->answer(text);
        if (ControlRequestHandler::isWatch(text) && !client.watch) {
            client.watch = controlHandler_->watch([socket](const std::string& change) {
                socket->write(QByteArray::fromStdString(change + "\n"));
                socket->flush();
            });
        }
    }
    socket->write(QByteArray::fromStdString(reply + "\n"));
    socket->flush();
}

void QtApplication::listenForReopen(const std::filesystem::path& socket) {
    const QString name = QString::fromStdString(socket.string());
    QLocalServer::removeServer(name);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(name)) {
        log_.error(
            "cannot listen for later launches at %{public}s: %{public}s; launching "
            "Lumivoke again will not open its settings",
            server_.fullServerName().toStdString(), server_.errorString().toStdString());
    }
}

void QtApplication::setDelegate(ApplicationDelegate* delegate) {
    delegate_ = delegate;
    if (delegate_ != nullptr && pendingReopens_ > 0) {
        // On a later turn, as a request from the socket would come.
        QTimer::singleShot(0, &server_, [this] { reopen(); });
    }
}

void QtApplication::reopen() {
    if (delegate_ == nullptr) {
        ++pendingReopens_;
        return;
    }
    pendingReopens_ = 0;
    bool visible = false;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        visible = visible || (w->isVisible() && !w->testAttribute(Qt::WA_ShowWithoutActivating));
    }
    delegate_->applicationShouldHandleReopen(visible);
}

void QtApplication::setActivationPolicy(ActivationPolicy) {}

void QtApplication::activate() {}

void QtApplication::terminate() {
    // After the menu action that asked has returned.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::quit(); });
}

}  // namespace lumivoke::desktop
