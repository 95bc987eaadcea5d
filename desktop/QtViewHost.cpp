#include "QtViewHost.h"

#include <QSystemTrayIcon>

#include "OverlayWidgets.h"
#include "QtSettingsWindow.h"
#include "QtStatusItem.h"

namespace lumivoke::desktop {

std::unique_ptr<Panel> QtViewHost::hostHUD(const PanelSettings& settings, HUDView& view) {
    return panels_.createPanel(settings, std::make_unique<HUDWidget>(view));
}

std::unique_ptr<Panel> QtViewHost::hostBadge(const PanelSettings& settings, BadgeView& view) {
    return panels_.createPanel(settings, std::make_unique<BadgeWidget>(view));
}

std::unique_ptr<Window> QtViewHost::hostSettingsWindow(const WindowSettings& settings,
                                                       SettingsView& view) {
    return std::make_unique<QtSettingsWindow>(settings, view);
}

std::unique_ptr<StatusItem> QtViewHost::insertStatusItem(const std::string& iconName,
                                                         MenuBarContent& menu) {
    // The icon still goes in: it appears once a tray does.
    if (!saidNoTray_ && !QSystemTrayIcon::isSystemTrayAvailable()) {
        saidNoTray_ = true;
        log_.info(
            "no system tray is available, so the menu cannot be shown; launch lumivoke "
            "again to open Settings");
    }
    return std::make_unique<QtStatusItem>(iconName, menu, x11_);
}

}  // namespace lumivoke::desktop
