#include "KeyboardSettingsTool.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace lumivoke::desktop {
namespace {

struct Tool {
    std::string_view desktop;  // as XDG_CURRENT_DESKTOP names it, upper-cased
    std::vector<std::string> command;
};

const std::vector<Tool>& tools() {
    static const std::vector<Tool> table{
        {"GNOME", {"gnome-control-center", "keyboard"}},
        {"UNITY", {"gnome-control-center", "keyboard"}},
        {"BUDGIE", {"gnome-control-center", "keyboard"}},
        {"KDE", {"systemsettings", "kcm_keyboard"}},
        {"XFCE", {"xfce4-keyboard-settings"}},
        {"X-CINNAMON", {"cinnamon-settings", "keyboard"}},
        {"MATE", {"mate-keyboard-properties"}},
        {"LXQT", {"lxqt-config-input"}},
    };
    return table;
}

std::string upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

}  // namespace

std::optional<std::vector<std::string>> keyboardSettingsCommand(
    const char* currentDesktop, const std::function<bool(const std::string&)>& isInstalled) {
    if (currentDesktop == nullptr) {
        return std::nullopt;
    }
    const std::string_view desktops(currentDesktop);
    std::size_t from = 0;
    while (from <= desktops.size()) {
        const auto colon = desktops.find(':', from);
        const auto name = upper(desktops.substr(
            from, colon == std::string_view::npos ? std::string_view::npos : colon - from));
        for (const auto& tool : tools()) {
            if (tool.desktop == name && isInstalled(tool.command.front())) {
                return tool.command;
            }
        }
        if (colon == std::string_view::npos) {
            break;
        }
        from = colon + 1;
    }
    return std::nullopt;
}

}  // namespace lumivoke::desktop
