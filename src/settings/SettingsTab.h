#pragma once

#include "base/Published.h"

namespace lumivoke {

/// The tabs of the settings window, in the order of the tab control.
enum class SettingsTab { setup, general, perAppRules };

/// The segment title of a tab: "Setup", "General", "Per-App Rules".
const char* segmentTitle(SettingsTab tab);

/// Which tab the settings window shows; shared by the controller and the view tree.
class SettingsTabSelection {
public:
    Published<SettingsTab> selected{SettingsTab::general};
};

}  // namespace lumivoke
