#pragma once

#include <string>
#include <vector>

#include "base/Published.h"
#include "base/WeakAnchor.h"
#include "platform/LoginItems.h"
#include "platform/StringTable.h"
#include "platform/TriggerKeys.h"
#include "settings/Controls.h"
#include "settings/FeatureSwitches.h"
#include "settings/ViewChanges.h"

namespace lumivoke {

/// The General tab: the trigger key where the platform lets a person choose it, launch at login
/// (kept by the system's login-item service, never by the application), the hover badge and the
/// menu-bar icon.
class GeneralSettingsView {
public:
    static constexpr const char* triggerKeyHeader = "Trigger key";
    static constexpr const char* triggerKeyLabel = "Switch input source with";
    static constexpr const char* triggerKeyCaption =
        "A short tap of this key on its own switches to the next input source. Held, or pressed "
        "together with another key, it does what it always does.";
    static constexpr const char* generalHeader = "General";
    static constexpr const char* hoverBadgeHeader = "Hover badge";
    static constexpr const char* menubarHeader = "Menubar";
    static constexpr const char* launchAtLoginLabel = "Launch at login";
    static constexpr const char* hoverBadgeLabel = "Show hover badge";
    static constexpr const char* menubarIconLabel = "Show menubar icon";
    static constexpr const char* hoverBadgeCaption =
        "Shows a small capsule with the current input source code next to the mouse pointer "
        "whenever it's hovering over any editable or selectable text region.";
    static constexpr const char* menubarCaption =
        "If hidden, Lumivoke keeps running in the background. To open Settings again, launch "
        "Lumivoke from Spotlight or Finder.";

    /// initialLaunchAtLogin is whether the login item was enabled when the tab was built; the
    /// texts are keys of strings; triggerKeys, if any, is the platform's choice of trigger key.
    GeneralSettingsView(FeatureSwitches& switches, LoginItemService& loginItems,
                        const StringTable& strings, bool initialLaunchAtLogin,
                        TriggerKeys* triggerKeys = nullptr);

    /// The tab is built anew: launchAtLogin starts from whether the login item was enabled
    /// then.
    void reset(bool initialLaunchAtLogin) { launchAtLogin.set(initialLaunchAtLogin); }
    /// Calls back after each change of what the tab shows: the trigger key, the switches,
    /// launch at login (also when a failed change puts it back where it was).
    Token observe(std::function<void()> callback) { return changes_.observe(std::move(callback)); }
    /// The tab is shown: the login-item status may have changed elsewhere, so re-read it.
    void appear();

    /// The person flips "Launch at login": register or unregister, and on failure show what
    /// the service really says.
    void changeLaunchAtLogin(bool on);
    /// "Show hover badge" shows and sets the application's switch.
    bool isHoverBadgeShown() const;
    void changeHoverBadge(bool on);
    /// "Show menubar icon" shows and sets whether the menu-bar item is shown.
    bool isMenubarIconVisible() const;
    void changeMenubarIconVisible(bool on);

    /// The person chooses a trigger key; an identifier the platform does not offer changes
    /// nothing.
    void chooseTriggerKey(const std::string& identifier);

    /// The form: the trigger key's section where the platform offers the choice, then a section
    /// per switch, each with its header; a control carries its explanation.
    std::vector<FormSection> sections();
    /// The three switches in the order they are shown.
    std::vector<ToggleControl> toggles() { return togglesOf(sections()); }

    /// The displayed launch-at-login state; assigned by the view itself.
    Published<bool> launchAtLogin;

private:
    bool isLoginItemEnabled() const;

    FeatureSwitches& switches_;
    LoginItemService& loginItems_;
    const StringTable& strings_;
    TriggerKeys* triggerKeys_;
    ViewChanges changes_;
    Token triggerKeyToken_;
    Token launchAtLoginToken_;
    Token switchesToken_;
    WeakAnchor<GeneralSettingsView> anchor_{this};
};

}  // namespace lumivoke
