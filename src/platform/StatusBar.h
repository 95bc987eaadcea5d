#pragma once

#include <memory>
#include <string>

#include "platform/Panels.h"

namespace lumivoke {

/// One item in the system menu bar; destroying it removes it from the bar.
class StatusItem {
public:
    virtual ~StatusItem() = default;
    /// Shows another image: an image of the bundle or a system symbol, by name.
    virtual void setIcon(const std::string& iconName) = 0;
};

/// The system menu bar.
class StatusBar {
public:
    virtual ~StatusBar() = default;
    /// Inserts an item showing iconName that opens menu (which outlives the item) as a menu.
    virtual std::unique_ptr<StatusItem> insertItem(const std::string& iconName,
                                                   HostedView& menu) = 0;
};

}  // namespace lumivoke
