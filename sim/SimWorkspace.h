#pragma once

#include <map>
#include <optional>
#include <string>

#include "Trace.h"
#include "base/MainLoop.h"
#include "base/ObserverList.h"
#include "platform/Workspace.h"

namespace lumivoke::sim {

/// The simulated workspace: running applications (this one included), the frontmost one, where
/// applications are installed and their icons, and the activation and Space notifications,
/// delivered on a later turn as the main operation queue does.
class SimWorkspace final : public Workspace {
public:
    /// This process; its application is named "self" in scenarios.
    static constexpr int kSelfProcessIdentifier = 1000;
    static constexpr const char* kSelfBundleIdentifier = "com.velmorandix.Lumivoke";
    static constexpr const char* kSelfKey = "self";

    SimWorkspace(MainLoop& loop, Trace& trace);

    // The scenario's controls.
    /// Adds (or replaces) a running application that scenarios name by key.
    void addRunning(const std::string& key, RunningApplication app);
    bool isRunning(const std::string& key) const { return running_.contains(key); }
    /// Makes key (or nothing, for "") frontmost without any notification (machine set-up).
    void setFrontmost(const std::string& key);
    /// key becomes frontmost and the activation notification follows.
    void activate(const std::string& key);
    /// This application activates itself: it becomes frontmost, with the notification, unless
    /// it is already.
    void activateSelf();
    /// This application gives up the front: the application that had it before gets it back,
    /// with the notification, if it still runs; otherwise nothing is frontmost.
    void resignSelf();
    /// The activation notification without an application in it.
    void postActivationWithoutApplication();
    /// The user moves to another Space; the notification follows.
    void changeSpace();
    /// Installs an application: bundleID is located at path, whose icon is named icon.
    void install(const std::string& bundleID, const std::string& path, const std::string& icon);
    /// The key of the frontmost application, or "" for none.
    const std::string& frontmostKey() const { return frontmost_; }
    std::size_t observerCount() const { return activation_.size() + spaceChange_.size(); }

    std::optional<RunningApplication> frontmostApplication() override;
    RunningApplication currentApplication() override;
    std::optional<std::string> urlForApplication(const std::string& bundleIdentifier) override;
    Image iconForFile(const std::string& path) override;
    Image genericApplicationIcon() override;
    Token observeDidActivateApplication(
        std::function<void(const std::optional<RunningApplication>&)> callback) override;
    Token observeActiveSpaceDidChange(std::function<void()> callback) override;

    /// Where installed applications live, by bundle identifier; looked up ignoring case.
    std::map<std::string, std::string> locations;
    /// Icon names by file path; other files get a plain document icon.
    std::map<std::string, std::string> icons;

private:
    MainLoop& loop_;
    Trace& trace_;
    std::map<std::string, RunningApplication> running_;
    std::string frontmost_;
    // The application that was frontmost when this one came to the front.
    std::string beforeSelf_;
    ObserverList<const std::optional<RunningApplication>&> activation_;
    ObserverList<> spaceChange_;
};

}  // namespace lumivoke::sim
