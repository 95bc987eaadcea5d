// What the settings tabs' views tell whoever draws them, and the rules of their controls: each
// view is observed, never polled, and says what to draw, so that a port only draws.
#include <gtest/gtest.h>

#include "SimPlatform.h"
#include "SimTriggerKeys.h"
#include "TraceSearch.h"
#include "app/AppState.h"
#include "app/MenuBarContent.h"
#include "settings/SettingsWindowController.h"
#include "settings/ViewChanges.h"

namespace lumivoke {
namespace {

TEST(ViewChangesTest, ABatchGathersItsChangesIntoOneNotificationAtItsEnd) {
    ViewChanges changes;
    int heard = 0;
    Token t = changes.observe([&] { ++heard; });
    changes.notify();
    EXPECT_EQ(heard, 1) << "outside a batch a change is told at once";
    {
        const auto outer = changes.batch();
        changes.notify();
        {
            const auto inner = changes.batch();
            changes.notify();
        }
        EXPECT_EQ(heard, 1) << "nothing is told before the outermost batch ends";
        changes.notify();
    }
    EXPECT_EQ(heard, 2);
    { const auto quiet = changes.batch(); }
    EXPECT_EQ(heard, 2) << "a batch without a change tells nobody";
}

/// A machine with two sources, an installed application and the settings window open.
class SettingsViewsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [id, name] : {std::pair{"us", "U.S."}, std::pair{"de", "German"}}) {
            m.inputSources.define(
                {{SourceProperty::id, std::string(id)},
                 {SourceProperty::localizedName, std::string(name)},
                 {SourceProperty::languages, std::vector<std::string>{"en"}},
                 {SourceProperty::category, std::string(kKeyboardInputSourceCategory)},
                 {SourceProperty::isSelectCapable, true}});
        }
        m.inputSources.setCurrent("us");
        m.bundles.installed["/Applications/Mail.app"] =
            BundleInfo{std::string("com.example.Mail"), {}, {}};
        app = std::make_unique<AppState>(m.platform(), m.views);
        m.settle();
    }

    SettingsView& open(SettingsTab tab) {
        app->settingsController().show(tab);
        m.settle();
        return *app->settingsController().rootView();
    }

    /// Counts the notifications of a view from now on.
    template <class View>
    int& count(View& view) {
        counters.push_back(std::make_unique<int>(0));
        int& n = *counters.back();
        tokens.push_back(view.observe([&n] { ++n; }));
        return n;
    }

    sim::SimPlatform m;
    std::unique_ptr<AppState> app;
    std::vector<std::unique_ptr<int>> counters;
    std::vector<Token> tokens;
};

TEST_F(SettingsViewsTest, AFailedRegistrationIsToldOnceWithTheSwitchBackOff) {
    auto& general = open(SettingsTab::general).general();
    int& heard = count(general);
    m.loginItems.failNextRegister();
    general.toggles().front().set(true);
    // The switch was drawn on under the click; it must be drawn again although the value is
    // where it was before the click.
    EXPECT_EQ(heard, 1);
    EXPECT_FALSE(general.toggles().front().isOn);
    general.toggles().front().set(true);
    EXPECT_EQ(heard, 2);
    EXPECT_TRUE(general.toggles().front().isOn);
}

TEST_F(SettingsViewsTest, TheGeneralTabHearsOfItsSwitchesWhoeverFlipsThem) {
    auto& general = open(SettingsTab::general).general();
    int& heard = count(general);
    app->setHoverBadgeEnabled(false);
    EXPECT_EQ(heard, 1);
    app->featureSwitches().setMenubarIconVisible(false);
    m.settle();  // the defaults tell of their changes on a later turn
    EXPECT_EQ(heard, 2);
    EXPECT_FALSE(general.toggles()[2].isOn);
}

TEST_F(SettingsViewsTest, TheRulesTabHearsOfWhatItShowsAndNotOfTheCurrentSource) {
    auto& rules = open(SettingsTab::perAppRules).perAppRules();
    int& heard = count(rules);
    app->appRulesStore().setRule("com.example.Mail", "de");
    EXPECT_EQ(heard, 1) << "a rule";
    app->setPerAppRulesEnabled(true);
    EXPECT_EQ(heard, 2) << "a switch";
    rules.toggleSort(SortColumn::source);
    EXPECT_EQ(heard, 3) << "the sort order";
    rules.select(std::string("com.example.Mail"));
    EXPECT_EQ(heard, 4) << "the selection";
    m.inputSources.systemSelect("de");
    m.settle();
    EXPECT_EQ(heard, 4) << "the current source is shown nowhere on the tab";
    m.inputSources.setEnabled("de", false);
    m.settle();
    EXPECT_EQ(heard, 5) << "the sources fill the rows' menus";
}

TEST_F(SettingsViewsTest, AnAddIsOneChangeThatAsksOnceForAScrollAlsoForAListedApplication) {
    auto& rules = open(SettingsTab::perAppRules).perAppRules();
    int& heard = count(rules);
    std::vector<std::optional<std::string>> scrolls;
    tokens.push_back(rules.observe([&] { scrolls.push_back(rules.takePendingScroll()); }));
    for (int i = 0; i < 3; ++i) {
        m.openPanels.planAnswer("/Applications/Mail.app", nullptr);
        rules.buttons().front().action();
    }
    EXPECT_EQ(heard, 3) << "the rule, the selection and the scroll are drawn together";
    EXPECT_EQ(scrolls, (std::vector<std::optional<std::string>>(3, "com.example.Mail")))
        << "the same row is asked for again each time";
    EXPECT_EQ(rules.pendingScroll(), std::nullopt);
    EXPECT_EQ(app->appRulesStore().rules->size(), 1u);
}

TEST_F(SettingsViewsTest, AddWorksWhileTheFeatureIsOffAndRemoveFollowsTheSelection) {
    auto& rules = open(SettingsTab::perAppRules).perAppRules();
    app->appRulesStore().setRule("com.example.Mail", "de");
    struct Case {
        bool featureOn;
        bool selected;
    };
    for (const Case c :
         {Case{false, false}, Case{false, true}, Case{true, false}, Case{true, true}}) {
        app->setPerAppRulesEnabled(c.featureOn);
        rules.select(c.selected ? std::optional<std::string>("com.example.Mail") : std::nullopt);
        const auto buttons = rules.buttons();
        ASSERT_EQ(buttons.size(), 2u);
        EXPECT_TRUE(buttons[0].isEnabled) << "add, feature " << c.featureOn;
        EXPECT_EQ(buttons[1].isEnabled, c.selected) << "remove, feature " << c.featureOn;
        EXPECT_EQ(rules.isTableEnabled(), c.featureOn);
    }
}

TEST_F(SettingsViewsTest, TheRulesFormGivesTheExplanationToTheFeatureSwitch) {
    auto& rules = open(SettingsTab::perAppRules).perAppRules();
    const auto toggles = rules.toggles();
    ASSERT_EQ(toggles.size(), 2u);
    EXPECT_EQ(toggles[0].label, PerAppRulesView::enableLabel);
    EXPECT_EQ(toggles[0].caption, std::optional<std::string>(PerAppRulesView::explanation));
    EXPECT_EQ(toggles[1].label, PerAppRulesView::hudLabel);
    EXPECT_EQ(toggles[1].caption, std::nullopt);
}

TEST_F(SettingsViewsTest, EachSortColumnAndDirectionHasItsChevron) {
    auto& rules = open(SettingsTab::perAppRules).perAppRules();
    using Chevrons = std::pair<std::optional<std::string>, std::optional<std::string>>;
    auto chevrons = [&] {
        return Chevrons{rules.headerChevron(SortColumn::appName),
                        rules.headerChevron(SortColumn::source)};
    };
    EXPECT_EQ(chevrons(), (Chevrons{"chevron.up", std::nullopt}));
    rules.toggleSort(SortColumn::appName);
    EXPECT_EQ(chevrons(), (Chevrons{"chevron.down", std::nullopt}));
    rules.toggleSort(SortColumn::source);
    EXPECT_EQ(chevrons(), (Chevrons{std::nullopt, "chevron.up"}));
    rules.toggleSort(SortColumn::source);
    EXPECT_EQ(chevrons(), (Chevrons{std::nullopt, "chevron.down"}));
}

TEST_F(SettingsViewsTest, TheSetupTabHearsOnlyOfRealChangesOfItsTwoStates) {
    auto& setup = open(SettingsTab::setup).setup();
    int& heard = count(setup);
    m.advance(std::chrono::seconds(3));
    EXPECT_EQ(heard, 0) << "the poll reads the same setting: nothing to draw";
    m.preferences.set(SetupState::fnUsageDomain, SetupState::fnUsageKey, std::int64_t{1});
    m.advance(std::chrono::seconds(1));
    EXPECT_EQ(heard, 1);
    app->isAccessibilityTrusted.set(false);
    EXPECT_EQ(heard, 2);
}

TEST_F(SettingsViewsTest, ARowHasAButtonOnlyWhileMissingAndOnlyWhereItsPaneOpens) {
    auto& setup = open(SettingsTab::setup).setup();
    struct Case {
        bool accessibilityPane;
        bool keyboardPane;
        std::vector<std::string> buttons;
    };
    const std::vector<Case> cases{
        {true, true, {SetupView::accessibilityButton, SetupView::keyboardButton}},
        {false, true, {"", SetupView::keyboardButton}},
        {true, false, {SetupView::accessibilityButton, ""}},
        {false, false, {"", ""}},
    };
    app->isAccessibilityTrusted.set(false);
    m.preferences.set(SetupState::fnUsageDomain, SetupState::fnUsageKey, std::int64_t{1});
    m.advance(std::chrono::seconds(1));
    for (const auto& c : cases) {
        m.links.setOpenable(SetupView::accessibilityPaneURL, c.accessibilityPane);
        m.links.setOpenable(SetupView::keyboardPaneURL, c.keyboardPane);
        std::vector<std::string> titles;
        for (const auto& row : setup.rows()) {
            EXPECT_TRUE(row.showsIllustration());
            titles.push_back(row.button ? row.button->title : "");
        }
        EXPECT_EQ(titles, c.buttons);
    }
    // Met: no button wherever the pane is.
    m.links.setOpenable(SetupView::accessibilityPaneURL, true);
    m.links.setOpenable(SetupView::keyboardPaneURL, true);
    app->isAccessibilityTrusted.set(true);
    m.preferences.set(SetupState::fnUsageDomain, SetupState::fnUsageKey, std::int64_t{0});
    m.advance(std::chrono::seconds(1));
    for (const auto& row : setup.rows()) {
        EXPECT_FALSE(row.button.has_value());
        EXPECT_FALSE(row.showsIllustration());
    }
}

TEST_F(SettingsViewsTest, EveryTextShownComesThroughThePlatformsStringTable) {
    m.strings.define("Setup check", "Check");
    m.strings.define("Allow Accessibility access", "Keys");
    m.strings.define("Show menubar icon", "Show tray icon");
    m.strings.define(
        "If hidden, Lumivoke keeps running in the background. To open Settings "
        "again, launch Lumivoke from Spotlight or Finder.",
        "Start it again.");
    m.strings.define("Input Source", "Layout");
    m.strings.define("Add an application", "Add");
    m.strings.define("Per-App Rules", "Rules");
    m.strings.define("Quit", "Leave");
    auto& view = open(SettingsTab::setup);
    EXPECT_EQ(view.setup().headingText(), "Check");
    EXPECT_EQ(view.setup().rows()[0].title, "Keys");
    EXPECT_EQ(view.segmentText(SettingsTab::perAppRules), "Rules");
    const auto toggles = view.general().toggles();
    EXPECT_EQ(toggles[2].label, "Show tray icon");
    EXPECT_EQ(toggles[2].caption, std::optional<std::string>("Start it again."));
    EXPECT_EQ(toggles[0].label, "Launch at login") << "a text without an entry shows as it is";
    EXPECT_EQ(view.perAppRules().headerTitle(SortColumn::source), "Layout");
    EXPECT_EQ(view.perAppRules().buttons().front().title, "Add");
    MenuBarContent menu(*app);
    EXPECT_EQ(menu.items().back().title, "Leave");
}

TEST_F(SettingsViewsTest, WithoutAnAccessibilityPaneTheMenusWarningOpensTheSetupTab) {
    app->isAccessibilityTrusted.set(false);
    m.links.setOpenable(SetupView::accessibilityPaneURL, false);
    MenuBarContent menu(*app);
    const auto items = menu.items();
    ASSERT_EQ(items.front().title, MenuBarContent::grantAccessibilityTitle);
    items.front().action();
    m.settle();
    EXPECT_FALSE(traced(m.trace, "open-url"));
    ASSERT_NE(app->settingsControllerIfCreated(), nullptr);
    EXPECT_EQ(*app->settingsController().rootView()->visibleTab, SettingsTab::setup);
    EXPECT_TRUE(app->settingsController().window()->isVisible());
}

/// The same machine on a platform that lets a person choose the trigger key.
class TriggerKeyChoiceTest : public SettingsViewsTest {
protected:
    void SetUp() override {
        m.platform().triggerKeys = &keys;
        SettingsViewsTest::SetUp();
    }

    sim::SimTriggerKeys keys{{{"right-ctrl", "Right Ctrl"}, {"pause", "Pause"}}, "right-ctrl"};
};

TEST_F(SettingsViewsTest, WithoutAChoiceOfTriggerKeyGeneralShowsOnlyItsSwitches) {
    auto& general = open(SettingsTab::general).general();
    EXPECT_TRUE(pickersOf(general.sections()).empty());
    EXPECT_EQ(general.sections().size(), 3U);
}

TEST_F(TriggerKeyChoiceTest, GeneralShowsTheChoiceFirstAndHearsOfItWhoeverMakesIt) {
    auto& general = open(SettingsTab::general).general();
    int& heard = count(general);
    const auto sections = general.sections();
    ASSERT_EQ(sections.size(), 4U);
    EXPECT_EQ(sections.front().header,
              std::optional<std::string>(GeneralSettingsView::triggerKeyHeader));
    const auto pickers = pickersOf(sections);
    ASSERT_EQ(pickers.size(), 1U);
    EXPECT_EQ(pickers[0].options,
              (std::vector<PickerOption>{{"right-ctrl", "Right Ctrl"}, {"pause", "Pause"}}));
    EXPECT_EQ(pickers[0].selected, std::optional<std::string>("right-ctrl"));
    EXPECT_EQ(general.toggles().size(), 3U) << "the three switches stay";

    pickers[0].choose("pause");
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(pickersOf(general.sections())[0].selected, std::optional<std::string>("pause"));
    keys.select("right-ctrl");  // chosen elsewhere: the settings file, another window
    EXPECT_EQ(heard, 2);
    pickers[0].choose("scroll-lock");
    EXPECT_EQ(heard, 2) << "a key the platform does not offer changes nothing";
    EXPECT_EQ(keys.current(), "right-ctrl");
}

TEST_F(TriggerKeyChoiceTest, WithoutAKeyboardPaneTheSecondRowLeadsToTheChoice) {
    auto& view = open(SettingsTab::setup);
    m.preferences.set(SetupState::fnUsageDomain, SetupState::fnUsageKey, std::int64_t{1});
    m.advance(std::chrono::seconds(1));
    m.links.setOpenable(SetupView::keyboardPaneURL, true);
    ASSERT_TRUE(view.setup().rows()[1].button.has_value());
    EXPECT_EQ(view.setup().rows()[1].button->title, SetupView::keyboardButton)
        << "a pane that can free the key comes first";
    m.links.setOpenable(SetupView::keyboardPaneURL, false);
    const auto button = view.setup().rows()[1].button;
    ASSERT_TRUE(button.has_value());
    EXPECT_EQ(button->title, SetupView::triggerKeyButton);
    button->action();
    m.settle();
    EXPECT_EQ(*view.visibleTab, SettingsTab::general);
    EXPECT_FALSE(traced(m.trace, "open-url"));
    ASSERT_NE(view.generalView(), nullptr);
    EXPECT_EQ(pickersOf(view.generalView()->sections()).size(), 1U);
}

TEST_F(SettingsViewsTest, WithoutAKeyboardPaneOrAChoiceTheSecondRowHasNoButton) {
    auto& view = open(SettingsTab::setup);
    m.preferences.set(SetupState::fnUsageDomain, SetupState::fnUsageKey, std::int64_t{1});
    m.advance(std::chrono::seconds(1));
    m.links.setOpenable(SetupView::keyboardPaneURL, false);
    EXPECT_FALSE(view.setup().rows()[1].button.has_value());
}

}  // namespace
}  // namespace lumivoke
