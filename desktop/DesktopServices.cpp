#include "DesktopServices.h"

#include <unistd.h>
#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace lumivoke::desktop {

std::optional<InfoValue> DesktopMainBundle::infoValue(const std::string& key) {
    if (key == "CFBundleShortVersionString") {
        return std::string(LUMIVOKE_VERSION);
    }
    if (key == "CFBundleVersion") {
        return std::string(LUMIVOKE_BUILD);
    }
    if (key == "CFBundleName" || key == "CFBundleDisplayName") {
        return std::string("Lumivoke");
    }
    return std::nullopt;
}

std::string AutostartLoginItems::entryPath() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return (config + "/autostart/lumivoke.desktop").toStdString();
}

LoginItemStatus AutostartLoginItems::status() {
    return QFile::exists(QString::fromStdString(entryPath())) ? LoginItemStatus::enabled
                                                              : LoginItemStatus::notRegistered;
}

bool AutostartLoginItems::registerMainApp() {
    const QString path = QString::fromStdString(entryPath());
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        return false;
    }
    const QByteArray text = "[Desktop Entry]\nType=Application\nName=Lumivoke\nExec=\"" +
                            QCoreApplication::applicationFilePath().toUtf8() +
                            "\"\nX-GNOME-Autostart-enabled=true\nNoDisplay=true\n";
    return file.write(text) == text.size() && file.flush();
}

bool AutostartLoginItems::unregisterMainApp() {
    const QString path = QString::fromStdString(entryPath());
    return !QFile::exists(path) || QFile::remove(path);
}

OpenPanelResult QtOpenPanels::runModal(const OpenPanelSettings& settings) {
    QFileDialog dialog(nullptr, QString::fromStdString(settings.title),
                       QStringLiteral("/usr/share/applications"),
                       QStringLiteral("Applications (*.desktop)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setLabelText(QFileDialog::Accept, QString::fromStdString(settings.prompt));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return OpenPanelResult{0, std::nullopt};
    }
    return OpenPanelResult{kModalResponseOK, dialog.selectedFiles().front().toStdString()};
}

bool QtLinks::openURL(const std::string& url) {
    if (url.starts_with("x-apple.systempreferences:")) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

Token InProcessNotificationCenter::addObserver(const std::string& name,
                                               std::function<void()> callback) {
    return observers_[name].add(std::move(callback));
}

void InProcessNotificationCenter::post(const std::string& name) {
    if (auto it = observers_.find(name); it != observers_.end()) {
        it->second.notify();
    }
}

std::optional<DefaultsValue> LinuxPreferences::copyAppValue(const std::string& key,
                                                            const std::string& applicationID) {
    if (key == "AppleFnUsageType" && applicationID == "com.apple.HIToolbox") {
        return DefaultsValue(std::int64_t{0});
    }
    return std::nullopt;
}

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
