// The tray icon on the panel it sits on: it must show on a light panel and on a dark one.
#include "DesktopTest.h"

#include <cmath>
#include <sstream>

namespace lumivoke::e2e {
namespace {

double luminance(std::uint32_t rgb) {
    const auto linear = [](std::uint32_t channel) {
        const double c = static_cast<double>(channel) / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear((rgb >> 16) & 0xff) + 0.7152 * linear((rgb >> 8) & 0xff) +
           0.0722 * linear(rgb & 0xff);
}

double contrast(std::uint32_t a, std::uint32_t b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

/// How the icon stands out from the panel around it.
struct Standing {
    std::uint32_t panel = 0;
    /// Pixels that stand out clearly (a contrast of 3 or more, as for large text).
    int clearPixels = 0;
    double strongest = 1;
};

std::ostream& operator<<(std::ostream& out, const Standing& s) {
    return out << "panel #" << std::hex << s.panel << std::dec << ", " << s.clearPixels
               << " clear pixels, strongest contrast " << s.strongest;
}

class TrayIconTest : public DesktopTest {
protected:
    Standing standing() {
        Standing s;
        const auto icon = session().trayIcon();
        if (!icon) {
            return s;
        }
        const Pixels pixels = x().grab(icon->frame);
        if (pixels.data.empty()) {
            return s;
        }
        s.panel = pixels.at(0, 0);
        for (const auto pixel : pixels.data) {
            const double c = contrast(pixel, s.panel);
            s.clearPixels += c >= 3 ? 1 : 0;
            s.strongest = std::max(s.strongest, c);
        }
        return s;
    }

    /// Waits for the globe to stand out on the panel; whether it did.
    bool standsOut(Standing& seen) {
        return eventually([&] {
            seen = standing();
            // A 22-pixel globe has well over 40 pixels of its lines; their ink at least 7:1.
            return seen.clearPixels >= 40 && seen.strongest >= 7;
        });
    }
};

TEST_F(TrayIconTest, TheGlobeShowsOnALightPanelAndOnADarkOne) {
    // trayer's own light grey, then a dark panel that takes the icon in afresh.
    Standing seen;
    ASSERT_GT(luminance(standing().panel), 0.5) << "the panel is not light: " << standing();
    EXPECT_TRUE(standsOut(seen)) << "on the light panel: " << seen;
    session().screenshot("tray-icon-light");

    session().stopTrayHost();
    ASSERT_TRUE(session().startTrayHost(0x202020));
    ASSERT_TRUE(eventually([&] { return session().trayIcon().has_value(); }))
        << "the icon did not come back" << x().describeWindows();
    ASSERT_TRUE(eventually([&] { return luminance(standing().panel) < 0.1; }))
        << "the panel is not dark: " << standing();
    EXPECT_TRUE(standsOut(seen)) << "on the dark panel: " << seen;
    session().screenshot("tray-icon-dark");
}

}  // namespace
}  // namespace lumivoke::e2e
