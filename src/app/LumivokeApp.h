#pragma once

#include <memory>
#include <string>

#include "app/AppState.h"
#include "app/MenuBarContent.h"
#include "app/ViewHost.h"
#include "platform/Application.h"
#include "platform/NotificationCenter.h"
#include "platform/StatusBar.h"

namespace lumivoke {

/// The in-process request to open the settings on the General tab.
inline constexpr const char* kOpenSettingsNotification = "openLumivokeSettings";

/// Turns a second launch of the running application into a request to open the settings.
class AppDelegate final : public ApplicationDelegate {
public:
    explicit AppDelegate(NotificationCenter& notifications) : notifications_(notifications) {}
    /// Posts "openLumivokeSettings" whatever windows are visible, and handles the reopen.
    bool applicationShouldHandleReopen(bool hasVisibleWindows) override;

private:
    NotificationCenter& notifications_;
};

/// The application itself: builds the application state once, installs the delegate and keeps
/// the menu-bar item, which is present while "MenubarIconVisible" is on (true when unset) and
/// whose icon tells whether Accessibility is granted.
class LumivokeApp {
public:
    static constexpr const char* trustedIcon = "MenubarIcon";
    static constexpr const char* untrustedIcon = "exclamationmark.triangle.fill";

    /// Runs on platform, its views drawn by views; both outlive it.
    LumivokeApp(Platform& platform, ViewHost& views);
    ~LumivokeApp();
    LumivokeApp(const LumivokeApp&) = delete;
    LumivokeApp& operator=(const LumivokeApp&) = delete;

    AppState& state() { return *state_; }
    MenuBarContent& menu() { return *menu_; }
    /// Whether the menu-bar item is in the bar now.
    bool isStatusItemInserted() const { return static_cast<bool>(statusItem_); }
    /// The icon the item shows (or would show).
    const char* currentIcon() const;

private:
    void updateStatusItem();

    Platform& platform_;
    ViewHost& views_;
    std::unique_ptr<AppState> state_;
    AppDelegate appDelegate_;
    std::unique_ptr<MenuBarContent> menu_;
    std::unique_ptr<StatusItem> statusItem_;
    std::string shownIcon_;
    Token visibleObserver_;
    Token trustCancellable_;
    WeakAnchor<LumivokeApp> anchor_{this};
};

}  // namespace lumivoke
