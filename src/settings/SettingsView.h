#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "base/Geometry.h"
#include "base/Published.h"
#include "base/WeakAnchor.h"
#include "platform/Platform.h"
#include "settings/GeneralSettingsView.h"
#include "settings/PerAppRulesView.h"
#include "settings/SettingsEnvironment.h"
#include "settings/SettingsTab.h"
#include "settings/SetupState.h"
#include "settings/SetupView.h"

namespace lumivoke {

/// The root view of the settings window: the tab control, the selected tab and the version
/// line. Each time another tab is selected its view is built anew, so the tab starts from its
/// initial state. A tab's view object is made with the window and kept, though: building anew
/// resets its state, because one of its actions may still be on the stack (the open panel's
/// modal run lets a second launch switch the tab), and a view must never die under its own
/// action. So a port observes each tab's view once, and draws a tab when it says it changed.
class SettingsView final {
public:
    static constexpr Size size{520, 560};
    static constexpr double tabControlMaxWidth = 360;
    static constexpr std::array<SettingsTab, 3> segments{SettingsTab::setup, SettingsTab::general,
                                                         SettingsTab::perAppRules};

    /// environment, platform, setupState and tabSelection outlive the view.
    SettingsView(const SettingsEnvironment& environment, Platform& platform, SetupState& setupState,
                 SettingsTabSelection& tabSelection);

    /// "Lumivoke " followed by the version text.
    std::string versionLine() const;
    /// A segment's title, as the platform words it.
    std::string segmentText(SettingsTab tab) const;

    /// The person clicks a segment of the tab control.
    void chooseTab(SettingsTab tab) { tabSelection_.selected.set(tab); }

    /// The window came on screen / went off it; a tab refreshes what it reads on showing.
    void appear();
    void disappear();
    bool isShown() const { return isShown_; }

    /// The tab whose view is built now; changes only when another tab is selected.
    Published<SettingsTab> visibleTab;
    /// The views of the tabs, when their tab is the visible one: what a person can reach.
    SetupView* setupView() { return *visibleTab == SettingsTab::setup ? setup_.get() : nullptr; }
    GeneralSettingsView* generalView() {
        return *visibleTab == SettingsTab::general ? general_.get() : nullptr;
    }
    PerAppRulesView* perAppRulesView() {
        return *visibleTab == SettingsTab::perAppRules ? perAppRules_.get() : nullptr;
    }
    /// Every tab's view, visible or not, for a port to observe and draw; each lives as long as
    /// the root view.
    SetupView& setup() { return *setup_; }
    GeneralSettingsView& general() { return *general_; }
    PerAppRulesView& perAppRules() { return *perAppRules_; }

private:
    void build(SettingsTab tab);

    const SettingsEnvironment& environment_;
    Platform& platform_;
    SettingsTabSelection& tabSelection_;
    bool isShown_ = false;
    std::unique_ptr<SetupView> setup_;
    std::unique_ptr<GeneralSettingsView> general_;
    std::unique_ptr<PerAppRulesView> perAppRules_;
    Token selectionToken_;
    WeakAnchor<SettingsView> anchor_{this};
};

}  // namespace lumivoke
