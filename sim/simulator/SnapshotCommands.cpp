// What the machine and the application hold at a moment, so that two moments can be compared:
// a long run that returns to where a short one ended must look the same, and must hold no more.
#include <algorithm>
#include <ostream>

#include "Modifiers.h"
#include "Simulator.h"
#include "app/AccessibilityMonitor.h"
#include "badge/BadgePresenter.h"
#include "rules/AppRulesStore.h"
#include "settings/SettingsWindowController.h"
#include "settings/SetupState.h"

namespace lumivoke::sim {
namespace {

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) {
        out += (out.empty() ? "" : " ") + item;
    }
    return out.empty() ? "(none)" : out;
}

std::string sourceList(const std::vector<InputSource>& sources) {
    std::vector<std::string> ids;
    for (const auto& s : sources) {
        ids.push_back(s.id);
    }
    return joined(ids);
}

std::string sourceId(const std::optional<InputSource>& source) {
    return source ? source->id : "none";
}

const char* onOff(bool on) {
    return on ? "on" : "off";
}

/// The state a later moment can be compared with: everything print state shows but the clock
/// and the HUD's generation, which only ever count up.
std::vector<std::string> stateLines(Simulator& s) {
    auto& m = s.machine();
    std::vector<std::string> lines;
    lines.push_back("system sources " + joined(m.inputSources.enabledKeys()));
    const auto current = m.inputSources.currentKey();
    lines.push_back("system current " + (current.empty() ? "none" : current));
    lines.push_back(std::string("capslock ") + onOff(m.keyboard.capsLock()) + ", held " +
                    modifierNames(m.keyboard.held()) + ", trust " + onOff(m.keyboard.trusted()) +
                    ", monitors " + std::to_string(m.keyboard.monitorCount()));
    const auto& front = m.workspace.frontmostKey();
    lines.push_back("frontmost " + (front.empty() ? "none" : front));
    lines.push_back("pointer " + formatPoint(m.screens.mouseLocation()));
    lines.push_back("login-item " + loginItemStatusName(m.loginItems.status()));
    for (const auto& [key, value] : m.defaults.stored()) {
        lines.push_back("defaults " + key + " " + formatDefaultsValue(value));
    }
    if (const auto* window = m.windows.find("Settings")) {
        lines.push_back(std::string("settings window ") +
                        (window->isVisible() ? "open" : "closed"));
    } else {
        lines.push_back("settings window none");
    }

    AppState* app = s.app();
    if (app == nullptr) {
        lines.emplace_back("application not running");
        return lines;
    }
    auto& switcher = app->languageSwitcher();
    lines.push_back("switcher sources " + sourceList(*switcher.sources));
    lines.push_back("switcher current " + sourceId(*switcher.currentSource));
    lines.push_back("app current " + sourceId(*app->currentSource));
    lines.push_back(std::string("switches hover-badge ") + onOff(*app->isHoverBadgeEnabled) +
                    ", per-app-rules " + onOff(*app->isPerAppRulesEnabled) +
                    ", HUD-on-auto-switch " + onOff(*app->isHUDOnAutoSwitchEnabled));
    std::string rules;
    for (const auto& [bundleID, sourceID] : *app->appRulesStore().rules) {
        rules += (rules.empty() ? "" : ", ") + bundleID + " -> " + sourceID;
    }
    lines.push_back("rules " + (rules.empty() ? "(none)" : rules));
    auto& hud = app->hudModel();
    std::string hudLine = "HUD text " + (hud.text->has_value() ? quoted(**hud.text) : "none");
    if (auto* panel = m.panels.find("HUDPanel")) {
        hudLine += std::string(", panel ") + (panel->isVisible() ? "visible" : "hidden") + " at " +
                   formatPoint(panel->frame().origin);
    } else {
        hudLine += ", no panel";
    }
    lines.push_back(hudLine);
    // The application makes the presenter as it starts, so asking for it creates nothing.
    auto& badge = app->badgePresenter();
    lines.push_back("badge text " + quoted(*badge.model().text) + ", " +
                    (badge.model().isVisible() ? "visible" : "hidden") +
                    (badge.isUserTyping() ? ", typing" : ""));
    const auto* item = m.statusBar.item();
    lines.push_back("menu-bar item " + (item != nullptr ? "icon=" + item->icon() : "none"));
    return lines;
}

/// Counts of what the running system holds: registrations, timers, windows. None of them may
/// grow while the person does the same things over and over.
std::vector<std::string> liveLines(Simulator& s) {
    auto& m = s.machine();
    std::size_t subscriptions = 0;
    if (AppState* app = s.app()) {
        auto& switcher = app->languageSwitcher();
        auto& hud = app->hudModel();
        auto& badge = app->badgePresenter().model();
        subscriptions += app->sources.subscriberCount() + app->currentSource.subscriberCount() +
                         app->isAccessibilityTrusted.subscriberCount() +
                         app->isHoverBadgeEnabled.subscriberCount() +
                         app->isPerAppRulesEnabled.subscriberCount() +
                         app->isHUDOnAutoSwitchEnabled.subscriberCount() +
                         switcher.sources.subscriberCount() +
                         switcher.currentSource.subscriberCount() +
                         app->accessibilityMonitor().isTrusted.subscriberCount() +
                         app->appRulesStore().rules.subscriberCount() + hud.text.subscriberCount() +
                         badge.text.subscriberCount();
        if (auto* view = hud.viewIfCreated()) {
            subscriptions += view->state.subscriberCount();
        }
        if (auto* view = badge.viewIfCreated()) {
            subscriptions += view->text.subscriberCount();
        }
        if (auto* settings = app->settingsControllerIfCreated()) {
            subscriptions += settings->setupState().isGlobeKeyDisabled.subscriberCount() +
                             settings->tabSelection().selected.subscriberCount();
            if (auto* root = settings->rootView()) {
                subscriptions += root->visibleTab.subscriberCount();
            }
        }
    }
    const auto count = [](const char* what, std::size_t n) {
        return std::string(what) + " " + std::to_string(n);
    };
    return {
        count("loop tasks", m.loop.pendingCount()),
        count("key monitors", m.keyboard.monitorCount()),
        count("HID objects", static_cast<std::size_t>(std::max(m.keyboard.openHIDObjects(), 0))),
        count("display links", static_cast<std::size_t>(std::max(m.displayLinks.running(), 0))),
        count("panels", m.panels.panels().size()),
        count("windows", m.windows.windows().size()),
        count("menu-bar items", m.statusBar.item() != nullptr ? 1 : 0),
        count("input-source observers", m.inputSources.observerCount()),
        count("workspace observers", m.workspace.observerCount()),
        count("defaults observers", m.defaults.observerCount()),
        count("notification observers", m.notifications.observerCount(kOpenSettingsNotification)),
        count("subscriptions", subscriptions),
        count("simulator view subscriptions", s.viewTokens.size()),
    };
}

std::vector<std::string> snapshotLines(Simulator& s) {
    std::vector<std::string> lines;
    for (const auto& line : stateLines(s)) {
        lines.push_back("state: " + line);
    }
    for (const auto& line : liveLines(s)) {
        lines.push_back("live: " + line);
    }
    return lines;
}

/// The lines of a that b lacks, in a's order, each line of b matching one of a at most.
std::vector<std::string> missingFrom(const std::vector<std::string>& a,
                                     std::vector<std::string> b) {
    std::vector<std::string> out;
    for (const auto& line : a) {
        if (auto it = std::find(b.begin(), b.end(), line); it != b.end()) {
            b.erase(it);
        } else {
            out.push_back(line);
        }
    }
    return out;
}

void expectSnapshot(Simulator& s, const std::string& name) {
    const auto it = s.snapshots.find(name);
    if (it == s.snapshots.end()) {
        throw ScenarioError("no snapshot \"" + name + "\" has been taken");
    }
    const auto now = snapshotLines(s);
    const auto was = missingFrom(it->second, now);
    const auto is = missingFrom(now, it->second);
    if (was.empty() && is.empty()) {
        return;
    }
    std::string message =
        "the state and the live counts differ from snapshot " + quoted(name) + ":";
    for (const auto& line : was) {
        message += "\n  was " + line;
    }
    for (const auto& line : is) {
        message += "\n  now " + line;
    }
    throw ExpectationFailed(message);
}

}  // namespace

Action statePrinter() {
    return [](Simulator& s) {
        std::ostream& out = s.out();
        out << "state: time " << formatSeconds(s.machine().loop.now()) << "\n";
        if (AppState* app = s.app()) {
            out << "state: HUD generation " << app->hudModel().generation() << "\n";
        }
        for (const auto& line : stateLines(s)) {
            out << "state: " << line << "\n";
        }
    };
}

Action livePrinter() {
    return [](Simulator& s) {
        for (const auto& line : liveLines(s)) {
            s.out() << "live: " << line << "\n";
        }
    };
}

void addSnapshotCommands(CommandTable& t) {
    t.add("snapshot", "snapshot NAME",
          "remembers the state and the live counts (print state and print live, time and HUD "
          "generation aside) under NAME",
          [](const Args& a, ParseScope& scope) {
              a.expectOnly(1, {});
              const std::string name = a.at(0, "name");
              scope.snapshots.insert(name);
              return [name](Simulator& s) { s.snapshots[name] = snapshotLines(s); };
          });
    t.add("expect-snapshot", "expect-snapshot NAME",
          "the state and the live counts are those of snapshot NAME, taken on an earlier line",
          [](const Args& a, ParseScope& scope) {
              a.expectOnly(1, {});
              const std::string name = a.at(0, "name");
              if (!scope.snapshots.contains(name)) {
                  throw ScenarioError("no snapshot \"" + name + "\" was taken on an earlier line");
              }
              return [name](Simulator& s) { expectSnapshot(s, name); };
          });
    t.add("expect-steady", "expect-steady NAME",
          "takes snapshot NAME the first time it runs (unless one was taken), and every later "
          "time expects the state and the live counts of that snapshot: in a repeat, every pass "
          "ends where the first one did and holds no more",
          [](const Args& a, ParseScope& scope) {
              a.expectOnly(1, {});
              const std::string name = a.at(0, "name");
              scope.snapshots.insert(name);
              return [name](Simulator& s) {
                  if (!s.snapshots.contains(name)) {
                      s.snapshots[name] = snapshotLines(s);
                      return;
                  }
                  expectSnapshot(s, name);
              };
          });
    // Block lines: the parser takes them before any command. Here only for the help, and for
    // the one place they cannot go, a command of an open panel's during list.
    const auto notHere = [](const Args&) -> Action {
        throw ScenarioError("repeat and end are lines of their own (not a during command)");
    };
    t.add("repeat", "repeat N … end",
          "runs the lines up to the matching end N times (1 to 1000000; nested at most 8 deep)",
          notHere);
    t.add("end", "end", "closes the innermost repeat", notHere);
}

}  // namespace lumivoke::sim
