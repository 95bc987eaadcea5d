#pragma once

#include <memory>

#include "platform/Platform.h"
#include "platform/Windows.h"
#include "settings/SettingsEnvironment.h"
#include "settings/SettingsTab.h"
#include "settings/SettingsView.h"
#include "settings/SettingsWindowHost.h"
#include "settings/SetupState.h"

namespace lumivoke {

/// Owns the settings window, created on the first show and kept, and switches the application
/// between menu-bar-only (accessory) and regular while the window is open.
class SettingsWindowController final : public WindowDelegate {
public:
    static constexpr const char* windowTitle = "Lumivoke";
    static constexpr unsigned styleMask =
        window_style::titled | window_style::closable | window_style::miniaturizable;

    /// The controller belongs to the application, which hands it environment and platform;
    /// both outlive it. host draws the window.
    SettingsWindowController(SettingsEnvironment environment, Platform& platform,
                             SettingsWindowHost& host);
    ~SettingsWindowController() override;
    SettingsWindowController(const SettingsWindowController&) = delete;
    SettingsWindowController& operator=(const SettingsWindowController&) = delete;

    /// Selects tab and brings the window to the front, building it first if needed.
    void show(SettingsTab tab);
    /// Only the settings window's own closing restores the accessory state.
    void windowWillClose(Window& window) override;

    SetupState& setupState() { return *setupState_; }
    SettingsTabSelection& tabSelection() { return *tabSelection_; }
    /// The window, once the first show built it.
    Window* window() { return window_.get(); }
    SettingsView* rootView() { return rootView_.get(); }

private:
    SettingsEnvironment environment_;
    Platform& platform_;
    SettingsWindowHost& host_;
    std::unique_ptr<SetupState> setupState_;
    std::unique_ptr<SettingsTabSelection> tabSelection_;
    std::unique_ptr<SettingsView> rootView_;
    std::unique_ptr<Window> window_;
};

}  // namespace lumivoke
