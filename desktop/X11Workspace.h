#pragma once

#include <map>

#include "DesktopEntries.h"
#include "X11Connection.h"
#include "base/ObserverList.h"
#include "platform/Bundles.h"
#include "platform/Workspace.h"

namespace lumivoke::desktop {

/// The workspace of an EWMH window manager: the frontmost application is the owner of
/// _NET_ACTIVE_WINDOW (its _NET_WM_PID, and as bundle identifier the id of the matching .desktop
/// file, else its WM_CLASS class), Spaces are _NET_CURRENT_DESKTOP, installed applications are
/// .desktop files, and icons are named by their Icon= values.
class X11Workspace final : public Workspace, public Bundles {
public:
    /// The name of the icon drawn for applications without one.
    static constexpr const char* genericIconName = "application-x-executable";
    /// The bundle identifier of this application.
    static constexpr const char* ownIdentifier = "lumivoke";

    X11Workspace(X11Connection& x11, DesktopEntries& entries);
    ~X11Workspace() override;

    // Workspace
    std::optional<RunningApplication> frontmostApplication() override;
    RunningApplication currentApplication() override;
    std::optional<std::string> urlForApplication(const std::string& bundleIdentifier) override;
    Image iconForFile(const std::string& path) override;
    Image genericApplicationIcon() override;
    Token observeDidActivateApplication(
        std::function<void(const std::optional<RunningApplication>&)> callback) override;
    Token observeActiveSpaceDidChange(std::function<void()> callback) override;

    // Bundles
    std::optional<BundleInfo> openBundle(const std::string& path) override;

private:
    std::optional<unsigned long> cardinalProperty(unsigned long window, unsigned long atom);
    /// The application of window, asked of the server.
    std::optional<RunningApplication> windowApplication(unsigned long window);
    void activeWindowChanged();

    X11Connection& x11_;
    DesktopEntries& entries_;
    unsigned long activeWindowAtom_ = 0;
    unsigned long currentDesktopAtom_ = 0;
    unsigned long pidAtom_ = 0;
    std::optional<RunningApplication> lastFrontmost_;
    // The application of each live window that was active lately (a window is forgotten when
    // it is destroyed; when too many are known, the lowest id goes).
    static constexpr std::size_t kApplicationsKept = 64;
    std::map<unsigned long, RunningApplication> applications_;
    bool activeWindowPending_ = false;
    ObserverList<const std::optional<RunningApplication>&> activationObservers_;
    ObserverList<> spaceObservers_;
    Token eventToken_;
    Token drainedToken_;
};

}  // namespace lumivoke::desktop
