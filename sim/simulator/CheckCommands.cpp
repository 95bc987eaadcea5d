#include <ostream>

#include "Modifiers.h"
#include "Simulator.h"

namespace lumivoke::sim {
namespace {

std::string sourceList(const std::vector<InputSource>& sources) {
    std::string out;
    for (const auto& s : sources) {
        out += (out.empty() ? "" : " ") + s.id;
    }
    return out.empty() ? "(none)" : out;
}

void printState(Simulator& s) {
    auto& m = s.machine();
    std::ostream& out = s.out();
    out << "state: time " << formatSeconds(m.loop.now()) << "\n";
    std::string enabled;
    for (const auto& k : m.inputSources.enabledKeys()) {
        enabled += (enabled.empty() ? "" : " ") + k;
    }
    out << "state: system sources " << (enabled.empty() ? "(none)" : enabled) << "\n";
    const auto current = m.inputSources.currentKey();
    out << "state: system current " << (current.empty() ? "none" : current) << "\n";
    out << "state: capslock " << (m.keyboard.capsLock() ? "on" : "off") << ", held "
        << modifierNames(m.keyboard.held()) << ", trust " << (m.keyboard.trusted() ? "on" : "off")
        << ", monitors " << m.keyboard.monitorCount() << "\n";
    AppState* app = s.app();
    if (app == nullptr) {
        out << "state: application not running\n";
        return;
    }
    auto& switcher = app->languageSwitcher();
    out << "state: switcher sources " << sourceList(*switcher.sources) << "\n";
    out << "state: switcher current "
        << (switcher.currentSource->has_value() ? (*switcher.currentSource)->id : "none") << "\n";
    out << "state: app current "
        << (app->currentSource->has_value() ? (*app->currentSource)->id : "none") << "\n";
    auto& hud = app->hudModel();
    out << "state: HUD text " << (hud.text->has_value() ? quoted(**hud.text) : "none")
        << ", generation " << hud.generation();
    if (auto* panel = m.panels.find("HUDPanel")) {
        out << ", panel " << (panel->isVisible() ? "visible" : "hidden") << " at "
            << formatPoint(panel->frame().origin);
    } else {
        out << ", no panel";
    }
    out << "\n";
}

}  // namespace

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
    t.add("print", "print state|rules|settings",
          "prints the machine's and the application's state, the per-app rules, or the visible "
          "settings tab (as trace lines)",
          [](const Args& a) -> Action {
              a.expectOnly(1, {});
              const std::string what = a.at(0, "what to print");
              if (what == "rules") {
                  return rulesPrinter();
              }
              if (what == "settings") {
                  return settingsPrinter();
              }
              if (what != "state") {
                  throw ScenarioError("unknown print \"" + what + "\"");
              }
              return [](Simulator& s) { printState(s); };
          });
}

}  // namespace lumivoke::sim
