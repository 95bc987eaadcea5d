#include "SimViewHost.h"

namespace lumivoke::sim {

std::unique_ptr<Panel> SimViewHost::hostHUD(const PanelSettings& settings, HUDView& view) {
    auto panel = panels_.create(settings);
    if (onHUD) {
        onHUD(view);
    }
    return panel;
}

std::unique_ptr<Panel> SimViewHost::hostBadge(const PanelSettings& settings, BadgeView& view) {
    auto panel = panels_.create(settings);
    if (onBadge) {
        onBadge(view);
    }
    return panel;
}

std::unique_ptr<Window> SimViewHost::hostSettingsWindow(const WindowSettings& settings,
                                                        SettingsView& view) {
    auto window = windows_.create(settings);
    if (onSettingsWindow) {
        onSettingsWindow(view);
    }
    return window;
}

std::unique_ptr<StatusItem> SimViewHost::insertStatusItem(const std::string& iconName,
                                                          MenuBarContent& menu) {
    return statusBar_.insertItem(iconName, menu);
}

}  // namespace lumivoke::sim
