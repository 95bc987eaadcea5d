#pragma once

#include <string>

#include "platform/LoginItems.h"

namespace lumivoke::desktop {

/// Launch at login as an XDG autostart entry, $XDG_CONFIG_HOME/autostart/lumivoke.desktop.
class AutostartLoginItems final : public LoginItemService {
public:
    LoginItemStatus status() override;
    bool registerMainApp() override;
    bool unregisterMainApp() override;
    static std::string entryPath();
};

}  // namespace lumivoke::desktop
