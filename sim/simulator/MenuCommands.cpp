#include "Simulator.h"
#include "app/MenuBarContent.h"

namespace lumivoke::sim {
namespace {

/// The menu as the person sees it when opening the menu-bar item.
MenuBarContent& requireMenu(Simulator& s) {
    s.requireApp();
    if (!s.shell()->isStatusItemInserted()) {
        throw ScenarioError("the menu-bar icon is hidden");
    }
    return s.shell()->menu();
}

void printMenu(Simulator& s) {
    auto& trace = s.machine().trace;
    for (const auto& item : requireMenu(s).items()) {
        if (item.kind == MenuItem::Kind::divider) {
            trace.add("menu", "divider");
            continue;
        }
        std::string line = item.kind == MenuItem::Kind::source ? "source " : "";
        line += quoted(item.title);
        if (!item.id.empty()) {
            line += " id=" + item.id;
        }
        if (item.icon) {
            line += " icon=" + *item.icon;
        }
        if (item.shortcut) {
            line += " shortcut=cmd+" + item.shortcut->key;
        }
        trace.add("menu", line);
    }
}

}  // namespace

void addMenuCommands(CommandTable& t) {
    t.add("menu", "menu | menu choose \"TITLE\"",
          "opens the menu-bar menu and lists its items as trace lines, or chooses the first item "
          "with that title (a source by its name)",
          [](const Args& a) {
              if (a.count() == 0) {
                  a.expectOnly(0, {});
                  return Action([](Simulator& s) { printMenu(s); });
              }
              a.expectOnly(2, {});
              if (a.at(0, "choose") != "choose") {
                  throw ScenarioError("use menu or menu choose \"TITLE\"");
              }
              const std::string title = a.at(1, "title");
              return Action([title](Simulator& s) {
                  for (auto& item : requireMenu(s).items()) {
                      if (item.kind != MenuItem::Kind::divider && item.title == title) {
                          item.action();
                          return;
                      }
                  }
                  throw ScenarioError("no menu item \"" + title + "\"");
              });
          });
    t.add("quit", "quit", "the person quits the application (as the menu's Quit does)",
          [](const Args& a) {
              a.expectOnly(0, {});
              return [](Simulator& s) {
                  s.requireApp();
                  s.machine().application.terminate();
              };
          });
}

}  // namespace lumivoke::sim
