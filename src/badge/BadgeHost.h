#pragma once

#include <memory>

#include "platform/Panels.h"

namespace lumivoke {

class BadgeView;

/// How a port shows the hover badge: it draws the view in an overlay panel of its own.
class BadgeHost {
public:
    virtual ~BadgeHost() = default;
    /// A new panel with these settings that draws view (which outlives it); never null.
    virtual std::unique_ptr<Panel> hostBadge(const PanelSettings& settings, BadgeView& view) = 0;
};

}  // namespace lumivoke
