#include "AutostartLoginItems.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace lumivoke::desktop {

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
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        log_.error("cannot launch at login: the folder %{public}s cannot be made",
                   folder.toStdString());
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        log_.error("cannot launch at login: %{public}s cannot be written: %{public}s",
                   path.toStdString(), file.errorString().toStdString());
        return false;
    }
    const QByteArray text = "[Desktop Entry]\nType=Application\nName=Lumivoke\nExec=\"" +
                            QCoreApplication::applicationFilePath().toUtf8() +
                            "\"\nX-GNOME-Autostart-enabled=true\nNoDisplay=true\n";
    if (file.write(text) != text.size() || !file.flush()) {
        log_.error("cannot launch at login: %{public}s cannot be written: %{public}s",
                   path.toStdString(), file.errorString().toStdString());
        return false;
    }
    return true;
}

bool AutostartLoginItems::unregisterMainApp() {
    const QString path = QString::fromStdString(entryPath());
    if (QFile::exists(path) && !QFile::remove(path)) {
        log_.error("cannot stop launching at login: %{public}s cannot be removed",
                   path.toStdString());
        return false;
    }
    return true;
}

}  // namespace lumivoke::desktop
