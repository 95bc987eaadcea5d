#include <algorithm>
#include <cstdint>

#include "Simulator.h"
#include "settings/SettingsWindowController.h"
#include "settings/SetupState.h"

namespace lumivoke::sim {
namespace {

const char* tabName(SettingsTab tab) {
    switch (tab) {
        case SettingsTab::setup:
            return "setup";
        case SettingsTab::general:
            return "general";
        case SettingsTab::perAppRules:
            return "per-app-rules";
    }
    return "?";
}

SettingsTab parseTab(const std::string& word) {
    for (auto tab : SettingsView::segments) {
        if (word == tabName(tab)) {
            return tab;
        }
    }
    throw ScenarioError("unknown tab \"" + word + "\" (setup, general, per-app-rules)");
}

/// The settings window's root view, when the window is on screen; a person can touch nothing
/// else.
SettingsView& requireOpenSettings(Simulator& s) {
    auto* controller = s.requireApp().settingsControllerIfCreated();
    if (controller == nullptr || controller->window() == nullptr ||
        !controller->window()->isVisible()) {
        throw ScenarioError("the settings window is not open");
    }
    return *controller->rootView();
}

PerAppRulesView& requireRulesTab(Simulator& s) {
    auto* view = requireOpenSettings(s).perAppRulesView();
    if (view == nullptr) {
        throw ScenarioError("the Per-App Rules tab is not shown (settings tab per-app-rules)");
    }
    return *view;
}

std::vector<ToggleControl> visibleToggles(SettingsView& view) {
    if (auto* general = view.generalView()) {
        return general->toggles();
    }
    if (auto* rules = view.perAppRulesView()) {
        return rules->toggles();
    }
    return {};
}

std::vector<ButtonControl> visibleButtons(SettingsView& view) {
    if (auto* setup = view.setupView()) {
        return setup->buttons();
    }
    if (auto* rules = view.perAppRulesView()) {
        return rules->buttons();
    }
    return {};
}

AppRuleRow requireRow(PerAppRulesView& view, const std::string& bundleID) {
    for (auto& row : view.sortedRows()) {
        if (row.row.bundleID == bundleID) {
            return row;
        }
    }
    throw ScenarioError("no row \"" + bundleID + "\" in the rules table");
}

void requireTableEnabled(PerAppRulesView& view) {
    if (!view.isTableEnabled()) {
        throw ScenarioError("the rules table is disabled (per-app rules are off)");
    }
}

std::optional<DefaultsValue> parseFnUsage(const std::string& raw) {
    if (raw == "none") {
        return std::nullopt;
    }
    if (raw.rfind("string:", 0) == 0) {
        return raw.substr(7);
    }
    if (raw.rfind("real:", 0) == 0) {
        return parseNumber(raw.substr(5), "number");
    }
    if (raw.rfind("bool:", 0) == 0) {
        return parseSwitch(raw.substr(5), "boolean");
    }
    return static_cast<std::int64_t>(parseInteger(raw, "integer"));
}

const char* onOff(bool on) {
    return on ? "on" : "off";
}

void printSetup(Trace& trace, SetupView& view) {
    trace.add("settings", SetupView::heading);
    trace.add("settings", SetupView::subheading);
    for (const auto& row : view.rows()) {
        trace.add("settings",
                  "row " + quoted(row.title) + " " + row.statusSymbol() + " " + row.statusColor());
        trace.add("settings", "  " + row.explanation);
        if (row.showsIllustration()) {
            trace.add("settings", "  illustration " + row.illustration);
        }
        if (row.showsButton()) {
            trace.add("settings", "  button " + quoted(row.buttonTitle));
        }
    }
}

/// A form as the view gives it: each section's header, then its rows, indented under a header.
void printForm(Trace& trace, const std::vector<FormSection>& sections) {
    for (const auto& section : sections) {
        std::string indent;
        if (section.header) {
            trace.add("settings", "section " + quoted(*section.header));
            indent = "  ";
        }
        for (const auto& row : section.rows) {
            if (const auto* toggle = std::get_if<ToggleControl>(&row)) {
                trace.add("settings", indent + "toggle " + quoted(toggle->label) + " " +
                                          onOff(toggle->isOn) +
                                          (toggle->isEnabled ? "" : " disabled"));
            } else if (const auto* caption = std::get_if<CaptionText>(&row)) {
                trace.add("settings", indent + "caption " + quoted(caption->text));
            }
        }
    }
}

void printRulesTab(Trace& trace, PerAppRulesView& view) {
    printForm(trace, view.form());
    auto header = [&](const char* title, SortColumn column) {
        std::string out = quoted(title);
        if (auto chevron = view.headerChevron(column)) {
            out += " " + *chevron;
        }
        return out;
    };
    trace.add("settings", "header " +
                              header(PerAppRulesView::applicationHeader, SortColumn::appName) +
                              " | " + header(PerAppRulesView::sourceHeader, SortColumn::source));
    const auto rows = view.sortedRows();
    trace.add("settings", std::string("list ") + (view.isTableEnabled() ? "enabled" : "disabled") +
                              ", " + std::to_string(rows.size()) + " row(s)");
    for (const auto& row : rows) {
        const auto chosen = row.chosenSource();
        std::string line = "row " + row.row.bundleID + " " + quoted(row.row.displayName) +
                           " icon=" + (row.row.icon ? row.row.icon->name : "none") +
                           " source=" + (chosen ? quoted(chosen->name) : "none") + " (" +
                           row.selectedSourceID() + ")";
        if (view.selection() == row.row.bundleID) {
            line += " selected";
        }
        trace.add("settings", line);
    }
    for (const auto& button : view.buttons()) {
        trace.add("settings", "button " + button.symbol.value_or("") + " " + quoted(button.title) +
                                  (button.isEnabled ? "" : " disabled"));
    }
}

void printSettings(Simulator& s) {
    auto& trace = s.machine().trace;
    auto* controller = s.requireApp().settingsControllerIfCreated();
    if (controller == nullptr || controller->window() == nullptr) {
        trace.add("settings", "no window");
        return;
    }
    auto* window = s.machine().windows.find("Settings");
    std::string head = "window";
    if (window != nullptr) {
        const auto& w = window->settings();
        head += " " + quoted(w.title) + " style=" + std::to_string(w.styleMask) +
                " behavior=" + std::to_string(w.collectionBehavior) +
                " size=" + formatSize(w.contentSize) +
                (w.releasedWhenClosed ? " released-when-closed" : "");
    }
    head += controller->window()->isVisible() ? " open" : " closed";
    trace.add("settings", head);
    if (!controller->window()->isVisible()) {
        return;
    }
    auto& view = *controller->rootView();
    std::string segments = "segments";
    for (auto tab : SettingsView::segments) {
        const std::string title = segmentTitle(tab);
        segments += " " + (tab == *view.visibleTab ? "[" + title + "]" : title);
    }
    trace.add("settings", segments);
    if (auto* setup = view.setupView()) {
        printSetup(trace, *setup);
    } else if (auto* general = view.generalView()) {
        printForm(trace, general->sections());
    } else if (auto* rules = view.perAppRulesView()) {
        printRulesTab(trace, *rules);
    }
    trace.add("settings", "version " + quoted(view.versionLine()));
}

}  // namespace

void traceSettingsView(Simulator& s, SettingsView& view) {
    Trace& trace = s.machine().trace;
    s.viewTokens.push_back(view.visibleTab.subscribe(
        [&trace](SettingsTab tab) { trace.add("settings", std::string("tab ") + tabName(tab)); }));
    view.onScrollToRule = [&trace](const std::string& bundleID) {
        trace.add("rules", "scroll-to " + bundleID);
    };
}

Action settingsPrinter() {
    return [](Simulator& s) { printSettings(s); };
}

std::optional<Action> parseSettingsRulesCommand(const std::string& sub, const Args& a) {
    if (sub == "add") {
        a.expectOnly(1, {});
        return Action([](Simulator& s) {
            auto& view = requireRulesTab(s);
            if (!s.machine().openPanels.hasPlannedAnswer()) {
                throw ScenarioError(
                    "say first what the open panel answers (open-panel PATH|cancel)");
            }
            view.addApplication();
        });
    }
    if (sub == "click") {
        a.expectOnly(2, {});
        const std::string bundleID = a.at(1, "bundle identifier");
        return Action([bundleID](Simulator& s) {
            auto& view = requireRulesTab(s);
            requireTableEnabled(view);
            requireRow(view, bundleID);
            view.select(bundleID);
        });
    }
    if (sub == "header") {
        a.expectOnly(2, {});
        const std::string title = a.at(1, "column title");
        SortColumn column = SortColumn::appName;
        if (title == PerAppRulesView::sourceHeader) {
            column = SortColumn::source;
        } else if (title != PerAppRulesView::applicationHeader) {
            throw ScenarioError("unknown column \"" + title +
                                "\" (\"Application\", \"Input Source\")");
        }
        return Action([column](Simulator& s) { requireRulesTab(s).toggleSort(column); });
    }
    if (sub == "assign") {
        a.expectOnly(3, {});
        const std::string bundleID = a.at(1, "bundle identifier");
        const std::string sourceID = a.at(2, "source id");
        return Action([bundleID, sourceID](Simulator& s) {
            auto& view = requireRulesTab(s);
            requireTableEnabled(view);
            auto row = requireRow(view, bundleID);
            const bool offered =
                std::any_of(row.sources.begin(), row.sources.end(),
                            [&](const InputSource& x) { return x.id == sourceID; });
            if (!offered) {
                throw ScenarioError("the row's menu offers no source \"" + sourceID + "\"");
            }
            row.choose(sourceID);
        });
    }
    if (sub == "remove-selected") {
        a.expectOnly(1, {});
        // The remove button's action; with nothing selected the button is disabled and the
        // action does nothing, which is what a scenario checks.
        return Action([](Simulator& s) { requireRulesTab(s).removeSelected(); });
    }
    return std::nullopt;
}

void addSettingsCommands(CommandTable& t) {
    t.add("fn-usage", "fn-usage N|none|string:TEXT|real:NUMBER|bool:on|off",
          "the system's Globe-key action (com.apple.HIToolbox AppleFnUsageType): 0 is \"Do "
          "Nothing\", which a new machine has; none removes the key",
          [](const Args& a) {
              a.expectOnly(1, {});
              const auto value = parseFnUsage(a.at(0, "value"));
              return [value](Simulator& s) {
                  s.machine().preferences.set(SetupState::fnUsageDomain, SetupState::fnUsageKey,
                                              value);
              };
          });
    t.add("login-item",
          "login-item enabled|not-registered|requires-approval|not-found | login-item "
          "register-fails|unregister-fails",
          "the login-item status of the application, or makes its next register/unregister fail",
          [](const Args& a) {
              a.expectOnly(1, {});
              const std::string word = a.at(0, "status");
              if (word == "register-fails") {
                  return Action([](Simulator& s) { s.machine().loginItems.failNextRegister(); });
              }
              if (word == "unregister-fails") {
                  return Action([](Simulator& s) { s.machine().loginItems.failNextUnregister(); });
              }
              for (auto status : {LoginItemStatus::notRegistered, LoginItemStatus::enabled,
                                  LoginItemStatus::requiresApproval, LoginItemStatus::notFound}) {
                  if (word == loginItemStatusName(status)) {
                      return Action(
                          [status](Simulator& s) { s.machine().loginItems.setStatus(status); });
                  }
              }
              throw ScenarioError("unknown login-item word \"" + word +
                                  "\" (enabled, not-registered, requires-approval, not-found, "
                                  "register-fails, unregister-fails)");
          });
    t.add("open-panel", "open-panel PATH|cancel [during \"COMMAND\"…]",
          "what the next open panel answers: the application bundle at PATH, or a cancel; the "
          "commands after during run while that panel is up, each followed by the tasks due, as "
          "the panel's modal loop lets them",
          [](const Args& a, ParseScope& scope) {
              a.expectOnly(SIZE_MAX, {});
              const std::string word = a.at(0, "path or cancel");
              std::optional<std::string> answer;
              if (word != "cancel") {
                  answer = word;
              }
              std::vector<Action> whileUp;
              if (a.count() > 1) {
                  if (a.at(1, "during") != "during") {
                      throw ScenarioError("unexpected word \"" + a.at(1, "during") +
                                          "\" (open-panel PATH|cancel during \"COMMAND\"…)");
                  }
                  if (a.count() == 2) {
                      throw ScenarioError("missing command after during");
                  }
                  for (std::size_t i = 2; i < a.count(); ++i) {
                      whileUp.push_back(scope.parseNested(a.positional()[i]));
                  }
              }
              return [answer, whileUp](Simulator& s) {
                  std::function<void()> run;
                  if (!whileUp.empty()) {
                      run = [&s, whileUp] { s.runWhilePanelUp(whileUp); };
                  }
                  s.machine().openPanels.planAnswer(answer, std::move(run));
              };
          });
    t.add("reopen", "reopen", "the person launches the running application again",
          [](const Args& a) {
              a.expectOnly(0, {});
              return [](Simulator& s) {
                  s.requireApp();
                  s.machine().application.reopen(s.machine().windows.anyVisible());
              };
          });
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
