#include "QtSettingsWindow.h"

#include <QGuiApplication>
#include <QScreen>

namespace lumivoke::desktop {

QtSettingsWindow::QtSettingsWindow(const WindowSettings& settings, SettingsView& view)
    : widget_(view) {
    widget_.setWindowTitle(QString::fromStdString(settings.title));
    widget_.onClose = [this] {
        if (delegate_ != nullptr) {
            delegate_->windowWillClose(*this);
        }
    };
}

QtSettingsWindow::~QtSettingsWindow() {
    widget_.onClose = nullptr;
}

void QtSettingsWindow::center() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = widget_.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    widget_.move(frame.topLeft());
}

void QtSettingsWindow::makeKeyAndOrderFront() {
    if (widget_.isMinimized()) {
        widget_.showNormal();
    }
    widget_.show();
    widget_.raise();
    widget_.activateWindow();
}

bool QtSettingsWindow::isVisible() const {
    return widget_.isVisible();
}

}  // namespace lumivoke::desktop
