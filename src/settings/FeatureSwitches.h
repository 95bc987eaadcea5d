#pragma once

#include <functional>

#include "base/Token.h"

namespace lumivoke {

/// The application's persisted switches that the settings tabs show and flip: the three
/// features and the menu-bar item. The application owns them; reading gives the value in force,
/// and setting one has every effect the application attaches to it (it is stored, and the
/// feature follows), also when the value does not change.
class FeatureSwitches {
public:
    virtual ~FeatureSwitches() = default;

    virtual bool isHoverBadgeEnabled() const = 0;
    virtual void setHoverBadgeEnabled(bool on) = 0;
    virtual bool isPerAppRulesEnabled() const = 0;
    virtual void setPerAppRulesEnabled(bool on) = 0;
    virtual bool isHUDOnAutoSwitchEnabled() const = 0;
    virtual void setHUDOnAutoSwitchEnabled(bool on) = 0;
    /// Whether the menu-bar item is shown; true until someone turns it off.
    virtual bool isMenubarIconVisible() const = 0;
    virtual void setMenubarIconVisible(bool on) = 0;
    /// Calls back after each assignment of any of the switches, from anywhere, until the token
    /// ends.
    virtual Token observe(std::function<void()> callback) = 0;
};

}  // namespace lumivoke
