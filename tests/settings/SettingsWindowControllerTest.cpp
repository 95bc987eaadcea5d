#include "settings/SettingsWindowController.h"

#include <gtest/gtest.h>

#include "SimPlatform.h"
#include "TraceSearch.h"
#include "app/AppState.h"
#include "app/LumivokeApp.h"

namespace lumivoke {
namespace {

class SettingsWindowControllerTest : public ::testing::Test {
protected:
    sim::SimPlatform m;
    AppState app{m.platform(), m.views};
};

TEST_F(SettingsWindowControllerTest, ANeverShownControllerSelectsGeneralAndHasNoWindow) {
    m.settle();
    EXPECT_EQ(app.settingsControllerIfCreated(), nullptr);
    auto& controller = app.settingsController();
    EXPECT_EQ(&controller, &app.settingsController());
    EXPECT_EQ(*controller.tabSelection().selected, SettingsTab::general);
    EXPECT_EQ(controller.window(), nullptr);
    EXPECT_FALSE(controller.setupState().isPolling());
    EXPECT_TRUE(m.windows.windows().empty());
}

TEST_F(SettingsWindowControllerTest, AnotherWindowClosingIsIgnored) {
    auto& controller = app.settingsController();
    controller.show(SettingsTab::general);
    auto other = m.windows.create(WindowSettings{"Other", "Other", {10, 10}, 7, true, 0});
    controller.windowWillClose(*other);
    EXPECT_TRUE(controller.setupState().isPolling());
    EXPECT_EQ(m.application.policy(), ActivationPolicy::regular);
    EXPECT_FALSE(traced(m.trace, "app: policy accessory"));
    m.windows.find("Settings")->performClose();
    EXPECT_FALSE(controller.setupState().isPolling());
    EXPECT_EQ(m.application.policy(), ActivationPolicy::accessory);
}

TEST_F(SettingsWindowControllerTest, ATabKeepsItsStateUntilAnotherTabIsChosen) {
    auto& controller = app.settingsController();
    controller.show(SettingsTab::perAppRules);
    auto* rules = controller.rootView()->perAppRulesView();
    ASSERT_NE(rules, nullptr);
    rules->toggleSort(SortColumn::source);
    // Showing the same tab again is not a new tab.
    controller.show(SettingsTab::perAppRules);
    EXPECT_EQ(controller.rootView()->perAppRulesView()->sortColumn(), SortColumn::source);
    controller.rootView()->chooseTab(SettingsTab::general);
    controller.rootView()->chooseTab(SettingsTab::perAppRules);
    EXPECT_EQ(controller.rootView()->perAppRulesView()->sortColumn(), SortColumn::appName);
    EXPECT_EQ(controller.rootView()->perAppRulesView()->sortDirection(), SortDirection::ascending);
}

TEST(SettingsTabsTest, AnAddWaitingForItsPanelOutlivesATabSwitchAndKeepsTheChoice) {
    sim::SimPlatform m;
    m.inputSources.define({{SourceProperty::id, std::string("a")},
                           {SourceProperty::localizedName, std::string("A")},
                           {SourceProperty::languages, std::vector<std::string>{"en"}},
                           {SourceProperty::category, std::string(kKeyboardInputSourceCategory)},
                           {SourceProperty::isSelectCapable, true}});
    m.bundles.installed["/Applications/Mail.app"] =
        BundleInfo{std::string("com.example.Mail"), {}, {}};
    AppState app(m.platform(), m.views);
    m.settle();
    auto& controller = app.settingsController();
    controller.show(SettingsTab::perAppRules);
    auto* rules = controller.rootView()->perAppRulesView();
    ASSERT_NE(rules, nullptr);
    rules->toggleSort(SortColumn::source);
    m.openPanels.planAnswer("/Applications/Mail.app", [&] {
        // A second launch while the panel is up opens the settings on General.
        m.notifications.post("openLumivokeSettings");
        EXPECT_EQ(controller.rootView()->perAppRulesView(), nullptr);
    });
    rules->buttons().front().action();
    EXPECT_EQ(app.appRulesStore().rules->count("com.example.Mail"), 1u);
    EXPECT_EQ(rules->pendingScroll(), std::nullopt) << "no scroll for a tab that is gone";
    controller.rootView()->chooseTab(SettingsTab::perAppRules);
    EXPECT_EQ(controller.rootView()->perAppRulesView()->selection(), std::nullopt);
    EXPECT_EQ(controller.rootView()->perAppRulesView()->sortColumn(), SortColumn::appName);
}

TEST(SettingsControlsTest, AControlKeptPastTheWindowDoesNothing) {
    sim::SimPlatform m;
    std::vector<ToggleControl> toggles;
    std::vector<ButtonControl> buttons;
    {
        AppState app(m.platform(), m.views);
        auto& controller = app.settingsController();
        controller.show(SettingsTab::general);
        toggles = controller.rootView()->generalView()->toggles();
        controller.show(SettingsTab::perAppRules);
        buttons = controller.rootView()->perAppRulesView()->buttons();
        controller.show(SettingsTab::setup);
        for (const auto& b : controller.rootView()->setupView()->buttons()) {
            buttons.push_back(b);
        }
    }
    const auto before = m.trace.lines().size();
    // A port that runs a click on a later turn may find the views gone.
    for (const auto& t : toggles) {
        t.set(!t.isOn);
    }
    for (const auto& b : buttons) {
        b.action();
    }
    EXPECT_EQ(m.trace.lines().size(), before);
}

/// A form as "header: row | row", toggles as "LABEL=on|off[ disabled][ [CAPTION…]]".
std::vector<std::string> outline(const std::vector<FormSection>& sections) {
    std::vector<std::string> out;
    for (const auto& section : sections) {
        std::string line = section.header.value_or("(no header)") + ":";
        for (const auto& row : section.rows) {
            const auto& t = std::get<ToggleControl>(row);
            line +=
                " " + t.label + "=" + (t.isOn ? "on" : "off") + (t.isEnabled ? "" : " disabled");
            if (t.caption) {
                line += " [" + t.caption->substr(0, 12) + "…]";
            }
            line += " |";
        }
        out.push_back(line);
    }
    return out;
}

TEST_F(SettingsWindowControllerTest, EachTabsFormComesWholeFromItsView) {
    auto& controller = app.settingsController();
    controller.show(SettingsTab::general);
    EXPECT_EQ(outline(controller.rootView()->generalView()->sections()),
              (std::vector<std::string>{
                  "General: Launch at login=off |",
                  "Hover badge: Show hover badge=on [Shows a smal…] |",
                  "Menubar: Show menubar icon=on [If hidden, L…] |",
              }));
    controller.show(SettingsTab::perAppRules);
    EXPECT_EQ(outline(controller.rootView()->perAppRulesView()->form()),
              (std::vector<std::string>{
                  "(no header): Enable per-app rules=off [When you swi…] | Show HUD when "
                  "switching to selected apps=on disabled |",
              }));
}

TEST(AppDelegateTest, AReopenPostsTheOpenSettingsRequestWhateverIsVisible) {
    sim::SimPlatform m;
    AppDelegate delegate(m.notifications);
    int posts = 0;
    Token t = m.notifications.addObserver("openLumivokeSettings", [&] { ++posts; });
    EXPECT_TRUE(delegate.applicationShouldHandleReopen(false));
    EXPECT_TRUE(delegate.applicationShouldHandleReopen(true));
    EXPECT_EQ(posts, 2);
}

TEST(AppStateSettingsTest, TeardownRemovesTheOpenSettingsObserverAndTheLaunchCheckIsInert) {
    sim::SimPlatform m;
    m.keyboard.setTrusted(false);
    {
        AppState app(m.platform(), m.views);
        EXPECT_EQ(m.notifications.observerCount("openLumivokeSettings"), 1u);
    }
    EXPECT_EQ(m.notifications.observerCount("openLumivokeSettings"), 0u);
    // The launch check was posted but its owner is gone: nothing opens.
    m.settle();
    EXPECT_TRUE(m.windows.windows().empty());
}

}  // namespace
}  // namespace lumivoke
