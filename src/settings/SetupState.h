#pragma once

#include <chrono>

#include "base/MainLoop.h"
#include "base/Published.h"
#include "base/WeakAnchor.h"
#include "platform/Preferences.h"

namespace lumivoke {

/// Whether the system's own Globe-key action is "Do Nothing", re-read once a second while the
/// settings window is open so that the Setup tab follows a change made in System Settings.
class SetupState {
public:
    static constexpr const char* fnUsageDomain = "com.apple.HIToolbox";
    static constexpr const char* fnUsageKey = "AppleFnUsageType";
    static constexpr Duration pollInterval = std::chrono::seconds(1);

    /// True exactly when the setting holds a number that is the integer 0; an absent key, a
    /// text, a fraction or any other integer is false.
    static bool readGlobeKeyDisabled(SystemPreferences& preferences);

    /// Reads the setting once, so the value is current from the start.
    SetupState(SystemPreferences& preferences, MainLoop& loop);
    SetupState(const SetupState&) = delete;
    SetupState& operator=(const SetupState&) = delete;

    /// Re-reads the setting; subscribers hear only of a real change.
    void refresh();
    /// Refreshes now and then every second; does nothing while already polling.
    void startPolling();
    /// Stops the timer, if any.
    void stopPolling();
    bool isPolling() const { return static_cast<bool>(timer_); }

    Published<bool> isGlobeKeyDisabled{false, Notify::onChange};

private:
    SystemPreferences& preferences_;
    MainLoop& loop_;
    Token timer_;
    WeakAnchor<SetupState> anchor_{this};
};

}  // namespace lumivoke
