#pragma once

#include <string>

namespace lumivoke {

/// One item in the system menu bar; destroying it removes it from the bar.
class StatusItem {
public:
    virtual ~StatusItem() = default;
    /// Shows another image: an image of the bundle or a system symbol, by name.
    virtual void setIcon(const std::string& iconName) = 0;
};

}  // namespace lumivoke
