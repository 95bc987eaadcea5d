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
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        return false;
    }
    const std::string entry =
        autostartEntryText(QCoreApplication::applicationFilePath().toStdString());
    const QByteArray text(entry.data(), static_cast<qsizetype>(entry.size()));
    return file.write(text) == text.size() && file.flush();
}

bool AutostartLoginItems::unregisterMainApp() {
    const QString path = QString::fromStdString(entryPath());
    return !QFile::exists(path) || QFile::remove(path);
}

}  // namespace lumivoke::desktop
