#pragma once

#include <string>

namespace lumivoke {

/// Opens links with the application the system assigns to them.
class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    /// Opens url (a web page, a settings pane); false when nothing could open it.
    virtual bool openURL(const std::string& url) = 0;
    /// Whether some application would open url, so that a control leading there is worth
    /// showing: a settings pane that this system does not have is not.
    virtual bool canOpenURL(const std::string& url) = 0;
};

}  // namespace lumivoke
