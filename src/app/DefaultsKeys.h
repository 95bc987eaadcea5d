#pragma once

namespace lumivoke::defaults_keys {

// The application's own keys in its defaults domain; this is the single list of them.
inline constexpr const char* hoverBadgeEnabled = "HoverBadgeEnabled";
inline constexpr const char* perAppRulesEnabled = "PerAppRulesEnabled";
inline constexpr const char* hudOnAutoSwitchEnabled = "HUDOnAutoSwitchEnabled";
inline constexpr const char* menubarIconVisible = "MenubarIconVisible";
inline constexpr const char* perAppRules = "PerAppRules";
// A port that lets the user choose the trigger key keeps that choice itself, under
// TriggerKeys::defaultsKey ("TriggerKey").
// The rules store keeps "PerAppRules" itself, and an undecodable value of it under
// "PerAppRules.unreadable" (see AppRulesStore).

}  // namespace lumivoke::defaults_keys
