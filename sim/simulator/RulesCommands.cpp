#include <ostream>

#include "Simulator.h"
#include "rules/AppRulesStore.h"

namespace lumivoke::sim {
namespace {

/// An information value: text, or forced by "text:", "real:" or "bool:" to test values of the
/// wrong type.
InfoValue parseInfoValue(const std::string& raw) {
    const auto rest = raw.substr(raw.find(':') + 1);
    if (raw.rfind("text:", 0) == 0) {
        return rest;
    }
    if (raw.rfind("real:", 0) == 0) {
        return parseNumber(rest, "number");
    }
    if (raw.rfind("bool:", 0) == 0) {
        return parseSwitch(rest, "boolean");
    }
    return raw;
}

/// Where an application is installed unless the scenario says: /Applications/Mail.app for
/// com.example.Mail.
std::string defaultPath(const std::string& bundleID) {
    const auto dot = bundleID.rfind('.');
    return "/Applications/" + (dot == std::string::npos ? bundleID : bundleID.substr(dot + 1)) +
           ".app";
}

std::string requireRunning(Simulator& s, const std::string& key) {
    if (!s.machine().workspace.isRunning(key)) {
        throw ScenarioError("no running application \"" + key + "\" (declare it with app)");
    }
    return key;
}

struct AppDeclaration {
    std::string key;
    std::optional<int> pid;
    bool hasBundleID = true;
    bool installed = true;
    std::string path;
    std::string icon;
    InfoDictionary info;
    InfoDictionary localizedInfo;
};

void declare(Simulator& s, const AppDeclaration& d) {
    auto& workspace = s.machine().workspace;
    std::optional<std::string> bundleID;
    if (d.hasBundleID) {
        bundleID = d.key;
    }
    if (d.pid) {
        workspace.addRunning(d.key, RunningApplication{*d.pid, bundleID});
    }
    if (d.installed) {
        s.machine().bundles.installed[d.path] = BundleInfo{bundleID, d.localizedInfo, d.info};
        workspace.icons[d.path] = d.icon;
        if (bundleID) {
            workspace.locations[*bundleID] = d.path;
        }
    }
}

void printRules(Simulator& s) {
    auto& app = s.requireApp();
    auto& machine = s.machine();
    const auto& rules = *app.appRulesStore().rules;
    if (rules.empty()) {
        s.out() << "rules: (none)\n";
    }
    for (const auto& [bundleID, sourceID] : rules) {
        const AppRow row = resolveAppRow(machine.bundles, machine.workspace, bundleID);
        s.out() << "rules: " << bundleID << " -> " << sourceID << ", shown as "
                << quoted(row.displayName) << " with icon "
                << (row.icon ? row.icon->name + " " + formatSize(row.icon->size) : "none") << "\n";
    }
}

}  // namespace

void addRulesCommands(CommandTable& t) {
    t.add("app",
          "app BUNDLEID [pid=N] [name=\"NAME\"] [display-name=\"NAME\"] "
          "[localized-name=\"NAME\"] [path=PATH] [icon=NAME] [no-bundle-id] [not-installed]",
          "declares an application: running with pid N, and installed at PATH "
          "(/Applications/<last part of the id>.app) with these information values, unless "
          "not-installed; no-bundle-id leaves out its bundle identifier",
          [](const Args& a, ParseScope& scope) {
              a.expectOnly(3, {"pid", "name", "display-name", "localized-name", "path", "icon"});
              AppDeclaration d;
              d.key = a.at(0, "bundle identifier");
              if (d.key == SimWorkspace::kSelfKey || d.key == "none") {
                  throw ScenarioError("\"" + d.key + "\" is reserved");
              }
              for (std::size_t i = 1; i < a.count(); ++i) {
                  const auto& flag = a.positional()[i];
                  if (flag == "no-bundle-id") {
                      d.hasBundleID = false;
                  } else if (flag == "not-installed") {
                      d.installed = false;
                  } else {
                      throw ScenarioError("unknown word \"" + flag +
                                          "\" (no-bundle-id, not-installed)");
                  }
              }
              if (auto pid = a.option("pid")) {
                  const long long n = parseInteger(*pid, "pid");
                  if (n <= 0 || n > 99999 || n == SimWorkspace::kSelfProcessIdentifier) {
                      throw ScenarioError("pid must be 1-99999 and not this application's " +
                                          std::to_string(SimWorkspace::kSelfProcessIdentifier));
                  }
                  d.pid = static_cast<int>(n);
              }
              if (!d.pid && !d.installed) {
                  throw ScenarioError("an application neither running nor installed");
              }
              if (d.pid) {
                  scope.runningApps.insert(d.key);
              }
              d.path = a.option("path").value_or(defaultPath(d.key));
              d.icon = a.option("icon").value_or(d.path);
              if (auto v = a.option("name")) {
                  d.info["CFBundleName"] = parseInfoValue(*v);
              }
              if (auto v = a.option("display-name")) {
                  d.info["CFBundleDisplayName"] = parseInfoValue(*v);
              }
              if (auto v = a.option("localized-name")) {
                  d.localizedInfo["CFBundleDisplayName"] = parseInfoValue(*v);
              }
              return [d](Simulator& s) { declare(s, d); };
          });
    t.add("frontmost", "frontmost BUNDLEID|self|none",
          "makes a running application frontmost without a notification (set-up)",
          [](const Args& a, ParseScope& scope) {
              a.expectOnly(1, {});
              const std::string key = a.at(0, "bundle identifier");
              if (key != "none") {
                  scope.requireRunningApp(key);
              }
              return [key](Simulator& s) {
                  s.machine().workspace.setFrontmost(key == "none" ? "" : requireRunning(s, key));
              };
          });
    t.add("activate", "activate BUNDLEID|self|none",
          "the application becomes frontmost and the activation notification follows; none "
          "posts a notification that names no application",
          [](const Args& a, ParseScope& scope) {
              a.expectOnly(1, {});
              const std::string key = a.at(0, "bundle identifier");
              if (key != "none") {
                  scope.requireRunningApp(key);
              }
              return [key](Simulator& s) {
                  if (key == "none") {
                      s.machine().workspace.postActivationWithoutApplication();
                  } else {
                      s.machine().workspace.activate(requireRunning(s, key));
                  }
              };
          });
    t.add("space-change", "space-change",
          "the user moves to another desktop Space; the notification follows", [](const Args& a) {
              a.expectOnly(0, {});
              return [](Simulator& s) { s.machine().workspace.changeSpace(); };
          });
    t.add("rules", "rules set BUNDLEID SOURCEID | rules remove BUNDLEID | rules TABLE-COMMAND",
          "edits a per-app rule in the store directly; the Per-App Rules tab's table commands "
          "(add, click, header, assign, remove-selected) are listed with the settings",
          [](const Args& a) {
              a.expectOnly(3, {});
              const std::string verb = a.at(0, "set or remove");
              // The settings table's own sub-commands live with the settings commands.
              if (auto action = parseSettingsRulesCommand(verb, a)) {
                  return *action;
              }
              const std::string bundleID = a.at(1, "bundle identifier");
              if (verb == "set") {
                  const std::string sourceID = a.at(2, "source id");
                  return Action([bundleID, sourceID](Simulator& s) {
                      s.requireApp().appRulesStore().setRule(bundleID, sourceID);
                  });
              }
              if (verb == "remove") {
                  a.expectOnly(2, {});
                  return Action([bundleID](Simulator& s) {
                      s.requireApp().appRulesStore().removeRule(bundleID);
                  });
              }
              throw ScenarioError("use rules set BUNDLEID SOURCEID or rules remove BUNDLEID");
          });
}

Action rulesPrinter() {
    return [](Simulator& s) { printRules(s); };
}

}  // namespace lumivoke::sim
