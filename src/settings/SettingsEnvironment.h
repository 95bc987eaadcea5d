#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/Published.h"
#include "rules/AppRulesStore.h"
#include "settings/FeatureSwitches.h"
#include "sources/InputSourceService.h"

namespace lumivoke {

/// What the application hands its settings window: the few parts of its state that the tabs
/// show and set, so that the settings never see the application itself. Everything referred to
/// outlives the window. What the tabs only read comes as the application's published values;
/// the switches come through an interface, since flipping one has effects only the application
/// knows.
struct SettingsEnvironment {
    /// The General and Per-App Rules tabs' switches.
    FeatureSwitches& switches;
    /// The Accessibility trust as the application publishes it: the Setup tab's first row.
    const Published<bool>& isAccessibilityTrusted;
    /// The input sources and the current one as the application lists them, one main-loop turn
    /// behind the system: the Per-App Rules tab's menus and the source a new rule gets.
    const Published<std::vector<InputSource>>& sources;
    const Published<std::optional<InputSource>>& currentSource;
    /// The rules the Per-App Rules tab edits.
    AppRulesStore& rulesStore;
    /// The version text of the window's footer.
    std::string versionText;
};

}  // namespace lumivoke
