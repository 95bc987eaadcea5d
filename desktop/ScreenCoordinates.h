#pragma once

#include "base/Geometry.h"

// X11 and Qt count from the top left of the virtual desktop, y downwards; the core counts from
// the bottom left of the primary display, y upwards. These flip between the two.
namespace lumivoke::desktop {

/// A rectangle in X11/Qt global coordinates: origin at the top left, y downwards.
struct TopLeftRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

/// The core's rectangle (origin bottom left of the primary display, y up) of r, given the
/// primary display's rectangle in the same top-left coordinates.
Rect toCoreRect(const TopLeftRect& r, const TopLeftRect& primary);
/// The core's point of a top-left point.
Point toCorePoint(double x, double y, const TopLeftRect& primary);
/// The top-left rectangle of a core rectangle; the inverse of toCoreRect.
TopLeftRect fromCoreRect(const Rect& r, const TopLeftRect& primary);

}  // namespace lumivoke::desktop
