#include "Simulator.h"

namespace lumivoke::sim {

void addCheckCommands(CommandTable& t) {
    t.add("expect", "expect \"TEXT\"",
          "a trace line after the one the previous expect matched contains TEXT",
          [](const Args& a) {
              a.expectOnly(1, {});
              const std::string text = a.at(0, "text");
              return [text](Simulator& s) { s.expect(text, true); };
          });
    t.add("expect-not", "expect-not \"TEXT\"",
          "no trace line after the one the previous expect matched contains TEXT",
          [](const Args& a) {
              a.expectOnly(1, {});
              const std::string text = a.at(0, "text");
              return [text](Simulator& s) { s.expect(text, false); };
          });
    t.add("print", "print state|live|rules|settings",
          "prints the machine's and the application's state, the counts of what they hold, the "
          "per-app rules, or the visible settings tab (as trace lines)",
          [](const Args& a) -> Action {
              a.expectOnly(1, {});
              const std::string what = a.at(0, "what to print");
              if (what == "rules") {
                  return rulesPrinter();
              }
              if (what == "settings") {
                  return settingsPrinter();
              }
              if (what == "live") {
                  return livePrinter();
              }
              if (what != "state") {
                  throw ScenarioError("unknown print \"" + what + "\"");
              }
              return statePrinter();
          });
}

}  // namespace lumivoke::sim
