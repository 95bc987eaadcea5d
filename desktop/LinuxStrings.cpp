#include "LinuxStrings.h"

namespace lumivoke::desktop {

const std::map<std::string, std::string>& LinuxStrings::replacements() {
    // On X11 every client may read the keyboard, so there is no permission to grant: the first
    // prerequisite is a session whose display server lets the program see other applications'
    // keys. There is no system Globe-key action either: the second is that nothing else takes
    // the trigger key. Linux has a tray rather than a menu bar, and no Spotlight or Finder.
    static const std::map<std::string, std::string> table{
        {"Allow Accessibility access", "Global key observation"},
        {"Lumivoke needs Accessibility permission to detect the Globe key press globally.",
         "Lumivoke sees the trigger key in every application only in an X11 session: under "
         "Wayland, log out and choose an X11 session (such as \"GNOME on Xorg\") at the login "
         "screen."},
        {"Disable the system Globe-key handler", "Trigger key free"},
        {"In System Settings → Keyboard, set \"Press 🌐 to\" to \"Do Nothing\". Otherwise macOS "
         "responds to the key alongside Lumivoke and shows its own popup.",
         "In your keyboard settings, make sure that no shortcut and no layout-switching option "
         "uses the trigger key, or choose another trigger key under General. Otherwise the "
         "desktop responds to the key alongside Lumivoke."},
        {"Grant Accessibility…", "Set Up Key Observation…"},
        {"Menubar", "Tray"},
        {"Show menubar icon", "Show tray icon"},
        {"If hidden, Lumivoke keeps running in the background. To open Settings again, launch "
         "Lumivoke from Spotlight or Finder.",
         "If hidden, Lumivoke keeps running in the background. To open Settings again, start "
         "Lumivoke once more from your applications menu or a terminal."},
    };
    return table;
}

std::string LinuxStrings::text(const std::string& key) const {
    const auto& table = replacements();
    const auto it = table.find(key);
    return it == table.end() ? key : it->second;
}

}  // namespace lumivoke::desktop
