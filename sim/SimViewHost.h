#pragma once

#include <functional>
#include <memory>
#include <string>

#include "SimPanels.h"
#include "SimStatusBar.h"
#include "SimWindows.h"
#include "app/ViewHost.h"

namespace lumivoke::sim {

/// Hosts the application's views on the simulated machine: the HUD and the badge in simulated
/// panels, the settings in a simulated window, the menu in the simulated menu bar. The simulator
/// hears of each new view to trace what it shows.
class SimViewHost final : public ViewHost {
public:
    SimViewHost(SimPanelFactory& panels, SimWindowFactory& windows, SimStatusBar& statusBar)
        : panels_(panels), windows_(windows), statusBar_(statusBar) {}

    std::unique_ptr<Panel> hostHUD(const PanelSettings& settings, HUDView& view) override;
    std::unique_ptr<Panel> hostBadge(const PanelSettings& settings, BadgeView& view) override;
    std::unique_ptr<Window> hostSettingsWindow(const WindowSettings& settings,
                                               SettingsView& view) override;
    std::unique_ptr<StatusItem> insertStatusItem(const std::string& iconName,
                                                 MenuBarContent& menu) override;

    /// Called with each new view once its panel or window exists.
    std::function<void(HUDView&)> onHUD;
    std::function<void(BadgeView&)> onBadge;
    std::function<void(SettingsView&)> onSettingsWindow;

private:
    SimPanelFactory& panels_;
    SimWindowFactory& windows_;
    SimStatusBar& statusBar_;
};

}  // namespace lumivoke::sim
