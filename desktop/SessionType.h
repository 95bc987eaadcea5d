#pragma once

#include <functional>

namespace lumivoke::desktop {

/// Reads an environment variable: its value, or null when it is not set.
using EnvironmentReader = std::function<const char*(const char*)>;

/// Whether the desktop session is a Wayland one (XDG_SESSION_TYPE is "wayland", or
/// WAYLAND_DISPLAY is set and not empty). There an X11 client runs on a compatibility server
/// that shows it only the keys typed into its own windows, never other applications'. Needs no
/// display.
bool isWaylandSession(const EnvironmentReader& getenv);

}  // namespace lumivoke::desktop
