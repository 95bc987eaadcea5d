#pragma once

#include "ScreenCoordinates.h"
#include "platform/Screens.h"

class QRect;

namespace lumivoke::desktop {

/// Qt's screens and pointer in the core's coordinates (origin at the bottom left of the primary
/// display, y up). The visible frame leaves out panels and docks the window manager reserves.
class QtScreens final : public Screens {
public:
    std::vector<Screen> screens() override;
    std::optional<Screen> mainScreen() override;
    Point mouseLocation() override;

    /// The primary display in Qt's top-left coordinates.
    static TopLeftRect primaryRect();
    static TopLeftRect topLeft(const QRect& r);
};

}  // namespace lumivoke::desktop
