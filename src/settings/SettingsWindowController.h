#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "base/Published.h"
#include "base/WeakAnchor.h"
#include "platform/Platform.h"
#include "platform/Windows.h"
#include "settings/GeneralSettingsView.h"
#include "settings/PerAppRulesView.h"
#include "settings/SettingsEnvironment.h"
#include "settings/SettingsWindowHost.h"
#include "settings/SetupState.h"
#include "settings/SetupView.h"

namespace lumivoke {

/// The tabs of the settings window, in the order of the tab control.
enum class SettingsTab { setup, general, perAppRules };

/// The segment title of a tab: "Setup", "General", "Per-App Rules".
const char* segmentTitle(SettingsTab tab);

/// Which tab the settings window shows; shared by the controller and the view tree.
class SettingsTabSelection {
public:
    Published<SettingsTab> selected{SettingsTab::general};
};

/// The root view of the settings window: the tab control, the selected tab and the version
/// line. Each time another tab is selected its view is built anew, so the tab starts from its
/// initial state. A tab's view object is made once and kept, though: building anew resets its
/// state, because one of its actions may still be on the stack (the open panel's modal run lets
/// a second launch switch the tab), and a view must never die under its own action.
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

    /// The person clicks a segment of the tab control.
    void chooseTab(SettingsTab tab) { tabSelection_.selected.set(tab); }

    /// The window came on screen / went off it; a tab refreshes what it reads on showing.
    void appear();
    void disappear();
    bool isShown() const { return isShown_; }

    /// The tab whose view is built now; changes only when another tab is selected.
    Published<SettingsTab> visibleTab;
    /// The views of the tabs; only the visible tab's is present.
    SetupView* setupView() { return *visibleTab == SettingsTab::setup ? setup_.get() : nullptr; }
    GeneralSettingsView* generalView() {
        return *visibleTab == SettingsTab::general ? general_.get() : nullptr;
    }
    PerAppRulesView* perAppRulesView() {
        return *visibleTab == SettingsTab::perAppRules ? perAppRules_.get() : nullptr;
    }

    /// Set by the port: bring the rules table's row with this bundle identifier into view.
    std::function<void(const std::string&)> onScrollToRule;

private:
    void build(SettingsTab tab);

    const SettingsEnvironment& environment_;
    Platform& platform_;
    SetupState& setupState_;
    SettingsTabSelection& tabSelection_;
    bool isShown_ = false;
    std::unique_ptr<SetupView> setup_;
    std::unique_ptr<GeneralSettingsView> general_;
    std::unique_ptr<PerAppRulesView> perAppRules_;
    Token selectionToken_;
    WeakAnchor<SettingsView> anchor_{this};
};

/// Owns the settings window, created on the first show and kept, and switches the application
/// between menu-bar-only (accessory) and regular while the window is open.
class SettingsWindowController final : public WindowDelegate {
public:
    static constexpr const char* windowTitle = "Lumivoke";
    static constexpr unsigned styleMask =
        window_style::titled | window_style::closable | window_style::miniaturizable;

    /// The controller belongs to the application, which hands it environment and platform;
    /// both outlive it. host draws the window.
    SettingsWindowController(SettingsEnvironment environment, Platform& platform,
                             SettingsWindowHost& host);
    ~SettingsWindowController() override;
    SettingsWindowController(const SettingsWindowController&) = delete;
    SettingsWindowController& operator=(const SettingsWindowController&) = delete;

    /// Selects tab and brings the window to the front, building it first if needed.
    void show(SettingsTab tab);
    /// Only the settings window's own closing restores the accessory state.
    void windowWillClose(Window& window) override;

    SetupState& setupState() { return *setupState_; }
    SettingsTabSelection& tabSelection() { return *tabSelection_; }
    /// The window, once the first show built it.
    Window* window() { return window_.get(); }
    SettingsView* rootView() { return rootView_.get(); }

private:
    SettingsEnvironment environment_;
    Platform& platform_;
    SettingsWindowHost& host_;
    std::unique_ptr<SetupState> setupState_;
    std::unique_ptr<SettingsTabSelection> tabSelection_;
    std::unique_ptr<SettingsView> rootView_;
    std::unique_ptr<Window> window_;
};

}  // namespace lumivoke
