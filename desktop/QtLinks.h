#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Links.h"

namespace lumivoke::desktop {

/// Web links through the desktop's URL handler. Of the system's settings panes only the
/// keyboard one has a Linux counterpart, the desktop's own keyboard settings where this port
/// knows them; there is no permission list to open.
class QtLinks final : public LinkOpener {
public:
    /// keyboardSettings is the command that opens the desktop's keyboard settings, if any.
    explicit QtLinks(std::optional<std::vector<std::string>> keyboardSettings)
        : keyboardSettings_(std::move(keyboardSettings)) {}

    bool openURL(const std::string& url) override;
    bool canOpenURL(const std::string& url) override;

private:
    std::optional<std::vector<std::string>> keyboardSettings_;
};

}  // namespace lumivoke::desktop
