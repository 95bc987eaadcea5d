#pragma once

#include <vector>

#include "XClient.h"

// Finding a window's controls the way a person does: by their look. Qt draws its widgets into
// one X window, so the server knows nothing of them; a framed control (a check box, a button)
// shows as a rectangle whose top and bottom edges are straight lines of one colour.
namespace lumivoke::e2e {

/// The framed rectangles inside area of an image: width and height in the given ranges, in
/// image coordinates, top to bottom and then left to right.
std::vector<XRect> findFrames(const Pixels& image, const XRect& area, int minWidth, int maxWidth,
                              int minHeight, int maxHeight);

/// The check boxes of a settings window image: small square frames near its left edge.
std::vector<XRect> findCheckBoxes(const Pixels& window);

/// The segments of a settings window's tab row: the wide frames side by side near its top.
std::vector<XRect> findTabSegments(const Pixels& window);

/// Pixels of one exact colour in a picture, and the first row that has one.
struct ColourCount {
    int count = 0;
    int firstRow = -1;
};
ColourCount countColour(const Pixels& picture, std::uint32_t colour);

/// Whether two images differ, ignoring nothing.
int differingPixels(const Pixels& a, const Pixels& b);

/// The rows of an image pair that differ, as bands [first, last] of consecutive rows.
std::vector<std::pair<int, int>> differingBands(const Pixels& a, const Pixels& b);

}  // namespace lumivoke::e2e
