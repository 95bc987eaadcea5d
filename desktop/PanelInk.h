#pragma once

#include <cstdint>
#include <span>

// The colour to draw a monochrome tray icon in, so that it shows on the panel it sits on, light
// or dark. Colours are 0xRRGGBB. Needs no display.
namespace lumivoke::desktop {

/// The relative luminance of a colour, 0 (black) to 1 (white).
double luminance(std::uint32_t rgb);

/// The panel's colour from pixels around the icon: the one most of them have (ties: the
/// first), so that a stray pixel of a neighbour's icon does not count.
std::uint32_t panelColour(std::span<const std::uint32_t> samples);

/// Of two inks (a palette's text and window colours), the one that stands out more on panel.
std::uint32_t contrastingInk(std::uint32_t panel, std::uint32_t first, std::uint32_t second);

}  // namespace lumivoke::desktop
