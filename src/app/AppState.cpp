#include "app/AppState.h"

#include "app/DefaultsKeys.h"

namespace lumivoke {

AppState::AppState(Platform& platform)
    : platform_(platform),
      log_(platform.logSink, "Lifecycle"),
      version_(AppVersion::read(platform.mainBundle)) {
    // The services, in their order.
    languageSwitcher_ = std::make_unique<LanguageSwitcher>(
        platform.inputSources, platform.keyboard, platform.logSink);
    hudModel_ = std::make_unique<HUDModel>(platform.panels, platform.screens, platform.loop);
    monitor_ = std::make_unique<NSEventMonitor>(platform.events, platform.loop, platform.logSink);

    platform.defaults.registerDefaults({{defaults_keys::hoverBadgeEnabled, true},
                                        {defaults_keys::perAppRulesEnabled, false},
                                        {defaults_keys::hudOnAutoSwitchEnabled, true}});

    log_.info("Lumivoke launched — %{public}s", version_.text());

    sourcesCancellable_ = languageSwitcher_->sources.subscribe(
        platform.loop, bindWeak(anchor_.weak(), [](AppState& self, const auto& v) {
            self.sources.set(v);
        }));
    currentSourceCancellable_ = languageSwitcher_->currentSource.subscribe(
        platform.loop, bindWeak(anchor_.weak(), [](AppState& self, const auto& v) {
            self.currentSource.set(v);
        }));

    monitor_->onTap = bindWeak(anchor_.weak(), [](AppState& self) { self.handleTap(); });
    // (The typing reaction goes here.)
    monitor_->start();
    // (Trust, the feature switches and the settings requests follow here.)
}

AppState::~AppState() {
    // (The open-settings observer and the trust poll go first.)
    monitor_->stop();
    // (The per-app rules controller stops here.)
}

void AppState::setHoverBadgeEnabled(bool on) {
    isHoverBadgeEnabled.set(on);
    platform_.defaults.set(defaults_keys::hoverBadgeEnabled, on);
    // (The badge presenter follows the switch here.)
}

void AppState::setPerAppRulesEnabled(bool on) {
    isPerAppRulesEnabled.set(on);
    platform_.defaults.set(defaults_keys::perAppRulesEnabled, on);
    // (The per-app rules controller follows the switch here.)
}

void AppState::setHUDOnAutoSwitchEnabled(bool on) {
    isHUDOnAutoSwitchEnabled.set(on);
    platform_.defaults.set(defaults_keys::hudOnAutoSwitchEnabled, on);
}

void AppState::handleTap() {
    if (auto selected = languageSwitcher_->selectNext()) {
        hudModel_->show(shortCode(*selected));
    }
}

}  // namespace lumivoke
