#include "settings/GeneralSettingsView.h"

namespace lumivoke {

GeneralSettingsView::GeneralSettingsView(FeatureSwitches& switches, LoginItemService& loginItems,
                                         bool initialLaunchAtLogin)
    : launchAtLogin(initialLaunchAtLogin), switches_(switches), loginItems_(loginItems) {}

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
    return switches_.isHoverBadgeEnabled();
}

void GeneralSettingsView::changeHoverBadge(bool on) {
    switches_.setHoverBadgeEnabled(on);
}

bool GeneralSettingsView::isMenubarIconVisible() const {
    return switches_.isMenubarIconVisible();
}

void GeneralSettingsView::changeMenubarIconVisible(bool on) {
    switches_.setMenubarIconVisible(on);
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
