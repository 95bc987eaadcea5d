#include "Controls.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>

namespace lumivoke::e2e {
namespace {

// How far from a frame's straight edge its side may start.
constexpr int kCornerRadius = 4;

struct Run {
    int x0;
    int x1;  // inclusive
    int y;
    std::uint32_t colour;
};

// The colour most of the image has.
std::uint32_t background(const Pixels& image) {
    std::map<std::uint32_t, int> counts;
    for (const auto pixel : image.data) {
        ++counts[pixel];
    }
    const auto most =
        std::max_element(counts.begin(), counts.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    return most == counts.end() ? 0 : most->first;
}

// Horizontal runs of one colour other than the background, at least minLength long, that differ
// from the colour just above or below them: edges.
std::vector<Run> horizontalRuns(const Pixels& image, const XRect& area, int minLength) {
    const std::uint32_t ground = background(image);
    std::vector<Run> runs;
    const int right = std::min(area.x + area.width, image.width);
    const int bottom = std::min(area.y + area.height, image.height);
    for (int y = std::max(area.y, 0); y < bottom; ++y) {
        int x = std::max(area.x, 0);
        while (x < right) {
            const std::uint32_t colour = image.at(x, y);
            int end = x;
            while (end + 1 < right && image.at(end + 1, y) == colour) {
                ++end;
            }
            const bool edge = (y > 0 && image.at(x, y - 1) != colour) ||
                              (y + 1 < image.height && image.at(x, y + 1) != colour);
            if (end - x + 1 >= minLength && edge && colour != ground) {
                runs.push_back(Run{x, end, y, colour});
            }
            x = end + 1;
        }
    }
    return runs;
}

bool columnIsMostly(const Pixels& image, int x, int y0, int y1, std::uint32_t colour) {
    if (y1 < y0) {
        return false;
    }
    int same = 0;
    for (int y = y0; y <= y1; ++y) {
        same += image.at(x, y) == colour ? 1 : 0;
    }
    return same * 4 >= (y1 - y0 + 1) * 3;
}

}  // namespace

std::vector<XRect> findFrames(const Pixels& image, const XRect& area, int minWidth, int maxWidth,
                              int minHeight, int maxHeight) {
    // A frame's corners may be rounded: its straight edge is a little shorter than the frame.
    const auto runs = horizontalRuns(image, area, std::max(3, minWidth - 2 * kCornerRadius));
    std::vector<XRect> frames;
    for (const Run& top : runs) {
        if (top.x1 - top.x0 + 1 > maxWidth) {
            continue;
        }
        for (const Run& bottom : runs) {
            const int height = bottom.y - top.y + 1;
            if (height < minHeight || height > maxHeight || bottom.colour != top.colour ||
                std::abs(bottom.x0 - top.x0) > 1 || std::abs(bottom.x1 - top.x1) > 1) {
                continue;
            }
            // The sides: a column of the same colour at most a few pixels outside the straight
            // edge, where rounded corners put it.
            std::optional<int> left;
            std::optional<int> right;
            for (int d = 0; d <= kCornerRadius && (!left || !right); ++d) {
                if (!left && top.x0 - d >= 0 &&
                    columnIsMostly(image, top.x0 - d, top.y + d + 1, bottom.y - d - 1,
                                   top.colour)) {
                    left = top.x0 - d;
                }
                if (!right && top.x1 + d < image.width &&
                    columnIsMostly(image, top.x1 + d, top.y + d + 1, bottom.y - d - 1,
                                   top.colour)) {
                    right = top.x1 + d;
                }
            }
            if (!left || !right) {
                continue;
            }
            const XRect frame{*left, top.y, *right - *left + 1, height};
            const bool inside = std::any_of(frames.begin(), frames.end(), [&](const XRect& f) {
                return f.contains(frame.centerX(), frame.centerY());
            });
            if (frame.width >= minWidth && !inside) {
                frames.push_back(frame);
            }
            break;
        }
    }
    std::sort(frames.begin(), frames.end(),
              [](const XRect& a, const XRect& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    return frames;
}

std::vector<XRect> findCheckBoxes(const Pixels& window) {
    // The check box column starts at the window's left margin.
    return findFrames(window, XRect{0, 0, 60, window.height}, 10, 22, 10, 22);
}

std::vector<XRect> findTabSegments(const Pixels& window) {
    return findFrames(window, XRect{0, 0, window.width, 80}, 60, 200, 14, 40);
}

int differingPixels(const Pixels& a, const Pixels& b) {
    if (a.width != b.width || a.height != b.height) {
        return std::max(a.width * a.height, b.width * b.height);
    }
    int n = 0;
    for (std::size_t i = 0; i < a.data.size(); ++i) {
        n += a.data[i] != b.data[i] ? 1 : 0;
    }
    return n;
}

std::vector<std::pair<int, int>> differingBands(const Pixels& a, const Pixels& b) {
    std::vector<std::pair<int, int>> bands;
    if (a.width != b.width || a.height != b.height) {
        return bands;
    }
    for (int y = 0; y < a.height; ++y) {
        bool differs = false;
        for (int x = 0; x < a.width && !differs; ++x) {
            differs = a.at(x, y) != b.at(x, y);
        }
        if (!differs) {
            continue;
        }
        if (!bands.empty() && bands.back().second == y - 1) {
            bands.back().second = y;
        } else {
            bands.emplace_back(y, y);
        }
    }
    return bands;
}

ColourCount countColour(const Pixels& picture, std::uint32_t colour) {
    ColourCount found;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (picture.at(x, y) == colour) {
                ++found.count;
                if (found.firstRow < 0) {
                    found.firstRow = y;
                }
            }
        }
    }
    return found;
}

}  // namespace lumivoke::e2e
