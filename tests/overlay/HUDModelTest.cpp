#include <gtest/gtest.h>

#include <thread>

#include "SimPlatform.h"
#include "overlay/HUDModel.h"

namespace lumivoke {
namespace {

using std::chrono::milliseconds;

class HUDTest : public testing::Test {
protected:
    HUDTest() {
        machine.screens.add({{{0, 0}, {1440, 900}}, {{0, 80}, {1440, 795}}});
        machine.screens.add({{{1440, 0}, {1200, 800}}, {{1440, 0}, {1200, 800}}});
        machine.screens.setPointer({100, 100});
    }
    sim::SimPanel* panel() { return machine.panels.find("HUDPanel"); }
    std::optional<std::string> text() { return *hud.text; }

    sim::SimPlatform machine;
    HUDModel hud{machine.views, machine.screens, machine.loop};
};

TEST_F(HUDTest, PanelIsAFloatingOverlayOf240By200) {
    hud.show("EN");
    ASSERT_NE(panel(), nullptr);
    const auto& s = panel()->settings();
    EXPECT_EQ(s.contentRect, (Rect{{0, 0}, {240, 200}}));
    EXPECT_EQ(s.styleMask, 128u);
    EXPECT_EQ(s.backing, 2);
    EXPECT_FALSE(s.defer);
    EXPECT_FALSE(s.opaque);
    EXPECT_TRUE(s.clearBackground);
    EXPECT_FALSE(s.hasShadow);
    EXPECT_EQ(s.level, 25);
    EXPECT_FALSE(s.hidesOnDeactivate);
    EXPECT_TRUE(s.ignoresMouseEvents);
    EXPECT_EQ(s.collectionBehavior, 329u);
    EXPECT_EQ(s.animationBehavior, 2);
    EXPECT_FALSE(s.canBecomeKey);
    EXPECT_FALSE(s.canBecomeMain);
    EXPECT_EQ(s.hostingAutoresizingMask, 18u);
}

TEST_F(HUDTest, ASecondShowRestartsTheTimingAndTheFirstTaskChangesNothing) {
    hud.show("DE");
    machine.advance(milliseconds(300));
    hud.show("RU");
    EXPECT_EQ(hud.generation(), 2);
    machine.advance(milliseconds(499));  // 0.799 s: past the first show's fade and hide marks
    EXPECT_EQ(text(), "RU");
    EXPECT_TRUE(panel()->isVisible());
    machine.advance(milliseconds(1));
    EXPECT_EQ(text(), std::nullopt);
    machine.advance(milliseconds(300));
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(machine.panels.panels().size(), 1u) << "never a second panel";
}

TEST_F(HUDTest, ShowWhileShownChangesTheLettersInPlace) {
    std::vector<HUDView::Transition> transitions;
    hud.show("DE");
    Token t = hud.viewIfCreated()->state.subscribe(
        [&](const HUDView::State& s) { transitions.push_back(s.transition); });
    hud.show("RU");
    hud.show("RU");
    using T = HUDView::Transition;
    EXPECT_EQ(transitions, (std::vector<T>{T::inserted, T::changed, T::changed}));
    EXPECT_EQ(hud.viewIfCreated()->state->text, "RU");
}

struct PlacementCase {
    const char* name;
    Point pointer;
    Point origin;
};

class Placement : public HUDTest, public testing::WithParamInterface<PlacementCase> {};

TEST_P(Placement, CentresInTheVisibleFrameOfTheScreenUnderThePointer) {
    machine.screens.setPointer(GetParam().pointer);
    hud.show("EN");
    EXPECT_EQ(panel()->frame().origin, GetParam().origin);
}

INSTANTIATE_TEST_SUITE_P(Screens, Placement,
                         testing::Values(PlacementCase{"primary", {100, 100}, {600, 377.5}},
                                         PlacementCase{"secondary", {2000, 400}, {1920, 300}},
                                         // The maximum edge of a frame belongs to the next screen.
                                         PlacementCase{"sharedEdge", {1440, 10}, {1920, 300}},
                                         PlacementCase{
                                             "outsideEveryScreen", {-500, 5000}, {600, 377.5}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HUDTest, ADisplayedHUDJumpsToTheScreenNowUnderThePointer) {
    hud.show("EN");
    machine.screens.setPointer({2000, 400});
    hud.show("DE");
    EXPECT_EQ(panel()->frame().origin, (Point{1920, 300}));
}

TEST(HUDModelLifetime, PendingDismissalOfADestroyedModelDoesNothing) {
    sim::SimPlatform machine;
    auto hud = std::make_unique<HUDModel>(machine.views, machine.screens, machine.loop);
    hud->show("EN");
    hud.reset();
    machine.advance(std::chrono::seconds(1));  // ASan reports any touch of the dead model
    EXPECT_TRUE(machine.panels.panels().empty());
}

TEST(HUDModelDeathTest, ShowOffTheMainThreadIsAProgrammingError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            sim::SimPlatform machine;
            HUDModel hud(machine.views, machine.screens, machine.loop);
            std::thread([&] { hud.show("EN"); }).join();
        },
        "main thread");
}

}  // namespace
}  // namespace lumivoke
