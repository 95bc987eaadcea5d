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
