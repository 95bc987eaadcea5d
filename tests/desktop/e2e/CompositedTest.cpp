// The HUD under a compositing manager, which draws its translucency for real, and without one,
// where the window is cut to the capsule: either way nothing but the capsule shows.
#include "DesktopTest.h"

#include <chrono>
#include <sstream>

namespace lumivoke::e2e {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

class CompositedTest : public DesktopTest {
protected:
    /// Taps and watches the HUD while it is up, comparing its window's corners (well away
    /// from the capsule and its shadow) with what was there before; the corner pixels that
    /// changed at any moment, or none.
    std::string boxAroundTheCapsule(const std::string& code, const std::string& screenshot) {
        // Nothing of the program's where the HUD comes: the pointer rests over the root window.
        x().movePointer(1250, 600);
        const XRect area = x().workArea();
        const XRect frame{area.centerX() - 120, area.centerY() - 100, 240, 200};
        const Pixels before = x().grab(frame);
        session().tapTrigger();
        std::optional<WindowInfo> hud;
        // A positive sign first: the capsule itself is drawn.
        const bool drawn = eventually([&] {
            hud = session().hud();
            return hud && hud->viewable && hud->name == code &&
                   x().grab(frame).at(120, 100) != before.at(120, 100);
        });
        if (!drawn) {
            return "no HUD with " + code + " was drawn";
        }
        if (hud->frame != frame) {
            std::ostringstream out;
            out << "the HUD is at " << hud->frame << ", not " << frame;
            return out.str();
        }
        std::ostringstream changed;
        bool shot = false;
        const auto until = Clock::now() + milliseconds(600);
        while (Clock::now() < until && session().hud()->viewable) {
            const Pixels now = x().grab(frame);
            for (const auto& [cx, cy] : {std::pair{0, 0}, {210, 0}, {0, 170}, {210, 170}}) {
                for (int y = cy; y < cy + 30; ++y) {
                    for (int x = cx; x < cx + 30; ++x) {
                        if (now.at(x, y) != before.at(x, y) && changed.tellp() < 200) {
                            changed << " (" << x << "," << y << ") #" << std::hex << before.at(x, y)
                                    << "→#" << now.at(x, y) << std::dec;
                        }
                    }
                }
            }
            if (!shot) {
                session().screenshot(screenshot);
                shot = true;
            }
        }
        return changed.str();
    }
};

TEST_F(CompositedTest, OnlyTheCapsuleShowsWhenACompositorComesAndGoes) {
    // A first HUD with nobody compositing: the window is cut to the capsule.
    EXPECT_EQ(boxAroundTheCapsule("DE", "hud-uncomposited"), "");
    ASSERT_TRUE(eventually([&] { return !session().hud()->viewable; }, milliseconds(3000)));
    // Where the HUD comes as it looks now, so that a change of compositing is over once it
    // looks so again (elsewhere the compositor adds shadows of its own).
    const XRect area = x().workArea();
    const XRect frame{area.centerX() - 120, area.centerY() - 100, 240, 200};
    const Pixels plain = x().grab(frame);
    const auto settled = [&] { return eventually([&] { return x().grab(frame) == plain; }); };

    // Then under xcompmgr -c: its translucency is real, with nothing around the capsule.
    ASSERT_TRUE(session().startCompositor());
    ASSERT_TRUE(settled()) << "the compositor did not draw the screen as it was";
    EXPECT_EQ(boxAroundTheCapsule("RU", "hud-composited"), "");
    ASSERT_TRUE(eventually([&] { return !session().hud()->viewable; }, milliseconds(3000)));

    // And when it ends, cut to the capsule again rather than drawn on black.
    session().stopCompositor();
    ASSERT_TRUE(settled()) << "the windows did not draw themselves again";
    EXPECT_EQ(boxAroundTheCapsule("EN", "hud-uncomposited-again"), "");
}

}  // namespace
}  // namespace lumivoke::e2e
