#pragma once

#include "QtPanels.h"
#include "X11Connection.h"
#include "app/ViewHost.h"
#include "base/Logger.h"

namespace lumivoke::desktop {

/// Draws each of the application's views with Qt: the HUD and the hover badge in overlay
/// panels, the settings in a window, the menu from a tray icon.
class QtViewHost final : public ViewHost {
public:
    QtViewHost(X11Connection& x11, LogSink& sink)
        : x11_(x11), panels_(x11), log_(sink, "StatusItem") {}

    std::unique_ptr<Panel> hostHUD(const PanelSettings& settings, HUDView& view) override;
    std::unique_ptr<Panel> hostBadge(const PanelSettings& settings, BadgeView& view) override;
    std::unique_ptr<Window> hostSettingsWindow(const WindowSettings& settings,
                                               SettingsView& view) override;
    std::unique_ptr<StatusItem> insertStatusItem(const std::string& iconName,
                                                 MenuBarContent& menu) override;

private:
    X11Connection& x11_;
    QtPanelFactory panels_;
    Logger log_;
    // Whether the missing tray has been mentioned: once is enough for a whole run.
    bool saidNoTray_ = false;
};

}  // namespace lumivoke::desktop
