#include "ScreenCoordinates.h"

#include <gtest/gtest.h>

namespace lumivoke::desktop {
namespace {

// A primary display of 1280×800 at the origin and a second one to its right, lower by 100.
const TopLeftRect kPrimary{0, 0, 1280, 800};

TEST(CoordinateFlip, RectsCountFromTheBottomOfThePrimaryDisplay) {
    EXPECT_EQ(toCoreRect({0, 0, 1280, 800}, kPrimary), (Rect{{0, 0}, {1280, 800}}));
    // A 240×200 panel at the top left of the primary display.
    EXPECT_EQ(toCoreRect({0, 0, 240, 200}, kPrimary), (Rect{{0, 600}, {240, 200}}));
    // A display to the right reaching below the primary one has a negative y.
    EXPECT_EQ(toCoreRect({1280, 100, 1920, 1080}, kPrimary), (Rect{{1280, -380}, {1920, 1080}}));
    // A primary display that is not at the top left of the virtual desktop.
    const TopLeftRect shifted{1920, 200, 1280, 800};
    EXPECT_EQ(toCoreRect({1920, 200, 1280, 800}, shifted), (Rect{{0, 0}, {1280, 800}}));
}

TEST(CoordinateFlip, RectsAndPointsRoundTrip) {
    const Rect core{{100.5, 37}, {240, 200}};
    const auto back = fromCoreRect(core, kPrimary);
    EXPECT_DOUBLE_EQ(back.x, 100.5);
    EXPECT_DOUBLE_EQ(back.y, 800 - 37 - 200);
    EXPECT_EQ(toCoreRect(back, kPrimary), core);
    EXPECT_EQ(toCorePoint(0, 0, kPrimary), (Point{0, 800}));
    EXPECT_EQ(toCorePoint(640, 799, kPrimary), (Point{640, 1}));
}

}  // namespace
}  // namespace lumivoke::desktop
