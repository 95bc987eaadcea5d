#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lumivoke {

/// The uniform type identifier of application bundles.
inline constexpr const char* kApplicationContentType = "com.apple.application";

/// Everything the open panel is set up with before it runs.
struct OpenPanelSettings {
    std::string title;
    std::string prompt;
    std::vector<std::string> allowedContentTypes;
    std::string directoryURL;
    bool allowsMultipleSelection = false;
    bool canChooseDirectories = false;
    bool canChooseFiles = true;
    bool treatsFilePackagesAsDirectories = false;
};

/// The modal response that means the user confirmed.
inline constexpr long kModalResponseOK = 1;

/// What a finished open panel reports.
struct OpenPanelResult {
    long response = 0;
    /// The chosen item's file-system path, if any.
    std::optional<std::string> path;
};

/// The system's file open panel.
class OpenPanels {
public:
    virtual ~OpenPanels() = default;
    /// Runs an open panel modally and returns when the user closes it.
    virtual OpenPanelResult runModal(const OpenPanelSettings& settings) = 0;
};

}  // namespace lumivoke
