#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sources/InputSourceService.h"

namespace lumivoke {

class AppState;

/// A keyboard shortcut of a menu item: Command plus one key.
struct MenuShortcut {
    std::string key;
};

/// One entry of the menu-bar menu.
struct MenuItem {
    enum class Kind { command, source, divider };
    Kind kind = Kind::command;
    /// The label: a command's title or a source's name; empty for a divider.
    std::string title;
    /// A system symbol shown before the title, if any.
    std::optional<std::string> icon;
    std::optional<MenuShortcut> shortcut;
    /// A source row's source identifier.
    std::string id;
    std::function<void()> action;
};

/// The menu that opens from the menu-bar item: direct choice of an input source, a warning
/// while Accessibility is missing, the settings, the maker's other apps and quitting. It keeps
/// no state: the items are built from the application state each time the menu opens.
class MenuBarContent final {
public:
    /// The maker's web address; the only place it is written.
    static constexpr const char* makerWebsite = "https://velmorandix.com/apps";
    // The commands' titles, keys of the platform's string table.
    static constexpr const char* grantAccessibilityTitle = "Grant Accessibility…";
    static constexpr const char* settingsTitle = "Settings…";
    static constexpr const char* moreAppsTitle = "More Apps";
    static constexpr const char* quitTitle = "Quit";

    explicit MenuBarContent(AppState& state) : state_(state) {}

    /// The items from top to bottom.
    std::vector<MenuItem> items();

    /// A source row's action: select it, publish it at once and confirm it with the HUD.
    void selectSource(const InputSource& source);

private:
    AppState& state_;
};

}  // namespace lumivoke
