#include "OpenSettingsWindow.h"

#include "Simulator.h"
#include "app/ControlRequests.h"
#include "settings/SettingsWindowController.h"

namespace lumivoke::sim {

// The tabs go by the names lumivoke ctl gives them.
const char* tabName(SettingsTab tab) {
    return controlTabName(tab);
}

SettingsTab parseTab(const std::string& word) {
    if (const auto tab = controlTabNamed(word)) {
        return *tab;
    }
    throw ScenarioError("unknown tab \"" + word + "\" (setup, general, per-app-rules)");
}

SettingsView& requireOpenSettings(Simulator& s) {
    auto* controller = s.requireApp().settingsControllerIfCreated();
    if (controller == nullptr || controller->window() == nullptr ||
        !controller->window()->isVisible()) {
        throw ScenarioError("the settings window is not open");
    }
    return *controller->rootView();
}

PerAppRulesView& requireRulesTab(Simulator& s) {
    auto* view = requireOpenSettings(s).perAppRulesView();
    if (view == nullptr) {
        throw ScenarioError("the Per-App Rules tab is not shown (settings tab per-app-rules)");
    }
    return *view;
}

std::vector<ToggleControl> visibleToggles(SettingsView& view) {
    if (auto* general = view.generalView()) {
        return general->toggles();
    }
    if (auto* rules = view.perAppRulesView()) {
        return rules->toggles();
    }
    return {};
}

std::vector<ButtonControl> visibleButtons(SettingsView& view) {
    if (auto* setup = view.setupView()) {
        return setup->buttons();
    }
    if (auto* rules = view.perAppRulesView()) {
        return rules->buttons();
    }
    return {};
}

AppRuleRow requireRow(PerAppRulesView& view, const std::string& bundleID) {
    for (auto& row : view.sortedRows()) {
        if (row.row.bundleID == bundleID) {
            return row;
        }
    }
    throw ScenarioError("no row \"" + bundleID + "\" in the rules table");
}

void requireTableEnabled(PerAppRulesView& view) {
    if (!view.isTableEnabled()) {
        throw ScenarioError("the rules table is disabled (per-app rules are off)");
    }
}

}  // namespace lumivoke::sim
