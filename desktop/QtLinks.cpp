#include "QtLinks.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "settings/SetupView.h"

namespace lumivoke::desktop {
namespace {

bool isSettingsPane(const std::string& url) {
    return url.starts_with("x-apple.systempreferences:");
}

}  // namespace

bool QtLinks::canOpenURL(const std::string& url) {
    if (url == SetupView::keyboardPaneURL) {
        return keyboardSettings_.has_value();
    }
    return !isSettingsPane(url);
}

bool QtLinks::openURL(const std::string& url) {
    if (url == SetupView::keyboardPaneURL && keyboardSettings_) {
        QStringList arguments;
        for (std::size_t i = 1; i < keyboardSettings_->size(); ++i) {
            arguments << QString::fromStdString((*keyboardSettings_)[i]);
        }
        return QProcess::startDetached(QString::fromStdString(keyboardSettings_->front()),
                                       arguments);
    }
    if (isSettingsPane(url)) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace lumivoke::desktop
