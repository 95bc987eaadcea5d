#include "ColourScheme.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace lumivoke::desktop {

bool prefersDarkColours(const char* gtkTheme) {
    if (gtkTheme == nullptr) {
        return false;
    }
    std::string theme(gtkTheme);
    std::transform(theme.begin(), theme.end(), theme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // "NAME:VARIANT" names a variant of a theme; otherwise the name itself says it.
    const auto colon = theme.rfind(':');
    if (colon != std::string::npos) {
        return theme.substr(colon + 1) == "dark";
    }
    return theme.ends_with("-dark") || theme.ends_with("_dark") || theme == "dark";
}

}  // namespace lumivoke::desktop
