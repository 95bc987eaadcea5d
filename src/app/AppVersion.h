#pragma once

#include <string>

#include "platform/Bundles.h"

namespace lumivoke {

/// The bundle's version values, read once and kept; "?" stands for a missing or non-text one.
struct AppVersion {
    std::string version;
    std::string build;

    static AppVersion read(MainBundle& bundle);
    /// version + " (Build " + build + ")"
    std::string text() const { return version + " (Build " + build + ")"; }
};

}  // namespace lumivoke
