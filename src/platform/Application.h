#pragma once

namespace lumivoke {

/// Whether the application has a Dock icon and a main menu.
enum class ActivationPolicy {
    regular = 0,    ///< Dock icon, application menu, keyboard focus
    accessory = 1,  ///< menu-bar only, no Dock icon
};

/// Receives the application's own lifecycle callbacks.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    /// The running application was launched again; true when the delegate handled it.
    virtual bool applicationShouldHandleReopen(bool hasVisibleWindows) = 0;
};

/// This running application as the system sees it.
class Application {
public:
    virtual ~Application() = default;
    /// Switches between a regular and a menu-bar-only application.
    virtual void setActivationPolicy(ActivationPolicy policy) = 0;
    /// Makes this application the active one.
    virtual void activate() = 0;
    /// Ends the application; on a real system this does not return.
    virtual void terminate() = 0;
    /// Installs the delegate that is asked about reopening; null removes it.
    virtual void setDelegate(ApplicationDelegate* delegate) = 0;
};

}  // namespace lumivoke
