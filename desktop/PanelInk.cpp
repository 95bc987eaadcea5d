#include "PanelInk.h"

#include <algorithm>
#include <cmath>

namespace lumivoke::desktop {
namespace {

double linear(std::uint32_t channel) {
    const double c = static_cast<double>(channel) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

/// The contrast ratio of two colours, 1 (none) to 21 (black on white).
double contrast(std::uint32_t a, std::uint32_t b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

double luminance(std::uint32_t rgb) {
    return 0.2126 * linear((rgb >> 16) & 0xff) + 0.7152 * linear((rgb >> 8) & 0xff) +
           0.0722 * linear(rgb & 0xff);
}

std::uint32_t panelColour(std::span<const std::uint32_t> samples) {
    std::uint32_t best = samples.empty() ? 0 : samples.front();
    std::size_t bestCount = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        std::size_t count = 0;
        for (const auto sample : samples) {
            count += sample == samples[i] ? 1 : 0;
        }
        if (count > bestCount) {
            best = samples[i];
            bestCount = count;
        }
    }
    return best;
}

std::uint32_t contrastingInk(std::uint32_t panel, std::uint32_t first, std::uint32_t second) {
    return contrast(panel, second) > contrast(panel, first) ? second : first;
}

}  // namespace lumivoke::desktop
