#include "settings/SettingsView.h"

namespace lumivoke {

SettingsView::SettingsView(const SettingsEnvironment& environment, Platform& platform,
                           SetupState& setupState, SettingsTabSelection& tabSelection)
    : visibleTab(*tabSelection.selected, Notify::onChange),
      environment_(environment),
      platform_(platform),
      setupState_(setupState),
      tabSelection_(tabSelection) {
    build(*tabSelection.selected);
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

void SettingsView::build(SettingsTab tab) {
    // The tab shown until now is gone, whichever comes next; an action of it still running
    // (an add waiting for its open panel) finds its view started again and leaves it alone.
    if (perAppRules_) {
        perAppRules_->reset();
    }
    switch (tab) {
        case SettingsTab::setup:
            // Nothing of its own to start again: it shows the application's state.
            if (!setup_) {
                setup_ = std::make_unique<SetupView>(environment_.isAccessibilityTrusted,
                                                     setupState_, platform_.links);
            }
            break;
        case SettingsTab::general: {
            const bool launchAtLogin = platform_.loginItems.status() == LoginItemStatus::enabled;
            if (!general_) {
                general_ = std::make_unique<GeneralSettingsView>(
                    environment_.switches, platform_.loginItems, launchAtLogin);
            } else {
                general_->reset(launchAtLogin);
            }
            break;
        }
        case SettingsTab::perAppRules:
            if (!perAppRules_) {
                perAppRules_ = std::make_unique<PerAppRulesView>(
                    environment_.switches, environment_.sources, environment_.currentSource,
                    environment_.rulesStore, platform_.bundles, platform_.workspace,
                    platform_.openPanels,
                    bindWeak(anchor_.weak(), [](SettingsView& self, const std::string& bundleID) {
                        if (self.onScrollToRule) {
                            self.onScrollToRule(bundleID);
                        }
                    }));
            }
            break;
    }
    visibleTab.set(tab);
    if (isShown_ && tab == SettingsTab::general) {
        general_->appear();
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
