#pragma once

#include "platform/Bundles.h"

namespace lumivoke::desktop {

/// The application's own version values.
class DesktopMainBundle final : public MainBundle {
public:
    std::optional<InfoValue> infoValue(const std::string& key) override;
};

}  // namespace lumivoke::desktop
