#include <gtest/gtest.h>

#include "SimPlatform.h"
#include "TraceSearch.h"
#include "badge/BadgePresenter.h"
#include "sources/SourcesFixture.h"

namespace lumivoke {
namespace {

using sim::SimCursorServer;
using std::chrono::microseconds;
using testing_support::keyboardSource;

class BadgePresenterTest : public testing::Test {
protected:
    BadgePresenterTest() {
        machine.screens.add({{{0, 0}, {1920, 1080}}, {{0, 0}, {1920, 1055}}});
        machine.screens.setPointer({500, 500});
        machine.inputSources.define(keyboardSource("com.apple.keylayout.ABC", "ABC", {"en"}));
        machine.inputSources.define(
            keyboardSource("com.apple.keylayout.Russian", "Russian", {"ru"}));
        machine.inputSources.define(keyboardSource("x.NoLanguages", "Bare", {}));
        machine.inputSources.setCurrent("com.apple.keylayout.ABC");
        switcher = std::make_unique<LanguageSwitcher>(machine.inputSources, machine.keyboard,
                                                      machine.logSink);
        presenter = std::make_unique<BadgePresenter>(*switcher, machine.platform(), machine.views);
        machine.settle();
    }
    void refresh() { machine.advance(microseconds(16667)); }
    void moveTo(Point p) {
        machine.screens.setPointer(p);
        refresh();
    }
    void select(const std::string& id) {
        for (const auto& s : *switcher->sources) {
            if (s.id == id) {
                switcher->currentSource.set(s);
            }
        }
    }
    BadgeModel& model() { return presenter->model(); }
    Rect frame() { return model().panelIfCreated()->frame(); }

    sim::SimPlatform machine;
    std::unique_ptr<LanguageSwitcher> switcher;
    std::unique_ptr<BadgePresenter> presenter;
};

TEST_F(BadgePresenterTest, ConstructionLeavesTheMonitorStopped) {
    EXPECT_FALSE(presenter->isEnabled());
    EXPECT_FALSE(presenter->cursorMonitor().isRunning());
    EXPECT_EQ(machine.displayLinks.created(), 0);
}

TEST_F(BadgePresenterTest, EnablingOverTextShowsTheCodeOnTheFirstRefresh) {
    machine.cursor.setCurrent(SimCursorServer::iBeam);
    presenter->setEnabled(true);
    EXPECT_FALSE(model().isVisible());
    refresh();
    EXPECT_TRUE(model().isVisible());
    EXPECT_EQ(*model().text, "EN");
    EXPECT_EQ(frame(), (Rect{{508, 508}, {26, 18}}));
    // Enabling again changes nothing.
    presenter->setEnabled(true);
    EXPECT_EQ(machine.displayLinks.created(), 1);
}

TEST_F(BadgePresenterTest, TypingHidesOnceUntilThePointerMovesAgain) {
    machine.cursor.setCurrent(SimCursorServer::iBeam);
    presenter->setEnabled(true);
    refresh();
    presenter->userDidType();
    EXPECT_FALSE(model().isVisible());
    EXPECT_TRUE(presenter->isUserTyping());
    presenter->userDidType();
    presenter->userDidType();
    EXPECT_EQ(countTraced(machine.trace, "BadgePanel: order-out"), 1u);

    moveTo({501, 500});  // too small a move: still hidden
    EXPECT_FALSE(model().isVisible());
    moveTo({501.5, 500});
    EXPECT_TRUE(model().isVisible());
    EXPECT_FALSE(presenter->isUserTyping());
    EXPECT_EQ(frame().origin, (Point{509.5, 508}));
}

TEST_F(BadgePresenterTest, ComingBackToTextEndsTypingSuppression) {
    machine.cursor.setCurrent(SimCursorServer::iBeam);
    presenter->setEnabled(true);
    refresh();
    presenter->userDidType();
    machine.cursor.setCurrent(SimCursorServer::arrow);
    refresh();
    machine.cursor.setCurrent(SimCursorServer::iBeam);
    refresh();
    EXPECT_TRUE(model().isVisible());
}

TEST_F(BadgePresenterTest, TypingWhileDisabledDoesNothing) {
    presenter->userDidType();
    EXPECT_FALSE(presenter->isUserTyping());
    EXPECT_EQ(model().panelIfCreated(), nullptr);
}

TEST_F(BadgePresenterTest, ASourceChangeWhileShownResizesInPlaceOnTheNextTurn) {
    machine.cursor.setCurrent(SimCursorServer::iBeam);
    presenter->setEnabled(true);
    refresh();
    const std::size_t origins = countTraced(machine.trace, "BadgePanel: origin");

    select("com.apple.keylayout.Russian");
    EXPECT_EQ(*model().text, "EN");  // never inside the assignment
    machine.settle();
    EXPECT_EQ(*model().text, "RU");
    EXPECT_EQ(countTraced(machine.trace, "BadgePanel: origin"), origins);
    EXPECT_EQ(frame().origin, (Point{508, 508}));

    machine.textMeasurement.advancePerCharacter = 7;
    select("x.NoLanguages");
    machine.settle();
    EXPECT_EQ(*model().text, "??");
    EXPECT_EQ(frame().size, (Size{28, 18}));
    EXPECT_EQ(frame().origin, (Point{508, 508}));
}

TEST_F(BadgePresenterTest, ASourceChangeWhileHiddenOrSuppressedWaitsForTheNextShow) {
    machine.cursor.setCurrent(SimCursorServer::iBeam);
    presenter->setEnabled(true);
    refresh();
    presenter->userDidType();
    const std::size_t lines = machine.trace.lines().size();
    select("com.apple.keylayout.Russian");
    machine.settle();
    EXPECT_EQ(machine.trace.lines().size(), lines);
    EXPECT_EQ(*model().text, "EN");

    moveTo({520, 500});
    EXPECT_EQ(*model().text, "RU");
    EXPECT_TRUE(model().isVisible());
}

TEST_F(BadgePresenterTest, NoCurrentSourceShowsAnEmptyCapsule) {
    switcher->currentSource.set(std::nullopt);
    machine.cursor.setCurrent(SimCursorServer::iBeam);
    presenter->setEnabled(true);
    refresh();
    EXPECT_TRUE(model().isVisible());
    EXPECT_EQ(*model().text, "");
    EXPECT_EQ(frame().size, (Size{14, 18}));
}

TEST_F(BadgePresenterTest, DisablingWhileShownHidesAndStopsTheTicks) {
    machine.cursor.setCurrent(SimCursorServer::iBeam);
    presenter->setEnabled(true);
    refresh();
    presenter->setEnabled(false);
    EXPECT_FALSE(model().isVisible());
    EXPECT_EQ(machine.displayLinks.running(), 0);
    const int calls = machine.cursor.seedCalls;
    moveTo({700, 700});
    EXPECT_EQ(machine.cursor.seedCalls, calls);
    EXPECT_FALSE(model().isVisible());
}

TEST_F(BadgePresenterTest, LeavingTextHidesTheBadge) {
    machine.cursor.setCurrent(SimCursorServer::iBeam);
    presenter->setEnabled(true);
    refresh();
    machine.cursor.setCurrent(std::nullopt);
    refresh();
    EXPECT_FALSE(model().isVisible());
}

TEST_F(BadgePresenterTest, DestroyingThePresenterStopsTheMonitorAndItsCallbacks) {
    presenter->setEnabled(true);
    presenter.reset();
    EXPECT_EQ(machine.displayLinks.running(), 0);
    select("com.apple.keylayout.Russian");
    machine.cursor.setCurrent(SimCursorServer::iBeam);
    refresh();
    machine.settle();
    EXPECT_EQ(countTraced(machine.trace, "BadgePanel"), 0u);
}

}  // namespace
}  // namespace lumivoke
