#pragma once

#include <memory>

#include "platform/Windows.h"

namespace lumivoke {

class SettingsView;

/// How a port shows the settings: it draws the view in an ordinary window of its own.
class SettingsWindowHost {
public:
    virtual ~SettingsWindowHost() = default;
    /// A new, not yet shown window with these settings that draws view (which outlives it);
    /// never null.
    virtual std::unique_ptr<Window> hostSettingsWindow(const WindowSettings& settings,
                                                       SettingsView& view) = 0;
};

}  // namespace lumivoke
