#pragma once

#include <QLocalServer>
#include <map>
#include <memory>
#include <vector>

#include "X11Keyboard.h"
#include "base/ObserverList.h"
#include "platform/AccessibilityTrust.h"
#include "platform/Application.h"
#include "platform/Bundles.h"
#include "platform/Links.h"
#include "platform/LoginItems.h"
#include "platform/NotificationCenter.h"
#include "platform/OpenPanel.h"
#include "platform/Preferences.h"

// The small services of the desktop port, each a thin mapping onto Qt or the XDG conventions.
namespace lumivoke::desktop {

/// The application's own version values.
class DesktopMainBundle final : public MainBundle {
public:
    std::optional<InfoValue> infoValue(const std::string& key) override;
};

/// Any X11 client may read the global key stream, so trust is simply whether it can be read.
class X11AccessibilityTrust final : public AccessibilityTrust {
public:
    explicit X11AccessibilityTrust(X11Keyboard& keyboard) : keyboard_(keyboard) {}
    bool isProcessTrusted() override { return keyboard_.canMonitor(); }

private:
    X11Keyboard& keyboard_;
};

/// Launch at login as an XDG autostart entry, $XDG_CONFIG_HOME/autostart/lumivoke.desktop.
class AutostartLoginItems final : public LoginItemService {
public:
    LoginItemStatus status() override;
    bool registerMainApp() override;
    bool unregisterMainApp() override;
    static std::string entryPath();
};

/// A Qt file dialog on the installed .desktop files.
class QtOpenPanels final : public OpenPanels {
public:
    OpenPanelResult runModal(const OpenPanelSettings& settings) override;
};

/// Web links through the desktop's URL handler. The System Settings panes of the Setup tab have
/// no Linux counterpart and open nothing.
class QtLinks final : public LinkOpener {
public:
    bool openURL(const std::string& url) override;
};

/// The in-process notification center; posts are delivered at once, in registration order.
class InProcessNotificationCenter final : public NotificationCenter {
public:
    Token addObserver(const std::string& name, std::function<void()> callback) override;
    void post(const std::string& name) override;

private:
    std::map<std::string, ObserverList<>> observers_;
};

/// Linux has no system action for the Globe key that could take it over, which is what
/// "Do Nothing" (0) means; every other key of another domain is absent.
class LinuxPreferences final : public SystemPreferences {
public:
    std::optional<DefaultsValue> copyAppValue(const std::string& key,
                                              const std::string& applicationID) override;
};

/// The running application. A second launch finds the first through a local socket and asks it
/// to reopen; activation policies have no meaning on X11.
class QtApplication final : public Application {
public:
    QtApplication();
    ~QtApplication() override;

    /// Becomes the single instance: true when this process now answers reopen requests; false
    /// when another instance runs, which has been asked to reopen.
    bool becomeSingleInstance();

    void setActivationPolicy(ActivationPolicy policy) override;
    void activate() override;
    void terminate() override;
    void setDelegate(ApplicationDelegate* delegate) override { delegate_ = delegate; }

    /// The name of the local socket of the running instance.
    static QString serverName();

private:
    void reopen();

    ApplicationDelegate* delegate_ = nullptr;
    QLocalServer server_;
};

}  // namespace lumivoke::desktop
