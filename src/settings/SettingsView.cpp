#include "settings/SettingsView.h"

namespace lumivoke {

SettingsView::SettingsView(const SettingsEnvironment& environment, Platform& platform,
                           SetupState& setupState, SettingsTabSelection& tabSelection)
    : visibleTab(*tabSelection.selected, Notify::onChange),
      environment_(environment),
      platform_(platform),
      tabSelection_(tabSelection),
      general_(std::make_unique<GeneralSettingsView>(
          environment.switches, platform.loginItems, platform.strings,
          platform.loginItems.status() == LoginItemStatus::enabled, platform.triggerKeys)),
      perAppRules_(std::make_unique<PerAppRulesView>(
          environment.switches, environment.sources, environment.currentSource,
          environment.rulesStore, platform.bundles, platform.workspace, platform.openPanels,
          platform.strings)) {
    // Made here, once the anchor its way to the trigger-key choice holds is in place.
    std::function<void()> showTriggerKeyChoice;
    if (platform.triggerKeys != nullptr) {
        showTriggerKeyChoice = bindWeak(
            anchor_.weak(), [](SettingsView& self) { self.chooseTab(SettingsTab::general); });
    }
    setup_ =
        std::make_unique<SetupView>(environment.isAccessibilityTrusted, setupState, platform.links,
                                    platform.strings, std::move(showTriggerKeyChoice));
    // Every show assigns the selection; only a different tab rebuilds the content, so a tab
    // keeps its state while it stays on screen.
    selectionToken_ = tabSelection.selected.subscribe(
        bindWeak(anchor_.weak(), [](SettingsView& self, SettingsTab tab) {
            if (tab != *self.visibleTab) {
                self.build(tab);
            }
        }));
}

std::string SettingsView::versionLine() const {
    return "Lumivoke " + environment_.versionText;
}

std::string SettingsView::segmentText(SettingsTab tab) const {
    return platform_.strings.text(segmentTitle(tab));
}

void SettingsView::build(SettingsTab tab) {
    // A tab starts again from its initial state each time it is shown anew. Each is started
    // again while it is hidden, so that a port draws it once, on showing it.
    const SettingsTab previous = *visibleTab;
    if (tab == SettingsTab::general) {
        // Seeded with the login item as it is now, which is also what each showing reads.
        general_->reset(platform_.loginItems.status() == LoginItemStatus::enabled);
    }
    visibleTab.set(tab);
    if (previous == SettingsTab::perAppRules) {
        // An action of it still running (an add waiting for its open panel) finds it started
        // again and leaves it alone. The Setup tab has nothing of its own to start again.
        perAppRules_->reset();
    }
}

void SettingsView::appear() {
    isShown_ = true;
    if (auto* general = generalView()) {
        general->appear();
    }
}

void SettingsView::disappear() {
    isShown_ = false;
}

}  // namespace lumivoke
