#include "AutostartLoginItems.h"

#include "AutostartEntry.h"

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
    // An entry the desktop's session settings switched off (or deleted by Hidden=true) is
    // there but starts nothing: the switch shows off, and switching it on writes ours again.
    QFile file(QString::fromStdString(entryPath()));
    if (!file.open(QIODevice::ReadOnly)) {
        return LoginItemStatus::notRegistered;
    }
    const QByteArray text = file.read(1024 * 1024);
    return autostartEntryStartsProgram(
               std::string_view(text.constData(), static_cast<std::size_t>(text.size())))
               ? LoginItemStatus::enabled
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
    const std::string entry =
        autostartEntryText(QCoreApplication::applicationFilePath().toStdString());
    const QByteArray text(entry.data(), static_cast<qsizetype>(entry.size()));
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
