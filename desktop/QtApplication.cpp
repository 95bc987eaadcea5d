#include "QtApplication.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLocalSocket>
#include <QTimer>
#include <QWidget>

#include "SingleInstance.h"

namespace lumivoke::desktop {

QtApplication::QtApplication(LogSink& sink) : log_(sink, "Application") {
    QObject::connect(&server_, &QLocalServer::newConnection, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromServer();
            reopen();
        }
    });
}

QtApplication::~QtApplication() = default;

void QtApplication::listenForReopen() {
    const QString name = QString::fromStdString(SingleInstance::serverName());
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
