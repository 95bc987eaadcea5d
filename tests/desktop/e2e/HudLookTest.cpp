// The HUD in the desktop's appearance: a light capsule with dark letters on a light desktop, a
// dark one with light letters on a dark desktop.
#include "DesktopTest.h"

#include <cmath>

namespace lumivoke::e2e {
namespace {

double luminance(std::uint32_t rgb) {
    return (0.2126 * ((rgb >> 16) & 0xff) + 0.7152 * ((rgb >> 8) & 0xff) + 0.0722 * (rgb & 0xff)) /
           255.0;
}

struct Look {
    const char* name;
    /// The program's environment: Qt's GTK theme with a dark GTK theme, or Qt's own palette.
    std::map<std::string, std::string> environment;
    bool light;
};

void PrintTo(const Look& look, std::ostream* out) {
    *out << look.name;
}

class HudLookTest : public DesktopTest, public ::testing::WithParamInterface<Look> {
protected:
    SessionOptions sessionOptions() const override {
        SessionOptions options;
        options.environment.assign(GetParam().environment.begin(), GetParam().environment.end());
        return options;
    }
};

TEST_P(HudLookTest, TheCapsuleFollowsThePalette) {
    const Look look = GetParam();
    // Nothing of the program's where the HUD comes: the pointer rests over the root.
    x().movePointer(1250, 600);
    session().tapTrigger();
    const auto hud = session().waitForHud("DE");
    ASSERT_TRUE(hud) << x().describeWindows();
    const XRect frame = hud->frame;
    // Inside the capsule, left of the letters: the material; the darkest and the lightest pixel
    // of the middle row: the letters against it.
    double material = 0;
    double darkest = 1;
    double lightest = 0;
    ASSERT_TRUE(eventually([&] {
        const Pixels pixels = x().grab(frame);
        material = luminance(pixels.at(frame.width / 2 - 58, frame.height / 2));
        darkest = 1;
        lightest = 0;
        for (int x = frame.width / 2 - 40; x < frame.width / 2 + 40; ++x) {
            const double l = luminance(pixels.at(x, frame.height / 2));
            darkest = std::min(darkest, l);
            lightest = std::max(lightest, l);
        }
        return lightest - darkest > 0.5;
    })) << "no letters on the capsule: "
        << darkest << " to " << lightest;
    session().screenshot(std::string("hud-") + look.name);
    if (look.light) {
        EXPECT_GT(material, 0.75) << "the capsule is not light";
        EXPECT_LT(darkest, 0.25) << "the letters are not dark";
    } else {
        EXPECT_LT(material, 0.25) << "the capsule is not dark";
        EXPECT_GT(lightest, 0.75) << "the letters are not light";
    }
}

INSTANTIATE_TEST_SUITE_P(, HudLookTest,
                         ::testing::Values(Look{"light", {}, true},
                                           Look{"dark",
                                                {{"QT_QPA_PLATFORMTHEME", "gtk3"},
                                                 {"GTK_THEME", "Adwaita:dark"}},
                                                false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumivoke::e2e
