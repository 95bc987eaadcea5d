#include <gtest/gtest.h>

#include "SimPlatform.h"
#include "TraceSearch.h"
#include "badge/BadgeModel.h"

namespace lumivoke {
namespace {

class BadgeModelTest : public testing::Test {
protected:
    BadgeModelTest() {
        machine.screens.add({{{0, 0}, {1920, 1080}}, {{0, 0}, {1920, 1055}}});
        // A second display to the right, with its visible frame inset by a Dock at the bottom.
        machine.screens.add({{{1920, 0}, {1280, 800}}, {{1920, 60}, {1280, 740}}});
    }
    Rect frame() { return model.panelIfCreated()->frame(); }

    sim::SimPlatform machine;
    BadgeModel model{machine.views, machine.screens, machine.textMeasurement, machine.loop};
};

struct SizeCase {
    const char* text;
    double advance;
    double width;
};

class BadgeSizing : public BadgeModelTest, public testing::WithParamInterface<SizeCase> {};

TEST_P(BadgeSizing, WidthIsTheCeilingOfTheTextPlusFourteenAndHeightEighteen) {
    machine.textMeasurement.advancePerCharacter = GetParam().advance;
    model.show(GetParam().text, {100, 100});
    EXPECT_EQ(frame().size, (Size{GetParam().width, 18}));
}

INSTANTIATE_TEST_SUITE_P(Texts, BadgeSizing,
                         testing::Values(SizeCase{"EN", 6, 26}, SizeCase{"", 6, 14},
                                         SizeCase{"EN", 6.3, 27},  // ceil(12.6) + 14
                                         SizeCase{"??", 6.01, 27},
                                         SizeCase{"ÄÖ", 6, 26}));  // characters, not bytes

TEST_F(BadgeModelTest, TheFontIsMadeOnceForEveryMeasurement) {
    model.show("EN", {100, 100});
    model.setText("DE");
    model.show("RU", {100, 100});
    EXPECT_EQ(machine.textMeasurement.fontsCreated, 1);
    EXPECT_EQ(machine.textMeasurement.measurements, 3);
}

struct PlaceCase {
    const char* name;
    Point pointer;
    Point origin;
};

class BadgePlacement : public BadgeModelTest, public testing::WithParamInterface<PlaceCase> {};

TEST_P(BadgePlacement, SitsRightOfAndAboveThePointerInsideTheVisibleFrame) {
    model.show("EN", GetParam().pointer);  // 26 x 18
    EXPECT_EQ(frame().origin, GetParam().origin) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Clamping, BadgePlacement,
    testing::Values(PlaceCase{"free", {960, 540}, {968, 548}},
                    PlaceCase{"3 points from the right edge", {1917, 540}, {1894, 548}},
                    PlaceCase{"3 points below the top edge", {960, 1052}, {968, 1037}},
                    PlaceCase{"in the menu bar", {960, 1070}, {968, 1037}},
                    PlaceCase{"top right corner", {1915, 1054}, {1894, 1037}},
                    PlaceCase{"second screen, over its Dock", {2000, 20}, {2008, 60}},
                    PlaceCase{"second screen, right edge", {3199, 400}, {3174, 408}},
                    PlaceCase{"outside every screen", {-100, 2000}, {-92, 2008}},
                    PlaceCase{"below the second screen", {2500, -50}, {2508, -42}}));

TEST_F(BadgeModelTest, ABadgeWiderThanTheVisibleFrameKeepsItsLeftEdgeOnIt) {
    machine.screens.clear();
    machine.screens.add({{{0, 0}, {20, 10}}, {{0, 0}, {20, 10}}});
    model.show("EN", {15, 5});
    EXPECT_EQ(frame().origin, (Point{0, 0}));
}

TEST_F(BadgeModelTest, NoScreensMeansNoClamping) {
    machine.screens.clear();
    model.show("EN", {5000, 5000});
    EXPECT_EQ(frame().origin, (Point{5008, 5008}));
}

TEST_F(BadgeModelTest, ShowingTheSameTextTwiceResizesOnceAndOrdersFrontOnce) {
    model.show("EN", {100, 100});
    model.show("EN", {200, 200});
    EXPECT_EQ(countTraced(machine.trace, "BadgePanel: size"), 1u);
    EXPECT_EQ(countTraced(machine.trace, "BadgePanel: origin"), 2u);
    EXPECT_EQ(countTraced(machine.trace, "BadgePanel: order-front"), 1u);
    EXPECT_TRUE(model.isVisible());
    EXPECT_EQ(frame().origin, (Point{208, 208}));

    model.show("RUS", {200, 200});
    EXPECT_EQ(frame().size, (Size{32, 18}));
    EXPECT_EQ(countTraced(machine.trace, "BadgePanel: order-front"), 1u);
}

TEST_F(BadgeModelTest, HidingWhileHiddenDoesNothingAndMakesNoPanel) {
    model.hide();
    EXPECT_EQ(model.panelIfCreated(), nullptr);
    EXPECT_TRUE(machine.trace.lines().empty());

    model.show("EN", {100, 100});
    model.hide();
    model.hide();
    EXPECT_EQ(countTraced(machine.trace, "BadgePanel: order-out"), 1u);
    EXPECT_FALSE(model.isVisible());
    // Hidden, not destroyed: the next show reuses the panel.
    model.show("EN", {100, 100});
    EXPECT_EQ(countTraced(machine.trace, "BadgePanel: created"), 1u);
    EXPECT_EQ(countTraced(machine.trace, "BadgePanel: order-front"), 2u);
}

TEST_F(BadgeModelTest, TheViewFollowsTheText) {
    model.show("EN", {100, 100});
    ASSERT_NE(model.viewIfCreated(), nullptr);
    EXPECT_EQ(*model.viewIfCreated()->text, "EN");
    model.setText("DE");
    EXPECT_EQ(*model.viewIfCreated()->text, "DE");
    EXPECT_EQ(frame().origin, (Point{108, 108}));
}

TEST_F(BadgeModelTest, ThePanelIsAClickThroughFloatingPanel) {
    model.show("EN", {100, 100});
    const auto& s = machine.panels.find("BadgePanel")->settings();
    EXPECT_EQ(s.contentRect, (Rect{{0, 0}, {32, 18}}));
    EXPECT_TRUE(s.ignoresMouseEvents);
    EXPECT_FALSE(s.canBecomeKey);
    EXPECT_EQ(s.level, 25);
}

}  // namespace
}  // namespace lumivoke
