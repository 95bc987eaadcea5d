#include "app/AppFeatureSwitches.h"

#include "app/AppState.h"
#include "app/DefaultsKeys.h"

namespace lumivoke {

bool AppFeatureSwitches::isHoverBadgeEnabled() const {
    return *state_.isHoverBadgeEnabled;
}

void AppFeatureSwitches::setHoverBadgeEnabled(bool on) {
    state_.setHoverBadgeEnabled(on);
}

bool AppFeatureSwitches::isPerAppRulesEnabled() const {
    return *state_.isPerAppRulesEnabled;
}

void AppFeatureSwitches::setPerAppRulesEnabled(bool on) {
    state_.setPerAppRulesEnabled(on);
}

bool AppFeatureSwitches::isHUDOnAutoSwitchEnabled() const {
    return *state_.isHUDOnAutoSwitchEnabled;
}

void AppFeatureSwitches::setHUDOnAutoSwitchEnabled(bool on) {
    state_.setHUDOnAutoSwitchEnabled(on);
}

bool AppFeatureSwitches::isMenubarIconVisible() const {
    const auto value = defaults_.object(defaults_keys::menubarIconVisible);
    return value ? defaultsBool(value) : true;
}

void AppFeatureSwitches::setMenubarIconVisible(bool on) {
    defaults_.set(defaults_keys::menubarIconVisible, on);
}

Token AppFeatureSwitches::observe(std::function<void()> callback) {
    std::vector<Token> tokens;
    tokens.push_back(state_.isHoverBadgeEnabled.observe(callback));
    tokens.push_back(state_.isPerAppRulesEnabled.observe(callback));
    tokens.push_back(state_.isHUDOnAutoSwitchEnabled.observe(callback));
    tokens.push_back(defaults_.observe(defaults_keys::menubarIconVisible, std::move(callback)));
    return joinTokens(std::move(tokens));
}

}  // namespace lumivoke
