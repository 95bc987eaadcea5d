#include "settings/GeneralSettingsView.h"

namespace lumivoke {

GeneralSettingsView::GeneralSettingsView(FeatureSwitches& switches, LoginItemService& loginItems,
                                         const StringTable& strings, bool initialLaunchAtLogin)
    : launchAtLogin(initialLaunchAtLogin),
      switches_(switches),
      loginItems_(loginItems),
      strings_(strings) {
    launchAtLoginToken_ = launchAtLogin.observe(
        bindWeak(anchor_.weak(), [](GeneralSettingsView& self) { self.changes_.notify(); }));
    switchesToken_ = switches_.observe(
        bindWeak(anchor_.weak(), [](GeneralSettingsView& self) { self.changes_.notify(); }));
}

bool GeneralSettingsView::isLoginItemEnabled() const {
    return loginItems_.status() == LoginItemStatus::enabled;
}

void GeneralSettingsView::appear() {
    launchAtLogin.set(isLoginItemEnabled());
}

void GeneralSettingsView::changeLaunchAtLogin(bool on) {
    // One notification for the flip and its correction: the switch a port drew under the
    // person's click is drawn again, whatever the value ends up being.
    const auto batch = changes_.batch();
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
        {strings_.text(generalHeader),
         {ToggleControl{strings_.text(launchAtLoginLabel), *launchAtLogin, true, std::nullopt,
                        bindWeak(weak, [](GeneralSettingsView& self,
                                          bool on) { self.changeLaunchAtLogin(on); })}}},
        {strings_.text(hoverBadgeHeader),
         {ToggleControl{strings_.text(hoverBadgeLabel), isHoverBadgeShown(), true,
                        strings_.text(hoverBadgeCaption),
                        bindWeak(weak, [](GeneralSettingsView& self,
                                          bool on) { self.changeHoverBadge(on); })}}},
        {strings_.text(menubarHeader),
         {ToggleControl{strings_.text(menubarIconLabel), isMenubarIconVisible(), true,
                        strings_.text(menubarCaption),
                        bindWeak(weak, [](GeneralSettingsView& self,
                                          bool on) { self.changeMenubarIconVisible(on); })}}},
    };
}

}  // namespace lumivoke
