#pragma once

#include <memory>
#include <string>

#include "platform/StatusBar.h"

namespace lumivoke {

class MenuBarContent;

/// How a port shows the menu-bar item: an item of the system's menu bar (or tray) that opens
/// the menu, drawn from its content each time it opens.
class StatusItemHost {
public:
    virtual ~StatusItemHost() = default;
    /// Inserts an item showing iconName that opens menu (which outlives the item) as a menu;
    /// never null. Destroying the item removes it.
    virtual std::unique_ptr<StatusItem> insertStatusItem(const std::string& iconName,
                                                         MenuBarContent& menu) = 0;
};

}  // namespace lumivoke
