#pragma once

#include <QPoint>

#include <cstdint>
#include <optional>

#include "ScreenCoordinates.h"
#include "X11PointerActivity.h"
#include "platform/Screens.h"

namespace lumivoke::desktop {

/// Qt's screens and pointer in the core's coordinates (origin at the bottom left of the primary
/// display, y up). The visible frame leaves out panels and docks the window manager reserves.
///
/// Reading the pointer is a round trip to the server; while pointer activity is watched, a
/// position read stays good until the next motion is reported, so a pointer at rest is read
/// once and not on every display refresh.
class QtScreens final : public Screens {
public:
    explicit QtScreens(const X11PointerActivity& activity) : activity_(activity) {}

    std::vector<Screen> screens() override;
    std::optional<Screen> mainScreen() override;
    Point mouseLocation() override;

    /// The primary display in Qt's top-left coordinates.
    static TopLeftRect primaryRect();
    static TopLeftRect topLeft(const QRect& r);

private:
    QPoint pointer();

    const X11PointerActivity& activity_;
    QPoint pointer_;
    // The count of pointer activity at which pointer_ was read, or none.
    std::optional<std::uint64_t> pointerAt_;
};

}  // namespace lumivoke::desktop
