#include "QtApplication.h"

#include <unistd.h>
#include <QApplication>
#include <QCoreApplication>
#include <QLocalSocket>
#include <QTimer>
#include <QWidget>

namespace lumivoke::desktop {

QtApplication::QtApplication() {
    QObject::connect(&server_, &QLocalServer::newConnection, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromServer();
            reopen();
        }
    });
}

QtApplication::~QtApplication() = default;

QString QtApplication::serverName() {
    return QStringLiteral("lumivoke-%1").arg(getuid());
}

bool QtApplication::becomeSingleInstance() {
    QLocalSocket probe;
    probe.connectToServer(serverName());
    if (probe.waitForConnected(500)) {
        probe.disconnectFromServer();
        return false;
    }
    // Nobody answers: a socket file left by a crashed instance must not block us.
    QLocalServer::removeServer(serverName());
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    // Without the socket a second launch just starts another instance; not worth refusing to run.
    (void)server_.listen(serverName());
    return true;
}

void QtApplication::reopen() {
    if (delegate_ == nullptr) {
        return;
    }
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
