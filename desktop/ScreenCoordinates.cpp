#include "ScreenCoordinates.h"

namespace lumivoke::desktop {

Rect toCoreRect(const TopLeftRect& r, const TopLeftRect& primary) {
    const double primaryBottom = primary.y + primary.height;
    return Rect{{r.x - primary.x, primaryBottom - (r.y + r.height)}, {r.width, r.height}};
}

Point toCorePoint(double x, double y, const TopLeftRect& primary) {
    return Point{x - primary.x, primary.y + primary.height - y};
}

TopLeftRect fromCoreRect(const Rect& r, const TopLeftRect& primary) {
    const double primaryBottom = primary.y + primary.height;
    return TopLeftRect{r.origin.x + primary.x, primaryBottom - (r.origin.y + r.size.height),
                       r.size.width, r.size.height};
}

}  // namespace lumivoke::desktop
