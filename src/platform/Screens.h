#pragma once

#include <optional>
#include <vector>

#include "base/Geometry.h"

namespace lumivoke {

/// One display: its whole frame and the part not taken by the menu bar and the Dock.
struct Screen {
    Rect frame;
    Rect visibleFrame;
};

/// The displays and the pointer.
class Screens {
public:
    virtual ~Screens() = default;
    /// All displays in system order; the first holds the menu bar.
    virtual std::vector<Screen> screens() = 0;
    /// The display with the keyboard focus, if any.
    virtual std::optional<Screen> mainScreen() = 0;
    /// The pointer position in global screen coordinates.
    virtual Point mouseLocation() = 0;
};

}  // namespace lumivoke
