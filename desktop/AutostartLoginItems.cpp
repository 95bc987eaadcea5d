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

}  // namespace lumivoke::desktop
