#pragma once

namespace lumivoke {

/// Geometry in the system's global screen coordinates: origin at the bottom left of the
/// primary display, y upwards, in points.
struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    Point origin;
    Size size;

    double minX() const { return origin.x; }
    double minY() const { return origin.y; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    double midX() const { return origin.x + size.width * 0.5; }
    double midY() const { return origin.y + size.height * 0.5; }

    /// Whether p lies inside: the minimum edges belong to the rectangle, the maximum edges
    /// do not, and an empty rectangle contains nothing.
    bool contains(Point p) const {
        return size.width > 0 && size.height > 0 && p.x >= minX() && p.x < maxX() &&
               p.y >= minY() && p.y < maxY();
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace lumivoke
