#pragma once

#include "platform/UserDefaults.h"
#include "settings/FeatureSwitches.h"

namespace lumivoke {

class AppState;

/// The switches of the settings tabs, as the application keeps them: the three features are the
/// application state's own switches, with all their effects; the menu-bar item's is the
/// defaults key that the item follows.
class AppFeatureSwitches final : public FeatureSwitches {
public:
    /// state and defaults outlive the switches.
    AppFeatureSwitches(AppState& state, UserDefaults& defaults)
        : state_(state), defaults_(defaults) {}

    bool isHoverBadgeEnabled() const override;
    void setHoverBadgeEnabled(bool on) override;
    bool isPerAppRulesEnabled() const override;
    void setPerAppRulesEnabled(bool on) override;
    bool isHUDOnAutoSwitchEnabled() const override;
    void setHUDOnAutoSwitchEnabled(bool on) override;
    /// "MenubarIconVisible", true when absent.
    bool isMenubarIconVisible() const override;
    void setMenubarIconVisible(bool on) override;
    /// The three features' published values, and the menu-bar item's defaults key (whose
    /// changes the defaults deliver on a later turn).
    Token observe(std::function<void()> callback) override;

private:
    AppState& state_;
    UserDefaults& defaults_;
};

}  // namespace lumivoke
