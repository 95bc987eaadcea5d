#include "PanelInk.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumivoke::desktop {
namespace {

constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xffffff;

TEST(PanelInk, LuminanceRunsFromBlackToWhite) {
    EXPECT_DOUBLE_EQ(luminance(kBlack), 0.0);
    EXPECT_NEAR(luminance(kWhite), 1.0, 1e-9);
    // Green weighs most, blue least; mid grey is darker than half.
    EXPECT_GT(luminance(0x00ff00), luminance(0xff0000));
    EXPECT_GT(luminance(0xff0000), luminance(0x0000ff));
    EXPECT_LT(luminance(0x808080), 0.25);
}

TEST(PanelInk, APalettesTextOrWindowColourWhicheverShowsOnThePanel) {
    // Fusion's light palette: black text on a light grey window.
    constexpr std::uint32_t text = 0x000000, window = 0xefefef;
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {0xdcdad5, text},    // a light panel (trayer's own)
        {0xffffff, text},    //
        {0x1f1f1f, window},  // a dark panel
        {0x3c3c3c, window},  //
        {0x2a5db0, window},  // a mid blue panel: the light ink stands out more
        {0xf5c211, text},    // a yellow one: the dark ink
    };
    for (const auto& [panel, ink] : cases) {
        EXPECT_EQ(contrastingInk(panel, text, window), ink) << std::hex << panel;
        // A dark palette offers its inks the other way round; the choice is the same colour.
        EXPECT_EQ(contrastingInk(panel, window, text), ink) << std::hex << panel;
    }
}

TEST(PanelInk, ThePanelIsWhatMostPixelsAroundTheIconSay) {
    EXPECT_EQ(panelColour(std::vector<std::uint32_t>{0x202020, 0x202020, 0xff0000, 0x202020}),
              0x202020u);
    EXPECT_EQ(panelColour(std::vector<std::uint32_t>{0x101010, 0xeeeeee}), 0x101010u);
    EXPECT_EQ(panelColour(std::vector<std::uint32_t>{}), 0u);
}

}  // namespace
}  // namespace lumivoke::desktop
