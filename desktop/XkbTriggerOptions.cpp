#include "XkbTriggerOptions.h"

#include <algorithm>
#include <array>

namespace lumivoke::desktop {
namespace {

using namespace std::string_view_literals;

// "…_switch" chooses a layout or level while the key is held, "…_toggle" switches on a tap,
// "compose:" makes it the Compose key, and the "ctrl:", "altwin:" and "korean:" ones make it
// another key. A "-altgr" compose option uses only the key's third level, which a tap never
// reaches, and the level-three options for Right Alt only make it AltGr, which the Right Alt
// trigger expects anyway.
constexpr std::array kRightCtrl{
    "grp:rctrl_switch"sv, "grp:lctrl_rctrl_switch"sv, "grp:rctrl_toggle"sv,
    "lv3:switch"sv,       "ctrl:rctrl_ralt"sv,        "ctrl:swap_rwin_rctl"sv,
    "compose:rctrl"sv,    "korean:rctrl_hangul"sv,    "korean:rctrl_hanja"sv,
};
constexpr std::array kRightAlt{
    "grp:switch"sv,   "grp:toggle"sv,         "altwin:swap_alt_win"sv,
    "compose:ralt"sv, "korean:ralt_hangul"sv, "korean:ralt_hanja"sv,
};
constexpr std::array kLeftSuper{
    "grp:lwin_switch"sv,       "grp:win_switch"sv,      "grp:win_menu_switch"sv,
    "grp:lwin_toggle"sv,       "lv3:win_switch"sv,      "lv3:lwin_switch"sv,
    "lv5:lwin_switch_lock"sv,  "ctrl:swap_lwin_lctl"sv, "ctrl:swap_lalt_lctl_lwin"sv,
    "altwin:swap_lalt_lwin"sv, "altwin:swap_alt_win"sv, "altwin:meta_win"sv,
    "altwin:left_meta_win"sv,  "altwin:hyper_win"sv,    "compose:lwin"sv,
};
constexpr std::array kRightSuper{
    "grp:rwin_switch"sv,      "grp:win_switch"sv,      "grp:win_menu_switch"sv,
    "grp:rwin_toggle"sv,      "lv3:win_switch"sv,      "lv3:rwin_switch"sv,
    "lv5:rwin_switch_lock"sv, "ctrl:swap_rwin_rctl"sv, "altwin:swap_alt_win"sv,
    "altwin:meta_win"sv,      "altwin:hyper_win"sv,    "altwin:alt_super_win"sv,
    "altwin:ctrl_rwin"sv,     "compose:rwin"sv,
};
constexpr std::array kMenu{
    "grp:menu_switch"sv, "grp:win_menu_switch"sv, "grp:menu_toggle"sv, "lv3:menu_switch"sv,
    "lv5:menu_switch"sv, "ctrl:menu_rctrl"sv,     "altwin:menu_win"sv, "compose:menu"sv,
};
constexpr std::array kScrollLock{"grp:sclk_toggle"sv, "compose:sclk"sv};
constexpr std::array kPause{"compose:paus"sv};

struct Entry {
    std::string_view identifier;
    std::span<const std::string_view> options;
};

constexpr std::array kTable{
    Entry{"right-ctrl", kRightCtrl},
    Entry{"right-alt", kRightAlt},
    Entry{"left-super", kLeftSuper},
    Entry{"right-super", kRightSuper},
    Entry{"menu", kMenu},
    Entry{"scroll-lock", kScrollLock},
    Entry{"pause", kPause},
};

}  // namespace

std::span<const std::string_view> xkbOptionsTaking(std::string_view triggerIdentifier) {
    for (const auto& entry : kTable) {
        if (entry.identifier == triggerIdentifier) {
            return entry.options;
        }
    }
    return {};
}

std::vector<std::string> rulesNamesOptions(const std::string& property) {
    // rules, model, layout, variant, options: each ends with a NUL, the last one may not.
    std::size_t start = 0;
    for (int field = 0; field < 4; ++field) {
        const auto end = property.find('\0', start);
        if (end == std::string::npos) {
            return {};
        }
        start = end + 1;
    }
    const auto end = property.find('\0', start);
    const std::string options =
        property.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::vector<std::string> out;
    std::size_t from = 0;
    while (from <= options.size()) {
        const auto comma = options.find(',', from);
        const auto to = comma == std::string::npos ? options.size() : comma;
        if (to > from) {
            out.push_back(options.substr(from, to - from));
        }
        if (comma == std::string::npos) {
            break;
        }
        from = comma + 1;
    }
    return out;
}

std::vector<std::string> conflictingOptions(std::string_view triggerIdentifier,
                                            const std::vector<std::string>& active) {
    const auto taking = xkbOptionsTaking(triggerIdentifier);
    std::vector<std::string> out;
    for (const auto& option : active) {
        if (std::find(taking.begin(), taking.end(), option) != taking.end()) {
            out.push_back(option);
        }
    }
    return out;
}

}  // namespace lumivoke::desktop
