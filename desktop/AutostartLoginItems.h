#pragma once

#include <string>

#include "base/Logger.h"
#include "platform/LoginItems.h"

namespace lumivoke::desktop {

/// Launch at login as an XDG autostart entry, $XDG_CONFIG_HOME/autostart/lumivoke.desktop.
/// A failed registration is logged with its reason; the switch then shows the truth again.
class AutostartLoginItems final : public LoginItemService {
public:
    explicit AutostartLoginItems(LogSink& sink) : log_(sink, "LoginItems") {}

    LoginItemStatus status() override;
    bool registerMainApp() override;
    bool unregisterMainApp() override;
    static std::string entryPath();

private:
    Logger log_;
};

}  // namespace lumivoke::desktop
