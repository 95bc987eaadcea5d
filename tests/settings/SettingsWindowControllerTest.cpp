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

TEST_F(SettingsWindowControllerTest, TheWindowIsBuiltOnceWithItsFixedLook) {
    auto& controller = app.settingsController();
    controller.show(SettingsTab::perAppRules);
    controller.show(SettingsTab::setup);
    ASSERT_EQ(m.windows.windows().size(), 1u);
    const auto& s = m.windows.windows().front()->settings();
    EXPECT_EQ(s.title, "Lumivoke");
    EXPECT_EQ(s.styleMask, 7u);
    EXPECT_EQ(s.styleMask & window_style::resizable, 0u);
    EXPECT_FALSE(s.releasedWhenClosed);
    EXPECT_EQ(s.collectionBehavior, 2u);
    EXPECT_EQ(s.contentSize, (Size{520, 560}));
    EXPECT_EQ(*controller.rootView()->visibleTab, SettingsTab::setup);
    EXPECT_NE(controller.rootView()->setupView(), nullptr);
    EXPECT_EQ(controller.rootView()->perAppRulesView(), nullptr);
    EXPECT_EQ(m.application.policy(), ActivationPolicy::regular);
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

TEST_F(SettingsWindowControllerTest, TheVersionLineShowsTheVersionText) {
    auto& controller = app.settingsController();
    controller.show(SettingsTab::general);
    EXPECT_EQ(controller.rootView()->versionLine(), "Lumivoke ? (Build ?)");
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
