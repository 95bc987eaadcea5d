// A short soak: many switches and badge appearances must leave the program holding no more
// memory than after the first few. (The long run is bench/desktop/run.sh --soak-switches 10000
// --soak-badges 10000.)
#include "DesktopTest.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

namespace lumivoke::e2e {
namespace {

/// What the program alone has written to memory (kB): heap, stacks, written data. Unlike the
/// resident or unique size it does not change when another process maps the same libraries.
long privateDirtyKb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string key;
        long kb = 0;
        if (fields >> key >> kb && key == "Private_Dirty:") {
            return kb;
        }
    }
    return -1;
}

class SoakTest : public DesktopTest {
protected:
    /// Taps the trigger count times, each until the group has moved on; how many did.
    int switchTimes(int count) {
        int switched = 0;
        for (int i = 0; i < count; ++i) {
            const int before = x().group();
            session().tapTrigger();
            if (eventually([&] { return x().group() == (before + 1) % 3; }, milliseconds(1000))) {
                ++switched;
            }
        }
        return switched;
    }

    /// Moves the pointer off the text and back count times, each until the badge shows again;
    /// how many times it did.
    int showBadgeTimes(int count) {
        const XRect text = x().geometry(session().terminal());
        const XRect screen = x().screen();
        int shown = 0;
        for (int i = 0; i < count; ++i) {
            x().movePointer(screen.width - 5, screen.height - 5);
            eventually([&] { return !session().badgeShown(); });
            x().movePointer(text.centerX() + i % 40, text.centerY() + i % 17);
            if (eventually([&] { return session().badgeShown(); })) {
                ++shown;
            }
        }
        return shown;
    }
};

TEST_F(SoakTest, ManySwitchesAndBadgesLeaveMemoryFlat) {
    const pid_t pid = session().lumivoke()->pid();
    // Warm up: the HUD, the badge, fonts and caches are made on first use.
    ASSERT_EQ(switchTimes(30), 30);
    ASSERT_EQ(showBadgeTimes(30), 30);
    const long warm = privateDirtyKb(pid);
    ASSERT_GT(warm, 0);

    ASSERT_EQ(switchTimes(300), 300);
    ASSERT_EQ(showBadgeTimes(200), 200);
    const long after = privateDirtyKb(pid);
    // Allocators keep some slack and pages are touched in whole pages: 512 kB is far below
    // what a leak of a few hundred bytes per switch or badge would add.
    EXPECT_LT(after - warm, 512) << "private dirty memory grew from " << warm << " kB to " << after
                                 << " kB";
    EXPECT_TRUE(session().lumivoke()->running());
}

}  // namespace
}  // namespace lumivoke::e2e
