#include "rules/PerAppRulesController.h"

#include <chrono>

namespace lumivoke {
namespace {

// The Space switch animation settles first; the frontmost application is known by then.
constexpr Duration kSpaceChangeDelay = std::chrono::milliseconds(100);

}  // namespace

PerAppRulesController::PerAppRulesController(AppRulesStore& store,
                                             LanguageSwitcher& languageSwitcher,
                                             Workspace& workspace, MainLoop& loop, LogSink& sink)
    : log_(sink, "PerAppRules"),
      store_(store),
      languageSwitcher_(languageSwitcher),
      workspace_(workspace),
      loop_(loop) {}

PerAppRulesController::~PerAppRulesController() {
    stop();
}

void PerAppRulesController::start() {
    activationObserver_ = workspace_.observeDidActivateApplication(
        bindWeak(anchor_.weak(),
                 [](PerAppRulesController& self, const std::optional<RunningApplication>& app) {
                     if (app) {
                         self.handleActivation(*app);
                     }
                 }));
    spaceObserver_ = workspace_.observeActiveSpaceDidChange(
        bindWeak(anchor_.weak(), [](PerAppRulesController& self) {
            // Every change gets its own step, so a rule is re-applied even when the frontmost
            // application stayed the same (the user may have switched the source by hand).
            self.loop_.postAfter(kSpaceChangeDelay,
                                 bindWeak(self.anchor_.weak(), [](PerAppRulesController& later) {
                                     if (auto app = later.workspace_.frontmostApplication()) {
                                         later.handleActivation(*app);
                                     }
                                 }));
        }));
    log_.info("started");
}

void PerAppRulesController::stop() {
    activationObserver_.cancel();
    spaceObserver_.cancel();
    log_.info("stopped");
}

void PerAppRulesController::handleActivation(const RunningApplication& app) {
    if (app.processIdentifier == workspace_.currentApplication().processIdentifier) {
        return;
    }
    if (!app.bundleIdentifier) {
        return;
    }
    const std::string& bundleID = *app.bundleIdentifier;
    if (!isEnabled) {
        log_.debug("activated bundleID=%{public}s — feature off", bundleID);
        return;
    }
    const auto& rules = *store_.rules;
    const auto rule = rules.find(bundleID);
    if (rule == rules.end()) {
        log_.debug("activated bundleID=%{public}s — no rule", bundleID);
        return;
    }
    const std::string target = rule->second;
    const auto& current = *languageSwitcher_.currentSource;
    if (current && current->id == target) {
        log_.debug("activated bundleID=%{public}s target=%{public}s — already current", bundleID,
                   target);
        return;
    }
    std::optional<InputSource> found;
    for (const auto& source : *languageSwitcher_.sources) {
        if (source.id == target) {
            found = source;
            break;
        }
    }
    if (!found) {
        log_.info("activated bundleID=%{public}s target=%{public}s — source not installed",
                  bundleID, target);
        return;
    }
    log_.info("activated bundleID=%{public}s switching to %{public}s", bundleID, found->name);
    if (!languageSwitcher_.service.select(*found)) {
        return;
    }
    languageSwitcher_.currentSource.set(*found);
    if (onAutoSwitch) {
        onAutoSwitch(*found);
    }
}

}  // namespace lumivoke
