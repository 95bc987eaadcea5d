#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumivoke::desktop {

/// The command that opens the desktop's own keyboard settings, where shortcuts and layout
/// options live: chosen by the desktops named in XDG_CURRENT_DESKTOP (a colon-separated list,
/// the most specific first, any letter case), the first one whose tool isInstalled finds. None
/// for a desktop without a known tool, or without XDG_CURRENT_DESKTOP: a settings program of
/// another desktop may not even start there. Needs no display.
std::optional<std::vector<std::string>> keyboardSettingsCommand(
    const char* currentDesktop, const std::function<bool(const std::string&)>& isInstalled);

}  // namespace lumivoke::desktop
