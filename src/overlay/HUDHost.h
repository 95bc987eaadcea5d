#pragma once

#include <memory>

#include "platform/Panels.h"

namespace lumivoke {

class HUDView;

/// How a port shows the HUD: it draws the view in an overlay panel of its own.
class HUDHost {
public:
    virtual ~HUDHost() = default;
    /// A new panel with these settings that draws view (which outlives it); never null.
    virtual std::unique_ptr<Panel> hostHUD(const PanelSettings& settings, HUDView& view) = 0;
};

}  // namespace lumivoke
