#include "settings/GeneralSettingsView.h"

#include "app/AppState.h"
#include "app/DefaultsKeys.h"

namespace lumivoke {

GeneralSettingsView::GeneralSettingsView(AppState& state, LoginItemService& loginItems,
                                         UserDefaults& defaults, bool initialLaunchAtLogin)
    : launchAtLogin(initialLaunchAtLogin),
      state_(state),
      loginItems_(loginItems),
      defaults_(defaults) {}

bool GeneralSettingsView::isLoginItemEnabled() const {
    return loginItems_.status() == LoginItemStatus::enabled;
}

void GeneralSettingsView::appear() {
    launchAtLogin.set(isLoginItemEnabled());
}

void GeneralSettingsView::changeLaunchAtLogin(bool on) {
    launchAtLogin.set(on);
    const bool ok = on ? loginItems_.registerMainApp() : loginItems_.unregisterMainApp();
    if (!ok) {
        // The error is not the user's to read; the switch just tells the truth again. Assigning
        // it here does not run this handler again.
        launchAtLogin.set(isLoginItemEnabled());
    }
}

bool GeneralSettingsView::isHoverBadgeShown() const {
    return *state_.isHoverBadgeEnabled;
}

void GeneralSettingsView::changeHoverBadge(bool on) {
    state_.setHoverBadgeEnabled(on);
}

bool GeneralSettingsView::isMenubarIconVisible() const {
    const auto value = defaults_.object(defaults_keys::menubarIconVisible);
    return value ? defaultsBool(value) : true;
}

void GeneralSettingsView::changeMenubarIconVisible(bool on) {
    defaults_.set(defaults_keys::menubarIconVisible, on);
}

// A port may run a switch's action on a later turn; the action holds the view weakly.
std::vector<FormSection> GeneralSettingsView::sections() {
    const auto weak = anchor_.weak();
    return {
        {generalHeader,
         {ToggleControl{launchAtLoginLabel, *launchAtLogin, true,
                        bindWeak(weak, [](GeneralSettingsView& self,
                                          bool on) { self.changeLaunchAtLogin(on); })}}},
        {hoverBadgeHeader,
         {ToggleControl{hoverBadgeLabel, isHoverBadgeShown(), true,
                        bindWeak(weak, [](GeneralSettingsView& self,
                                          bool on) { self.changeHoverBadge(on); })},
          CaptionText{hoverBadgeCaption}}},
        {menubarHeader,
         {ToggleControl{menubarIconLabel, isMenubarIconVisible(), true,
                        bindWeak(weak, [](GeneralSettingsView& self,
                                          bool on) { self.changeMenubarIconVisible(on); })},
          CaptionText{menubarCaption}}},
    };
}

}  // namespace lumivoke
