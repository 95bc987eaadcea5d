#include "DesktopMainBundle.h"

namespace lumivoke::desktop {

std::optional<InfoValue> DesktopMainBundle::infoValue(const std::string& key) {
    if (key == "CFBundleShortVersionString") {
        return std::string(LUMIVOKE_VERSION);
    }
    if (key == "CFBundleVersion") {
        return std::string(LUMIVOKE_BUILD);
    }
    if (key == "CFBundleName" || key == "CFBundleDisplayName") {
        return std::string("Lumivoke");
    }
    return std::nullopt;
}

}  // namespace lumivoke::desktop
