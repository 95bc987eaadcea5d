#include "app/AppState.h"

#include "app/AccessibilityMonitor.h"
#include "app/DefaultsKeys.h"
#include "app/LumivokeApp.h"
#include "badge/BadgePresenter.h"
#include "rules/AppRulesStore.h"
#include "rules/PerAppRulesController.h"
#include "settings/SettingsWindowController.h"
#include "settings/SetupState.h"

namespace lumivoke {

AppState::AppState(Platform& platform, ViewHost& views)
    : platform_(platform),
      views_(views),
      log_(platform.logSink, "Lifecycle"),
      version_(AppVersion::read(platform.mainBundle)) {
    // The services, in their order.
    languageSwitcher_ = std::make_unique<LanguageSwitcher>(platform.inputSources, platform.keyboard,
                                                           platform.logSink);
    accessibilityMonitor_ = std::make_unique<AccessibilityMonitor>(platform.accessibilityTrust,
                                                                   platform.loop, platform.logSink);
    appRulesStore_ = std::make_unique<AppRulesStore>(platform.defaults, platform.logSink);
    hudModel_ = std::make_unique<HUDModel>(views, platform.screens, platform.loop);
    monitor_ = std::make_unique<NSEventMonitor>(platform.events, platform.loop, platform.logSink);

    platform.defaults.registerDefaults({{defaults_keys::hoverBadgeEnabled, true},
                                        {defaults_keys::perAppRulesEnabled, false},
                                        {defaults_keys::hudOnAutoSwitchEnabled, true}});

    log_.info("Lumivoke launched — %{public}s", version_.text());

    sourcesCancellable_ = languageSwitcher_->sources.subscribe(
        platform.loop,
        bindWeak(anchor_.weak(), [](AppState& self, const auto& v) { self.sources.set(v); }));
    currentSourceCancellable_ = languageSwitcher_->currentSource.subscribe(
        platform.loop,
        bindWeak(anchor_.weak(), [](AppState& self, const auto& v) { self.currentSource.set(v); }));

    monitor_->onTap = bindWeak(anchor_.weak(), [](AppState& self) { self.handleTap(); });
    monitor_->onTyping =
        bindWeak(anchor_.weak(), [](AppState& self) { self.badgePresenter().userDidType(); });
    monitor_->start();
    // The copy makes the first value right at once; the mirror follows one turn behind.
    isAccessibilityTrusted.set(accessibilityMonitor_->isTrusted.value());
    accessibilityCancellable_ = accessibilityMonitor_->isTrusted.subscribe(
        platform.loop, bindWeak(anchor_.weak(), [](AppState& self, bool v) {
            self.isAccessibilityTrusted.set(v);
        }));
    // A monitor registered without trust never gets events; registering anew makes them flow.
    accessibilityMonitor_->onTrustGranted = bindWeak(anchor_.weak(), [](AppState& self) {
        self.monitor_->stop();
        self.monitor_->start();
    });
    if (!accessibilityMonitor_->isTrusted.value()) {
        accessibilityMonitor_->startPolling();
    }
    setHoverBadgeEnabled(defaultsBool(platform.defaults.object(defaults_keys::hoverBadgeEnabled)));
    // The per-app switch below may already switch the source, and its HUD must follow the
    // stored HUD switch, not the flag's initial value: take the stored value quietly now; the
    // switch itself is assigned, and written, after the per-app one as usual.
    isHUDOnAutoSwitchEnabled.set(
        defaultsBool(platform.defaults.object(defaults_keys::hudOnAutoSwitchEnabled)));
    // The controller observes for the whole run; the switch only gates what it does.
    auto& rulesController = perAppRulesController();
    rulesController.onAutoSwitch =
        bindWeak(anchor_.weak(), [](AppState& self, const InputSource& source) {
            if (*self.isHUDOnAutoSwitchEnabled) {
                self.hudModel().show(shortCode(source));
            }
        });
    rulesController.start();
    setPerAppRulesEnabled(
        defaultsBool(platform.defaults.object(defaults_keys::perAppRulesEnabled)));
    setHUDOnAutoSwitchEnabled(
        defaultsBool(platform.defaults.object(defaults_keys::hudOnAutoSwitchEnabled)));
    // A second launch of the running application asks for the settings through here.
    reopenObserverToken_ = platform.notifications.addObserver(
        kOpenSettingsNotification, bindWeak(anchor_.weak(), [](AppState& self) {
            self.settingsController().show(SettingsTab::general);
        }));
    // One turn later, so that the menu-bar item is in place before a window may open.
    platform.loop.post(bindWeak(anchor_.weak(), [](AppState& self) { self.runLaunchCheck(); }));
}

AppState::~AppState() {
    reopenObserverToken_.cancel();
    accessibilityMonitor_->stopPolling();
    monitor_->stop();
    if (perAppRulesController_) {
        perAppRulesController_->stop();
    }
}

void AppState::setHoverBadgeEnabled(bool on) {
    isHoverBadgeEnabled.set(on);
    platform_.defaults.set(defaults_keys::hoverBadgeEnabled, on);
    badgePresenter().setEnabled(on);
}

void AppState::setPerAppRulesEnabled(bool on) {
    const bool previous = *isPerAppRulesEnabled;
    isPerAppRulesEnabled.set(on);
    platform_.defaults.set(defaults_keys::perAppRulesEnabled, on);
    auto& controller = perAppRulesController();
    controller.isEnabled = on;
    // Turning the feature on acts on the application in front without waiting for a switch.
    if (on && !previous) {
        if (auto app = platform_.workspace.frontmostApplication()) {
            controller.handleActivation(*app);
        }
    }
}

void AppState::setHUDOnAutoSwitchEnabled(bool on) {
    isHUDOnAutoSwitchEnabled.set(on);
    platform_.defaults.set(defaults_keys::hudOnAutoSwitchEnabled, on);
}

AccessibilityMonitor& AppState::accessibilityMonitor() {
    return *accessibilityMonitor_;
}

BadgePresenter& AppState::badgePresenter() {
    if (!badgePresenter_) {
        badgePresenter_ = std::make_unique<BadgePresenter>(*languageSwitcher_, platform_, views_);
    }
    return *badgePresenter_;
}

AppRulesStore& AppState::appRulesStore() {
    return *appRulesStore_;
}

PerAppRulesController& AppState::perAppRulesController() {
    if (!perAppRulesController_) {
        perAppRulesController_ = std::make_unique<PerAppRulesController>(
            *appRulesStore_, *languageSwitcher_, platform_.workspace, platform_.loop,
            platform_.logSink);
    }
    return *perAppRulesController_;
}

SettingsWindowController& AppState::settingsController() {
    if (!settingsController_) {
        settingsController_ = std::make_unique<SettingsWindowController>(
            SettingsEnvironment{featureSwitches_, isAccessibilityTrusted, sources, currentSource,
                                *appRulesStore_, version_.text()},
            platform_, views_);
    }
    return *settingsController_;
}

void AppState::runLaunchCheck() {
    // Either missing prerequisite makes the Globe key useless, so say so on the Setup tab.
    if (!platform_.accessibilityTrust.isProcessTrusted() ||
        !SetupState::readGlobeKeyDisabled(platform_.preferences)) {
        settingsController().show(SettingsTab::setup);
    }
}

void AppState::handleTap() {
    switchToNextSource();
}

std::optional<InputSource> AppState::switchToNextSource() {
    auto selected = languageSwitcher_->selectNext();
    if (selected) {
        hudModel_->show(shortCode(*selected));
    }
    return selected;
}

}  // namespace lumivoke
