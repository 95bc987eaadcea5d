#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Simulator.h"
#include "settings/SetupState.h"

// What the system's services around the settings do: the system's Globe-key setting, the
// login-item service, the open panel's answer, a second launch of the application, which links
// have an application to open them, and how the system words the application's texts.
namespace lumivoke::sim {
namespace {

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

}  // namespace

void addSystemServiceCommands(CommandTable& t) {
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
    t.add("link", "link URL openable|unopenable",
          "whether some application opens URL; a new machine opens every link, and a settings "
          "pane that the system does not have is unopenable",
          [](const Args& a) {
              a.expectOnly(2, {});
              const std::string url = a.at(0, "URL");
              const std::string word = a.at(1, "openable or unopenable");
              if (word != "openable" && word != "unopenable") {
                  throw ScenarioError("use link URL openable|unopenable");
              }
              const bool openable = word == "openable";
              return
                  [url, openable](Simulator& s) { s.machine().links.setOpenable(url, openable); };
          });
    t.add("string", "string \"KEY\" \"TEXT\"",
          "the system shows TEXT wherever the application shows the text KEY (its string table); "
          "a new machine shows every text as it is",
          [](const Args& a) {
              a.expectOnly(2, {});
              const std::string key = a.at(0, "key");
              const std::string text = a.at(1, "text");
              if (key.empty()) {
                  throw ScenarioError("an empty key names no text");
              }
              return [key, text](Simulator& s) { s.machine().strings.define(key, text); };
          });
    t.add("trigger-keys", "trigger-keys ID \"LABEL\" [ID \"LABEL\"…]",
          "before launch: the system lets the person choose the trigger key among these, the "
          "first in effect; a new machine has only the Globe key",
          [](const Args& a) {
              const auto& words = a.positional();
              a.expectOnly(words.size(), {});
              if (words.empty() || words.size() % 2 != 0) {
                  throw ScenarioError("use trigger-keys ID \"LABEL\" [ID \"LABEL\"…]");
              }
              std::vector<TriggerKeyOption> options;
              for (std::size_t i = 0; i < words.size(); i += 2) {
                  options.push_back({words[i], words[i + 1]});
              }
              return [options](Simulator& s) {
                  if (s.app() != nullptr) {
                      throw ScenarioError("the trigger keys are offered before launch");
                  }
                  s.machine().offerTriggerKeys(options);
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
}

}  // namespace lumivoke::sim
