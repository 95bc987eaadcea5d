#pragma once

#include "app/StatusItemHost.h"
#include "badge/BadgeHost.h"
#include "overlay/HUDHost.h"
#include "settings/SettingsWindowHost.h"

namespace lumivoke {

/// Everything a port draws of the application, one method per kind of view: a new kind of view
/// adds a method here, and every port fails to build until it draws it. Each port implements it
/// once; whoever starts the application (main(), the simulator, a test) hands it over with the
/// platform. Each subsystem declares the host of its own view, so that the platform layer
/// never needs to know the views.
class ViewHost : public HUDHost,
                 public BadgeHost,
                 public SettingsWindowHost,
                 public StatusItemHost {};

}  // namespace lumivoke
