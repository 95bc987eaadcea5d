#include "SessionType.h"

#include <string_view>

namespace lumivoke::desktop {

bool isWaylandSession(const EnvironmentReader& getenv) {
    const char* type = getenv("XDG_SESSION_TYPE");
    if (type != nullptr && std::string_view(type) == "wayland") {
        return true;
    }
    const char* display = getenv("WAYLAND_DISPLAY");
    return display != nullptr && *display != '\0';
}

}  // namespace lumivoke::desktop
