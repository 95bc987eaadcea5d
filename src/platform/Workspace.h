#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/Token.h"
#include "platform/Image.h"

namespace lumivoke {

/// One running application as the workspace reports it.
struct RunningApplication {
    int processIdentifier = 0;
    /// Absent for processes that are not bundled applications.
    std::optional<std::string> bundleIdentifier;

    friend bool operator==(const RunningApplication&, const RunningApplication&) = default;
};

/// The workspace: running and installed applications, their icons, and the notifications about
/// the frontmost application and the active Space.
class Workspace {
public:
    virtual ~Workspace() = default;
    /// The application that receives key events now, or none.
    virtual std::optional<RunningApplication> frontmostApplication() = 0;
    /// This process, as a running application.
    virtual RunningApplication currentApplication() = 0;
    /// The file path of the installed application with this bundle identifier, or none.
    virtual std::optional<std::string> urlForApplication(const std::string& bundleIdentifier) = 0;
    /// The icon the Finder shows for the file at path.
    virtual Image iconForFile(const std::string& path) = 0;
    /// The icon of the application content type, for applications without one of their own.
    virtual Image genericApplicationIcon() = 0;
    /// Calls back on the main loop after each activation, with the activated application when
    /// the notification names one.
    virtual Token observeDidActivateApplication(
        std::function<void(const std::optional<RunningApplication>&)> callback) = 0;
    /// Calls back on the main loop after each change of the active Space.
    virtual Token observeActiveSpaceDidChange(std::function<void()> callback) = 0;
};

}  // namespace lumivoke
