#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "app/AppVersion.h"
#include "base/Logger.h"
#include "base/Published.h"
#include "base/WeakAnchor.h"
#include "input/NSEventMonitor.h"
#include "overlay/HUDModel.h"
#include "platform/Platform.h"
#include "sources/LanguageSwitcher.h"

namespace lumivoke {

/// The one central object of the running application: it creates, owns and wires the services.
class AppState {
public:
    explicit AppState(Platform& platform);
    ~AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    /// Mirrors of the switcher's values, one main-loop turn behind it.
    Published<std::vector<InputSource>> sources;
    Published<std::optional<InputSource>> currentSource;

    LanguageSwitcher& languageSwitcher() { return *languageSwitcher_; }
    HUDModel& hudModel() { return *hudModel_; }
    NSEventMonitor& monitor() { return *monitor_; }
    const AppVersion& version() const { return version_; }
    Platform& platform() { return platform_; }

private:
    void handleTap();

    Platform& platform_;
    Logger log_;
    AppVersion version_;
    std::unique_ptr<LanguageSwitcher> languageSwitcher_;
    std::unique_ptr<HUDModel> hudModel_;
    std::unique_ptr<NSEventMonitor> monitor_;
    Token sourcesCancellable_;
    Token currentSourceCancellable_;
    WeakAnchor<AppState> anchor_{this};
};

}  // namespace lumivoke
