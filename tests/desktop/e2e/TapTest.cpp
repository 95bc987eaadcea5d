// A tap of the trigger: the layout it selects, the HUD that confirms it, and the chords that
// must never switch.
#include "DesktopTest.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

namespace lumivoke::e2e {
namespace {

using Clock = std::chrono::steady_clock;

using TapTest = DesktopTest;

// The program keeps the layouts, the group and caps lock from what the server reports rather
// than asking before each switch: what another client changed must be what the next tap starts
// from.
TEST_F(TapTest, StartsFromWhatOthersChanged) {
    // Another client locks the third group and caps lock: the tap goes on to the first, and
    // caps lock stays.
    x().lockGroup(2);
    x().tap(x().keycode(XK_Caps_Lock));
    ASSERT_TRUE(eventually([&] { return (x().lockedModifiers() & LockMask) != 0; }));
    // The badge, over the terminal under the pointer, shows when the program has seen it.
    const auto badgeSays = [&](const char* code) {
        return eventually([&] {
            const auto badge = session().badge();
            return badge && badge->viewable && badge->name == code;
        });
    };
    ASSERT_TRUE(badgeSays("RU")) << x().describeWindows();
    EXPECT_FALSE(session().hud().has_value()) << "a HUD, though nobody asked for a switch";
    session().tapTrigger();
    EXPECT_TRUE(eventually([&] { return x().group() == 0; }))
        << "after a tap the group is " << x().group() << log().tail();
    EXPECT_TRUE(eventually([&] { return (x().lockedModifiers() & LockMask) != 0; }))
        << "caps lock went off with the switch";
    x().tap(x().keycode(XK_Caps_Lock));
    ASSERT_TRUE(eventually([&] { return (x().lockedModifiers() & LockMask) == 0; }));
    // New layouts: the tap cycles through them, and caps lock, now off, stays off.
    ASSERT_EQ(session().run({"setxkbmap", "-layout", "fr,us"}), 0);
    const int before = x().group();
    ASSERT_TRUE(badgeSays(before == 0 ? "FR" : "EN")) << x().describeWindows();
    session().tapTrigger();
    EXPECT_TRUE(session().switchedTo(1 - before, before == 0 ? "EN" : "FR")) << log().tail();
    EXPECT_EQ(x().lockedModifiers() & LockMask, 0u) << "caps lock came on with the switch";
}

TEST_F(TapTest, TheHudIsCentredInTheUsableAreaAndLeavesAfterAboutEightTenths) {
    const Window focusBefore = x().focus();
    const Window activeBefore = x().activeWindow();
    session().tapTrigger();
    const auto tapped = Clock::now();
    const auto hud = session().waitForHud("DE");
    ASSERT_TRUE(hud) << x().describeWindows();
    const auto shot = session().beginScreenshot("hud");

    // The pointer rests on the only screen; the tray's strut is not part of its usable area.
    const XRect area = x().workArea();
    EXPECT_EQ(hud->frame.width, 240);
    EXPECT_EQ(hud->frame.height, 200);
    EXPECT_NEAR(hud->frame.x + hud->frame.width / 2.0, area.x + area.width / 2.0, 1.0)
        << "HUD " << hud->frame << " in the area " << area;
    EXPECT_NEAR(hud->frame.y + hud->frame.height / 2.0, area.y + area.height / 2.0, 1.0)
        << "HUD " << hud->frame << " in the area " << area;
    EXPECT_TRUE(hud->overrideRedirect);
    EXPECT_EQ(hud->className, "Lumivoke");

    ASSERT_TRUE(eventually([&] { return !session().hud()->viewable; }, milliseconds(3000)))
        << "the HUD stayed";
    const auto shown = std::chrono::duration_cast<milliseconds>(Clock::now() - tapped);
    EXPECT_GE(shown.count(), 780) << "the HUD left too early";
    EXPECT_LE(shown.count(), 1500) << "the HUD left too late";
    EXPECT_EQ(x().focus(), focusBefore) << "the HUD took the focus";
    EXPECT_EQ(x().activeWindow(), activeBefore) << "the HUD changed the active window";
    shot->wait(milliseconds(10000));
}

TEST_F(TapTest, AClickWhereTheHudIsLandsInTheTerminal) {
    ASSERT_EQ(x().selectionOwner("PRIMARY"), 0u);
    session().tapTrigger();
    const auto hud = session().waitForHud();
    ASSERT_TRUE(hud) << x().describeWindows();
    // Pressing, dragging and releasing selects text: the terminal then owns the primary
    // selection. (A fast XTest double click, tried first, was now and then not taken as one
    // under load; a drag needs no timing.)
    const int px = hud->frame.centerX();
    const int py = hud->frame.centerY();
    x().movePointer(px, py);
    x().button(1, true);
    for (int dx = 8; dx <= 48; dx += 8) {
        x().movePointer(px + dx, py);
    }
    x().button(1, false);
    ASSERT_TRUE(session().hud()->viewable) << "the HUD left before the click; nothing proven";
    EXPECT_TRUE(eventually([&] {
        return x().isAncestor(session().terminal(), x().selectionOwner("PRIMARY"));
    })) << "the selection belongs to 0x"
        << std::hex << x().selectionOwner("PRIMARY");
    EXPECT_TRUE(x().isAncestor(session().terminal(), x().focus())) << "the focus left the xterm";
}

// A chord: what a person does with the trigger that is not a clean tap.
struct Chord {
    const char* name;
    std::function<void(Session&)> play;
    /// What else the chord must have done, or null.
    std::function<void(Session&)> check = nullptr;
};

// Names the chord in failure messages instead of its bytes.
void PrintTo(const Chord& chord, std::ostream* out) {
    *out << chord.name;
}

void holdTriggerWith(Session& s, KeySym other) {
    s.x().key(s.trigger(), true);
    s.x().key(s.x().keycode(other), true);
    s.x().key(s.x().keycode(other), false);
    s.x().key(s.trigger(), false);
}

const Chord kChords[] = {
    {"TriggerAndLeft", [](Session& s) { holdTriggerWith(s, XK_Left); }},
    {"TriggerThenShift", [](Session& s) { holdTriggerWith(s, XK_Shift_L); }},
    {"TriggerHeld500ms",
     [](Session& s) {
         const std::size_t mark = s.log().mark();
         s.x().key(s.trigger(), true);
         // The hold counts from when the program saw the key go down.
         ASSERT_FALSE(s.log().waitFor("Fn↓", mark).empty());
         std::this_thread::sleep_for(milliseconds(500));
         s.x().key(s.trigger(), false);
     }},
    // A shortcut such as Right Ctrl + C; with the Fn key as the trigger, Fn + a letter is
    // still a tap (TriggerKeyTest).
    {"ModifierTriggerAndLetter", [](Session& s) { holdTriggerWith(s, XK_c); },
     [](Session& s) {
         // A shortcut the terminal takes as Ctrl+C: its shell notes the interrupt. For the
         // program the C is no typing and no printable key.
         EXPECT_TRUE(eventually([&] { return std::filesystem::exists(s.home() / "interrupted"); }))
             << "the terminal got no Ctrl+C";
         EXPECT_FALSE(s.log().linesWith("dirty (Fn-combo during Fn-hold").empty())
             << s.log().tail();
     }},
};

class ChordTest : public DesktopTest, public ::testing::WithParamInterface<Chord> {};

TEST_P(ChordTest, NeverSwitches) {
    const std::size_t mark = log().mark();
    GetParam().play(session());
    if (HasFatalFailure()) {
        return;
    }
    // The program has decided once it logs the release; a switch would follow that line.
    const std::string release = log().waitFor("Fn↑", mark);
    ASSERT_FALSE(release.empty()) << "the program never saw the trigger" << log().tail(mark);
    EXPECT_NE(release.find("clean=false"), std::string::npos) << release;
    EXPECT_EQ(x().group(), 0);
    EXPECT_FALSE(session().hud().has_value()) << "a HUD exists" << x().describeWindows();
    EXPECT_TRUE(log().linesWith("select()", mark).empty()) << log().tail(mark);
    if (GetParam().check) {
        GetParam().check(session());
    }
}

INSTANTIATE_TEST_SUITE_P(Chords, ChordTest, ::testing::ValuesIn(kChords),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumivoke::e2e
