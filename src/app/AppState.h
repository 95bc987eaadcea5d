#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "app/AppFeatureSwitches.h"
#include "app/AppVersion.h"
#include "app/ViewHost.h"
#include "base/Logger.h"
#include "base/Published.h"
#include "base/WeakAnchor.h"
#include "input/NSEventMonitor.h"
#include "overlay/HUDModel.h"
#include "platform/Platform.h"
#include "sources/LanguageSwitcher.h"

namespace lumivoke {

class AccessibilityMonitor;
class AppRulesStore;
class BadgePresenter;
class PerAppRulesController;
class SettingsWindowController;

/// The one central object of the running application: it creates, owns and wires the services.
class AppState {
public:
    /// Runs on platform, its views drawn by views; both outlive it.
    AppState(Platform& platform, ViewHost& views);
    ~AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    /// Mirrors of the switcher's values, one main-loop turn behind it.
    Published<std::vector<InputSource>> sources;
    Published<std::optional<InputSource>> currentSource;

    // Accessibility trust, mirrored from the accessibility monitor.
    Published<bool> isAccessibilityTrusted{false};
    // The persisted feature switches. Assign them through the setters, which publish the value,
    // write it to the defaults (also when unchanged) and drive the service.
    Published<bool> isHoverBadgeEnabled{true};
    Published<bool> isPerAppRulesEnabled{false};
    Published<bool> isHUDOnAutoSwitchEnabled{true};
    void setHoverBadgeEnabled(bool on);
    void setPerAppRulesEnabled(bool on);
    void setHUDOnAutoSwitchEnabled(bool on);

    LanguageSwitcher& languageSwitcher() { return *languageSwitcher_; }
    HUDModel& hudModel() { return *hudModel_; }
    NSEventMonitor& monitor() { return *monitor_; }
    AccessibilityMonitor& accessibilityMonitor();
    AppRulesStore& appRulesStore();
    /// Created on first use, then kept.
    BadgePresenter& badgePresenter();
    /// Created on first use, then kept.
    PerAppRulesController& perAppRulesController();
    /// Created on first use, then kept.
    SettingsWindowController& settingsController();
    /// The switches as the settings tabs show and flip them.
    FeatureSwitches& featureSwitches() { return featureSwitches_; }
    /// The settings window controller if something has asked for it, else null.
    SettingsWindowController* settingsControllerIfCreated() { return settingsController_.get(); }
    const AppVersion& version() const { return version_; }
    /// What a tap does: selects the next source and shows its code in the HUD. The source
    /// selected, or none when there was none to select.
    std::optional<InputSource> switchToNextSource();
    Platform& platform() { return platform_; }

private:
    void handleTap();
    void runLaunchCheck();

    Platform& platform_;
    ViewHost& views_;
    Logger log_;
    AppVersion version_;
    std::unique_ptr<LanguageSwitcher> languageSwitcher_;
    std::unique_ptr<AccessibilityMonitor> accessibilityMonitor_;
    std::unique_ptr<HUDModel> hudModel_;
    std::unique_ptr<NSEventMonitor> monitor_;
    std::unique_ptr<AppRulesStore> appRulesStore_;
    // After the store and the switcher it uses, so that it goes first.
    std::unique_ptr<PerAppRulesController> perAppRulesController_;
    Token sourcesCancellable_;
    Token currentSourceCancellable_;
    Token accessibilityCancellable_;
    std::unique_ptr<BadgePresenter> badgePresenter_;
    // Before the settings window controller, which uses it.
    AppFeatureSwitches featureSwitches_{*this, platform_.defaults};
    std::unique_ptr<SettingsWindowController> settingsController_;
    Token reopenObserverToken_;
    WeakAnchor<AppState> anchor_{this};
};

}  // namespace lumivoke
