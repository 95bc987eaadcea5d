#pragma once

#include <map>
#include <string>

#include "platform/StringTable.h"

namespace lumivoke::desktop {

/// The application's texts as a Linux desktop words them: those that speak of macOS places,
/// permissions or keys are replaced by what is true here; every other text shows as it is.
class LinuxStrings final : public StringTable {
public:
    std::string text(const std::string& key) const override;

    /// Every replacement, by the application's own text.
    static const std::map<std::string, std::string>& replacements();
};

}  // namespace lumivoke::desktop
