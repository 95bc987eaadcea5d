// What the desktop port decides without a display: its words for the application's texts, the
// session type, the keyboard options and settings program of the desktop, its colour scheme.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

#include "ColourScheme.h"
#include "KeyboardSettingsTool.h"
#include "LinuxPreferences.h"
#include "LinuxStrings.h"
#include "SessionType.h"
#include "XkbTriggerOptions.h"
#include "app/MenuBarContent.h"
#include "settings/GeneralSettingsView.h"
#include "settings/PerAppRulesView.h"
#include "settings/SettingsTab.h"
#include "settings/SetupState.h"
#include "settings/SetupView.h"

namespace lumivoke::desktop {
namespace {

/// Every text the application's views and menu show, as keys of a string table.
std::set<std::string> applicationTexts() {
    return {SetupView::heading,
            SetupView::subheading,
            SetupView::accessibilityTitle,
            SetupView::accessibilityExplanation,
            SetupView::accessibilityButton,
            SetupView::globeKeyTitle,
            SetupView::globeKeyExplanation,
            SetupView::keyboardButton,
            SetupView::triggerKeyButton,
            GeneralSettingsView::triggerKeyHeader,
            GeneralSettingsView::triggerKeyLabel,
            GeneralSettingsView::triggerKeyCaption,
            GeneralSettingsView::generalHeader,
            GeneralSettingsView::hoverBadgeHeader,
            GeneralSettingsView::menubarHeader,
            GeneralSettingsView::launchAtLoginLabel,
            GeneralSettingsView::hoverBadgeLabel,
            GeneralSettingsView::menubarIconLabel,
            GeneralSettingsView::hoverBadgeCaption,
            GeneralSettingsView::menubarCaption,
            PerAppRulesView::enableLabel,
            PerAppRulesView::hudLabel,
            PerAppRulesView::explanation,
            PerAppRulesView::applicationHeader,
            PerAppRulesView::sourceHeader,
            PerAppRulesView::addHelp,
            PerAppRulesView::removeHelp,
            PerAppRulesView::addPanelTitle,
            PerAppRulesView::addPanelPrompt,
            MenuBarContent::grantAccessibilityTitle,
            MenuBarContent::settingsTitle,
            MenuBarContent::moreAppsTitle,
            MenuBarContent::quitTitle,
            segmentTitle(SettingsTab::setup),
            segmentTitle(SettingsTab::general),
            segmentTitle(SettingsTab::perAppRules)};
}

TEST(LinuxStringsTest, EachReplacementIsOfATextTheApplicationShows) {
    const auto texts = applicationTexts();
    for (const auto& [key, text] : LinuxStrings::replacements()) {
        EXPECT_TRUE(texts.contains(key)) << "no view shows \"" << key << "\"";
        EXPECT_NE(text, key);
    }
}

TEST(LinuxStringsTest, NoTextShownOnLinuxSpeaksOfMacOS) {
    // The texts that the Linux port shows: its replacements, or the texts as they are. A text
    // whose button the port never shows (no permission pane) need not be replaced.
    const std::set<std::string> neverShown{SetupView::accessibilityButton};
    const LinuxStrings strings;
    const char* macWords[] = {"macOS",   "System Settings", "Accessibility", "Globe",
                              "🌐",       "Spotlight",       "Finder",        "menubar",
                              "Menubar", "menu bar"};
    for (const auto& key : applicationTexts()) {
        if (neverShown.contains(key)) {
            continue;
        }
        const std::string shown = strings.text(key);
        for (const char* word : macWords) {
            EXPECT_EQ(shown.find(word), std::string::npos)
                << "\"" << shown << "\" speaks of " << word;
        }
    }
}

TEST(LinuxStringsTest, TextsWithoutAReplacementShowAsTheyAre) {
    const LinuxStrings strings;
    EXPECT_EQ(strings.text("Launch at login"), "Launch at login");
    EXPECT_EQ(strings.text("Show menubar icon"), "Show tray icon");
    EXPECT_EQ(strings.text(""), "");
}

TEST(SessionTypeTest, WaylandIsNamedByTheSessionTypeOrAWaylandDisplay) {
    struct Case {
        const char* sessionType;
        const char* waylandDisplay;
        bool wayland;
    };
    const Case cases[] = {
        {nullptr, nullptr, false},   {"x11", nullptr, false},      {"wayland", nullptr, true},
        {"tty", "", false},          {nullptr, "wayland-0", true}, {"x11", "wayland-1", true},
        {"Wayland", nullptr, false},  // the variable is lower-case by definition
    };
    for (const auto& c : cases) {
        const std::map<std::string, const char*> env{{"XDG_SESSION_TYPE", c.sessionType},
                                                     {"WAYLAND_DISPLAY", c.waylandDisplay}};
        const bool wayland = isWaylandSession([&](const char* name) { return env.at(name); });
        EXPECT_EQ(wayland, c.wayland) << (c.sessionType ? c.sessionType : "(unset)") << " / "
                                      << (c.waylandDisplay ? c.waylandDisplay : "(unset)");
    }
}

TEST(XkbTriggerOptionsTest, EachTriggerKeyHasTheOptionsThatGiveItAJob) {
    struct Case {
        const char* trigger;
        std::vector<std::string> taking;
        std::vector<std::string> leaving;
    };
    const Case cases[] = {
        {"right-ctrl",
         {"grp:rctrl_toggle", "grp:rctrl_switch", "grp:lctrl_rctrl_switch", "lv3:switch",
          "compose:rctrl", "ctrl:rctrl_ralt"},
         {"grp:rctrl_rshift_toggle", "grp:ctrls_toggle", "compose:rctrl-altgr", "grp:toggle"}},
        {"right-alt",
         {"grp:toggle", "grp:switch", "compose:ralt"},
         {"lv3:ralt_switch", "grp:lalt_toggle", "grp:alt_shift_toggle"}},
        {"left-super", {"grp:lwin_toggle", "grp:win_switch", "compose:lwin"}, {"grp:rwin_toggle"}},
        {"right-super", {"grp:rwin_toggle", "grp:win_switch"}, {"grp:lwin_toggle"}},
        {"menu", {"grp:menu_toggle", "compose:menu", "lv3:menu_switch"}, {"altwin:menu"}},
        {"scroll-lock", {"grp:sclk_toggle", "compose:sclk"}, {"grp_led:scroll"}},
        {"pause", {"compose:paus"}, {"compose:prsc"}},
        {"fn", {}, {"grp:rctrl_toggle", "compose:menu"}},
        {"no-such-key", {}, {"grp:rctrl_toggle"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> all = c.taking;
        all.insert(all.end(), c.leaving.begin(), c.leaving.end());
        EXPECT_EQ(conflictingOptions(c.trigger, all), c.taking) << c.trigger;
    }
}

TEST(XkbTriggerOptionsTest, TheOptionsAreTheFifthTextOfTheRulesNames) {
    using namespace std::string_literals;
    struct Case {
        std::string property;
        std::vector<std::string> options;
    };
    const Case cases[] = {
        {"evdev\0pc105\0us,de\0,\0grp:rctrl_toggle,compose:menu\0"s,
         {"grp:rctrl_toggle", "compose:menu"}},
        {"evdev\0pc105\0us\0\0\0"s, {}},
        {"evdev\0pc105\0us\0\0grp:sclk_toggle"s, {"grp:sclk_toggle"}},  // no final NUL
        {"evdev\0pc105\0us\0\0,grp:menu_toggle,,\0"s, {"grp:menu_toggle"}},
        {"evdev\0pc105\0us"s, {}},  // cut short
        {""s, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rulesNamesOptions(c.property), c.options);
    }
}

TEST(KeyboardSettingsToolTest, TheDesktopAndWhatIsInstalledChooseTheProgram) {
    using Command = std::optional<std::vector<std::string>>;
    const std::set<std::string> everything{"gnome-control-center", "systemsettings",
                                           "xfce4-keyboard-settings"};
    struct Case {
        const char* desktop;
        std::set<std::string> installed;
        Command command;
    };
    const std::vector<Case> cases{
        {"GNOME", everything, std::vector<std::string>{"gnome-control-center", "keyboard"}},
        {"ubuntu:GNOME", everything, std::vector<std::string>{"gnome-control-center", "keyboard"}},
        {"KDE", everything, std::vector<std::string>{"systemsettings", "kcm_keyboard"}},
        {"xfce", everything, std::vector<std::string>{"xfce4-keyboard-settings"}},
        {"XFCE", {}, std::nullopt},
        {"Budgie:GNOME",
         {"gnome-control-center"},
         std::vector<std::string>{"gnome-control-center", "keyboard"}},
        {"i3", everything, std::nullopt},
        {"", everything, std::nullopt},
        {nullptr, everything, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto command = keyboardSettingsCommand(
            c.desktop, [&](const std::string& program) { return c.installed.contains(program); });
        EXPECT_EQ(command, c.command) << (c.desktop ? c.desktop : "(unset)");
    }
}

TEST(ColourSchemeTest, GtkThemeAsksForDarkColoursByVariantOrName) {
    const std::pair<const char*, bool> cases[] = {
        {nullptr, false},          {"", false},
        {"Adwaita", false},        {"Adwaita:dark", true},
        {"Adwaita:DARK", true},    {"Adwaita-dark", true},
        {"Yaru-Dark", true},       {"Adwaita:light", false},
        {"darkly-themed", false},  {"Arc-Dark:dark", true},
        {"Arc-Dark:light", false},
    };
    for (const auto& [theme, dark] : cases) {
        EXPECT_EQ(prefersDarkColours(theme), dark) << (theme ? theme : "(unset)");
    }
}

TEST(LinuxPreferencesTest, TheGlobeKeySettingSaysWhetherTheTriggerKeyIsFree) {
    bool free = true;
    int probes = 0;
    LinuxPreferences preferences([&] {
        ++probes;
        return free;
    });
    EXPECT_TRUE(SetupState::readGlobeKeyDisabled(preferences));
    free = false;
    EXPECT_FALSE(SetupState::readGlobeKeyDisabled(preferences));
    EXPECT_EQ(probes, 2) << "each read probes anew";
    EXPECT_EQ(preferences.copyAppValue("AppleFnUsageType", "com.example.other"), std::nullopt);
    EXPECT_EQ(preferences.copyAppValue("Other", "com.apple.HIToolbox"), std::nullopt);
    EXPECT_EQ(probes, 2);
}

}  // namespace
}  // namespace lumivoke::desktop
