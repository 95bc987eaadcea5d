#pragma once

#include <string>

#include "platform/Links.h"

namespace lumivoke::desktop {

/// Web links through the desktop's URL handler. The System Settings panes of the Setup tab have
/// no Linux counterpart and open nothing.
class QtLinks final : public LinkOpener {
public:
    bool openURL(const std::string& url) override;
    bool canOpenURL(const std::string& url) override;
};

}  // namespace lumivoke::desktop
