#include "Simulator.h"

namespace lumivoke::sim {

void addSwitchCommands(CommandTable& t) {
    t.add("set", "set HoverBadgeEnabled|PerAppRulesEnabled|HUDOnAutoSwitchEnabled on|off",
          "assigns one of the application's feature switches, with all its effects, as the "
          "settings toggles do",
          [](const Args& a) {
              a.expectOnly(2, {});
              const std::string name = a.at(0, "switch name");
              const bool on = parseSwitch(a.at(1, "on or off"), "switch value");
              void (AppState::*setter)(bool) = nullptr;
              if (name == "HoverBadgeEnabled") {
                  setter = &AppState::setHoverBadgeEnabled;
              } else if (name == "PerAppRulesEnabled") {
                  setter = &AppState::setPerAppRulesEnabled;
              } else if (name == "HUDOnAutoSwitchEnabled") {
                  setter = &AppState::setHUDOnAutoSwitchEnabled;
              } else {
                  throw ScenarioError("unknown switch \"" + name +
                                      "\" (HoverBadgeEnabled, PerAppRulesEnabled, "
                                      "HUDOnAutoSwitchEnabled)");
              }
              return [setter, on](Simulator& s) { (s.requireApp().*setter)(on); };
          });
}

}  // namespace lumivoke::sim
