#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "SimWorkspace.h"
#include "Trace.h"
#include "base/ObserverList.h"
#include "platform/Application.h"
#include "platform/Links.h"
#include "platform/NotificationCenter.h"
#include "platform/StatusBar.h"

namespace lumivoke {
class MenuBarContent;
}  // namespace lumivoke

namespace lumivoke::sim {

/// The simulated application object: its activation policy, activation and termination, and
/// the delegate a second launch asks. Activating it makes it the workspace's frontmost
/// application; turning back into a menu-bar-only application while in front hands the front
/// back to the application that had it, as on the real system.
class SimApplication final : public Application {
public:
    SimApplication(Trace& trace, SimWorkspace& workspace) : trace_(trace), workspace_(workspace) {}

    void setActivationPolicy(ActivationPolicy policy) override;
    void activate() override;
    void terminate() override;
    void setDelegate(ApplicationDelegate* delegate) override { delegate_ = delegate; }

    /// The person launches the running application again; false when nobody handled it.
    bool reopen(bool hasVisibleWindows);
    /// The policy set last; none before anything set it (the bundle's accessory start).
    std::optional<ActivationPolicy> policy() const { return policy_; }
    /// Runs after terminate() has traced, to end the application.
    std::function<void()> onTerminate;

private:
    Trace& trace_;
    SimWorkspace& workspace_;
    ApplicationDelegate* delegate_ = nullptr;
    std::optional<ActivationPolicy> policy_;
};

/// The in-process notification center: observers are called at once, on the main thread.
class SimNotificationCenter final : public NotificationCenter {
public:
    Token addObserver(const std::string& name, std::function<void()> callback) override;
    void post(const std::string& name) override;
    std::size_t observerCount(const std::string& name) const;

private:
    std::map<std::string, ObserverList<>> observers_;
};

/// Opening links: traced as "workspace: open-url URL".
class SimLinks final : public LinkOpener {
public:
    explicit SimLinks(Trace& trace) : trace_(trace) {}
    bool openURL(const std::string& url) override;

private:
    Trace& trace_;
};

class SimStatusBar;

/// One simulated menu-bar item.
class SimStatusItem final : public StatusItem {
public:
    SimStatusItem(SimStatusBar& bar, std::string icon, MenuBarContent& menu);
    ~SimStatusItem() override;
    void setIcon(const std::string& iconName) override;
    const std::string& icon() const { return icon_; }
    MenuBarContent& menu() { return menu_; }

private:
    SimStatusBar& bar_;
    std::string icon_;
    MenuBarContent& menu_;
};

/// The simulated menu bar, with at most the application's one item.
class SimStatusBar final {
public:
    explicit SimStatusBar(Trace& trace) : trace_(trace) {}
    std::unique_ptr<StatusItem> insertItem(const std::string& iconName, MenuBarContent& menu);
    /// The item in the bar, or null.
    SimStatusItem* item() const { return item_; }

private:
    friend class SimStatusItem;
    Trace& trace_;
    SimStatusItem* item_ = nullptr;
};

}  // namespace lumivoke::sim
