// The HUD under a compositing manager, which draws its translucency for real, and without one,
// where the window is cut to the capsule: either way nothing but the capsule shows.
#include "DesktopTest.h"

#include <chrono>
#include <sstream>
#include <vector>

namespace lumivoke::e2e {
namespace {

using Clock = std::chrono::steady_clock;

// The corners of the HUD's 240 × 200 window, well away from the capsule and its shadow.
constexpr std::pair<int, int> kCorners[] = {{0, 0}, {210, 0}, {0, 170}, {210, 170}};
constexpr int kCornerSize = 30;

class CompositedTest : public DesktopTest {
protected:
    /// Taps, waits for the HUD with code to be drawn, and watches it while it is up: the
    /// corner pixels of the screen that differed from before the tap in two pictures in a row
    /// (a compositor may be caught once in the middle of drawing), or "" when none did.
    std::string boxAroundTheCapsule(const std::string& code, const std::string& screenshot) {
        // Nothing of the program's where the HUD comes: the pointer rests over the root.
        x().movePointer(1250, 600);
        if (!eventually([&] { return !session().badgeShown(); })) {
            return "the badge stayed";
        }
        const XRect area = x().workArea();
        const XRect frame{area.centerX() - 120, area.centerY() - 100, 240, 200};
        // What is there once it has stopped changing (windows draw themselves again after a
        // compositor goes).
        const Pixels before = steadyPicture(frame);
        session().tapTrigger();
        std::optional<WindowInfo> hud;
        // A positive sign first: the capsule itself is drawn.
        if (!eventually([&] {
                hud = session().hud();
                return hud && hud->viewable && hud->name == code &&
                       x().grab(frame).at(120, 100) != before.at(120, 100);
            })) {
            return "no HUD with " + code + " was drawn;" + x().describeWindows();
        }
        if (hud->frame != frame) {
            std::ostringstream out;
            out << "the HUD is at " << hud->frame << ", not " << frame;
            return out.str();
        }
        std::ostringstream shown;
        std::vector<bool> differedBefore(static_cast<std::size_t>(frame.width * frame.height));
        bool shot = false;
        const auto until = Clock::now() + milliseconds(600);
        while (Clock::now() < until && session().hud()->viewable) {
            const Pixels now = x().grab(frame);
            for (const auto& [cx, cy] : kCorners) {
                for (int y = cy; y < cy + kCornerSize; ++y) {
                    for (int x = cx; x < cx + kCornerSize; ++x) {
                        const auto i = static_cast<std::size_t>(y * frame.width + x);
                        const bool differs = now.at(x, y) != before.at(x, y);
                        if (differs && differedBefore[i] && shown.tellp() < 200) {
                            shown << " (" << x << "," << y << ") #" << std::hex << before.at(x, y)
                                  << "→#" << now.at(x, y) << std::dec;
                        }
                        differedBefore[i] = differs;
                    }
                }
            }
            if (!shot) {
                session().screenshot(screenshot);
                shot = true;
            }
        }
        return shown.str();
    }

    bool hudGone() {
        return eventually([&] { return !session().hud()->viewable; }, milliseconds(3000));
    }
};

TEST_F(CompositedTest, OnlyTheCapsuleShowsWhenACompositorComesAndGoes) {
    // A first HUD with nobody compositing: the window is cut to the capsule.
    EXPECT_EQ(boxAroundTheCapsule("DE", "hud-uncomposited"), "");
    ASSERT_TRUE(hudGone());
    // Then under xcompmgr -c, which came after the window was made: clear around the capsule.
    ASSERT_TRUE(session().startCompositor());
    EXPECT_EQ(boxAroundTheCapsule("RU", "hud-composited"), "");
    ASSERT_TRUE(hudGone());
    // And when it ends, cut to the capsule again rather than drawn on black.
    session().stopCompositor();
    EXPECT_EQ(boxAroundTheCapsule("EN", "hud-uncomposited-again"), "");
}

}  // namespace
}  // namespace lumivoke::e2e
