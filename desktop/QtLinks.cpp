#include "QtLinks.h"

#include <QDesktopServices>
#include <QUrl>

namespace lumivoke::desktop {

bool QtLinks::openURL(const std::string& url) {
    if (url.starts_with("x-apple.systempreferences:")) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace lumivoke::desktop

namespace lumivoke::desktop {

bool QtLinks::canOpenURL(const std::string& url) {
    return !url.starts_with("x-apple.systempreferences:");
}

}  // namespace lumivoke::desktop
