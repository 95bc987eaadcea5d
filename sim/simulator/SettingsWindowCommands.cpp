#include <string>
#include <vector>

#include "OpenSettingsWindow.h"
#include "Simulator.h"
#include "settings/Controls.h"

// The person's actions on the open settings window: choosing a tab, closing it, flipping a
// switch, choosing in a picker and pressing a button of the visible tab.
namespace lumivoke::sim {

void addSettingsWindowCommands(CommandTable& t) {
    t.add("settings", "settings tab setup|general|per-app-rules | settings close",
          "the person clicks a segment of the open settings window, or closes the window",
          [](const Args& a) {
              const std::string verb = a.at(0, "tab or close");
              if (verb == "tab") {
                  a.expectOnly(2, {});
                  const SettingsTab tab = parseTab(a.at(1, "tab"));
                  return Action([tab](Simulator& s) { requireOpenSettings(s).chooseTab(tab); });
              }
              if (verb == "close") {
                  a.expectOnly(1, {});
                  return Action([](Simulator& s) {
                      requireOpenSettings(s);
                      s.machine().windows.find("Settings")->performClose();
                  });
              }
              throw ScenarioError("use settings tab TAB or settings close");
          });
    t.add("toggle", "toggle \"LABEL\" on|off",
          "the person flips a switch of the visible settings tab to on or off (nothing happens "
          "when it is already there; a disabled switch is an error)",
          [](const Args& a) {
              a.expectOnly(2, {});
              const std::string label = a.at(0, "label");
              const bool on = parseSwitch(a.at(1, "on or off"), "toggle");
              return [label, on](Simulator& s) {
                  for (auto& toggle : visibleToggles(requireOpenSettings(s))) {
                      if (toggle.label != label) {
                          continue;
                      }
                      if (!toggle.isEnabled) {
                          throw ScenarioError("the switch \"" + label + "\" is disabled");
                      }
                      if (toggle.isOn != on) {
                          toggle.set(on);
                      }
                      return;
                  }
                  throw ScenarioError("no switch \"" + label + "\" on the visible tab");
              };
          });
    t.add("choose", "choose \"LABEL\" ID",
          "the person chooses the option ID of a picker of the visible settings tab, by the "
          "picker's label (a disabled picker is an error)",
          [](const Args& a) {
              a.expectOnly(2, {});
              const std::string label = a.at(0, "label");
              const std::string id = a.at(1, "option");
              return [label, id](Simulator& s) {
                  auto& view = requireOpenSettings(s);
                  auto* general = view.generalView();
                  for (auto& picker : general != nullptr ? pickersOf(general->sections())
                                                         : std::vector<PickerControl>{}) {
                      if (picker.label != label) {
                          continue;
                      }
                      if (!picker.isEnabled) {
                          throw ScenarioError("the picker \"" + label + "\" is disabled");
                      }
                      picker.choose(id);
                      return;
                  }
                  throw ScenarioError("no picker \"" + label + "\" on the visible tab");
              };
          });
    t.add("press", "press \"TITLE\"",
          "the person presses a button of the visible settings tab, by its title (image buttons "
          "by their help text)",
          [](const Args& a) {
              a.expectOnly(1, {});
              const std::string title = a.at(0, "title");
              return [title](Simulator& s) {
                  for (auto& button : visibleButtons(requireOpenSettings(s))) {
                      if (button.title != title) {
                          continue;
                      }
                      if (!button.isEnabled) {
                          throw ScenarioError("the button \"" + title + "\" is disabled");
                      }
                      button.action();
                      return;
                  }
                  throw ScenarioError("no button \"" + title + "\" on the visible tab");
              };
          });
}

}  // namespace lumivoke::sim
