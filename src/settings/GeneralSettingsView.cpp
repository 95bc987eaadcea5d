#include "settings/GeneralSettingsView.h"

#include <iterator>

namespace lumivoke {

GeneralSettingsView::GeneralSettingsView(FeatureSwitches& switches, LoginItemService& loginItems,
                                         const StringTable& strings, bool initialLaunchAtLogin,
                                         TriggerKeys* triggerKeys)
    : launchAtLogin(initialLaunchAtLogin),
      switches_(switches),
      loginItems_(loginItems),
      strings_(strings),
      triggerKeys_(triggerKeys) {
    if (triggerKeys_ != nullptr) {
        // Chosen here, on the command line's behalf or in the settings file: drawn either way.
        triggerKeyToken_ = triggerKeys_->observe(
            bindWeak(anchor_.weak(), [](GeneralSettingsView& self) { self.changes_.notify(); }));
    }
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

void GeneralSettingsView::chooseTriggerKey(const std::string& identifier) {
    if (triggerKeys_ != nullptr) {
        // An unknown identifier is refused by the platform and the picker is drawn unchanged.
        (void)triggerKeys_->select(identifier);
    }
}

// A port may run a control's action on a later turn; the action holds the view weakly.
std::vector<FormSection> GeneralSettingsView::sections() {
    const auto weak = anchor_.weak();
    std::vector<FormSection> out;
    if (triggerKeys_ != nullptr) {
        PickerControl picker{strings_.text(triggerKeyLabel),
                             {},
                             triggerKeys_->current(),
                             true,
                             strings_.text(triggerKeyCaption),
                             bindWeak(weak, [](GeneralSettingsView& self, const std::string& id) {
                                 self.chooseTriggerKey(id);
                             })};
        for (auto& option : triggerKeys_->options()) {
            picker.options.push_back({std::move(option.identifier), std::move(option.label)});
        }
        out.push_back({strings_.text(triggerKeyHeader), {std::move(picker)}});
    }
    std::vector<FormSection> switches{
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
    std::move(switches.begin(), switches.end(), std::back_inserter(out));
    return out;
}

}  // namespace lumivoke
