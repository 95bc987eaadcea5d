#pragma once

namespace lumivoke::desktop {

/// Whether the desktop asks applications for dark colours through GTK_THEME, the variable GTK
/// and many desktops honour: a theme variant ("Adwaita:dark") or a dark theme by name
/// ("Adwaita-dark", "Yaru-dark"). Needs no display.
bool prefersDarkColours(const char* gtkTheme);

}  // namespace lumivoke::desktop
