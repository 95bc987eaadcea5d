#pragma once

#include <string>
#include <vector>

#include "settings/Controls.h"
#include "settings/PerAppRulesView.h"
#include "settings/SettingsTab.h"
#include "settings/SettingsView.h"

namespace lumivoke::sim {

class Simulator;

// What a scenario reaches of the settings window: a person can touch it only while it is open,
// and only what the visible tab shows. Each function throws ScenarioError when that is not so.

/// The scenario's word for a tab: "setup", "general", "per-app-rules".
const char* tabName(SettingsTab tab);
/// The tab a scenario word names.
SettingsTab parseTab(const std::string& word);

/// The settings window's root view, when the window is on screen.
SettingsView& requireOpenSettings(Simulator& s);
/// The Per-App Rules tab, when the open window shows it.
PerAppRulesView& requireRulesTab(Simulator& s);
/// The rules table's row of bundleID.
AppRuleRow requireRow(PerAppRulesView& view, const std::string& bundleID);
/// Nothing, when the rules table can be used (per-app rules are on).
void requireTableEnabled(PerAppRulesView& view);

/// The switches and the buttons of the visible tab; none for a tab without them.
std::vector<ToggleControl> visibleToggles(SettingsView& view);
std::vector<ButtonControl> visibleButtons(SettingsView& view);

}  // namespace lumivoke::sim
