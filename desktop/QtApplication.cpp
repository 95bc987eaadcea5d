#include "QtApplication.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

#include "app/ControlRequests.h"

namespace lumivoke::desktop {

QtApplication::QtApplication(LogSink& sink)
    : log_(sink, "Application"),
      server_(LocalSocketServer::Handlers{
          [this](ConnectionId id) { clients_.emplace(id, Client{}); },
          [this](ConnectionId id, std::string_view bytes) { readRequests(id, bytes); },
          [this](ConnectionId id) { hungUp(id); }}) {}

QtApplication::~QtApplication() {
    for (auto& [id, client] : clients_) {
        client.watch.cancel();
    }
}

void QtApplication::hungUp(ConnectionId id) {
    const auto it = clients_.find(id);
    if (it == clients_.end()) {
        return;
    }
    // A later launch connects and leaves without a word.
    const bool wasLaunch = !it->second.spoke;
    clients_.erase(it);
    if (wasLaunch) {
        reopen();
    }
}

void QtApplication::setControlHandler(ControlRequestHandler* handler) {
    controlHandler_ = handler;
    if (handler == nullptr) {
        for (auto& [id, client] : clients_) {
            client.watch.cancel();
        }
    }
}

void QtApplication::readRequests(ConnectionId id, std::string_view bytes) {
    const auto it = clients_.find(id);
    if (it == clients_.end() || bytes.empty()) {
        return;
    }
    Client& client = it->second;
    client.spoke = true;
    client.pending.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
    qsizetype newline = 0;
    while ((newline = client.pending.indexOf('\n')) >= 0) {
        QByteArray line = client.pending.left(newline);
        client.pending.remove(0, newline + 1);
        if (client.skipping) {
            client.skipping = false;
            continue;
        }
        answer(id, client, line);
    }
    // No end of line within the limit: answer now and drop the rest of that line unread.
    if (client.pending.size() > static_cast<qsizetype>(kMaxControlRequestBytes) &&
        !client.skipping) {
        answer(id, client, client.pending);
        client.skipping = true;
    }
    if (client.skipping) {
        client.pending.clear();
    }
}

void QtApplication::answer(ConnectionId id, Client& client, const QByteArray& line) {
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
            client.watch = controlHandler_->watch(
                bindWeak(anchor_.weak(), [id](QtApplication& self, const std::string& change) {
                    self.server_.send(id, change + "\n");
                }));
        }
    }
    server_.send(id, reply + "\n");
}

void QtApplication::listenForReopen(const std::filesystem::path& socket) {
    if (const std::string error = server_.listen(socket); !error.empty()) {
        log_.error(
            "cannot listen for later launches at %{public}s: %{public}s; launching "
            "Lumivoke again will not open its settings",
            socket.string(), error);
    }
}

void QtApplication::setDelegate(ApplicationDelegate* delegate) {
    delegate_ = delegate;
    if (delegate_ != nullptr && pendingReopens_ > 0) {
        // On a later turn, as a request from the socket would come.
        QTimer::singleShot(0, qApp,
                           bindWeak(anchor_.weak(), [](QtApplication& self) { self.reopen(); }));
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
