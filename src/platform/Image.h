#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "base/Geometry.h"

namespace lumivoke {

/// An image the platform hands out (an application icon): which picture it is and the size it
/// is drawn at. The picture itself stays with the platform.
struct Image {
    std::string name;
    Size size;

    friend bool operator==(const Image&, const Image&) = default;
};

}  // namespace lumivoke

template <>
struct std::hash<lumivoke::Image> {
    std::size_t operator()(const lumivoke::Image& image) const noexcept {
        std::size_t h = std::hash<std::string>{}(image.name);
        for (double v : {image.size.width, image.size.height}) {
            h ^= std::hash<double>{}(v) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
        }
        return h;
    }
};
