#include <gtest/gtest.h>

#include "SimPlatform.h"
#include "TraceSearch.h"
#include "app/AppState.h"
#include "sources/SourcesFixture.h"

namespace lumivoke {
namespace {

using testing_support::keyboardSource;

class AppStateTest : public testing::Test {
protected:
    AppStateTest() {
        machine.inputSources.define(keyboardSource("com.apple.keylayout.ABC", "ABC", {"en"}));
        machine.inputSources.define(keyboardSource("com.apple.keylayout.German", "German", {"de"}));
        machine.inputSources.setCurrent("com.apple.keylayout.ABC");
        machine.bundle.values["CFBundleShortVersionString"] = std::string("2.1");
        machine.bundle.values["CFBundleVersion"] = std::string("42");
    }
    void launch() { app = std::make_unique<AppState>(machine.platform(), machine.views); }
    void tap() {
        machine.keyboard.deliver({KeyEventType::flagsChanged, modifier::function, 0, {}});
        machine.advance(std::chrono::milliseconds(100));
        machine.keyboard.deliver({KeyEventType::flagsChanged, 0, 0, {}});
    }

    sim::SimPlatform machine;
    std::unique_ptr<AppState> app;
};

TEST_F(AppStateTest, MissingOrNonTextVersionValuesShowAsQuestionMarks) {
    machine.bundle.values.erase("CFBundleVersion");
    machine.bundle.values["CFBundleShortVersionString"] = 3.0;
    launch();
    EXPECT_TRUE(traced(machine.trace, "Lumivoke launched — ? (Build ?)"));
}

TEST_F(AppStateTest, MirrorsFollowTheSwitcherOneTurnLater) {
    launch();
    EXPECT_TRUE(app->sources->empty()) << "even the first value arrives on a later turn";
    EXPECT_FALSE(app->currentSource->has_value());
    machine.settle();
    EXPECT_EQ(app->sources->size(), 2u);
    ASSERT_TRUE(app->currentSource->has_value());
    EXPECT_EQ((*app->currentSource)->id, "com.apple.keylayout.ABC");
}

TEST_F(AppStateTest, RightAfterATapOnlyTheSwitcherHoldsTheNewSource) {
    launch();
    machine.settle();
    machine.keyboard.deliver({KeyEventType::flagsChanged, modifier::function, 0, {}});
    machine.loop.advance(std::chrono::milliseconds(100));
    machine.keyboard.deliver({KeyEventType::flagsChanged, 0, 0, {}});
    ASSERT_TRUE(machine.loop.runNext());  // exactly the posted tap
    EXPECT_EQ((*app->languageSwitcher().currentSource)->id, "com.apple.keylayout.German");
    EXPECT_EQ((*app->currentSource)->id, "com.apple.keylayout.ABC");
    EXPECT_EQ(*app->hudModel().text, "DE");
    machine.settle();
    EXPECT_EQ((*app->currentSource)->id, "com.apple.keylayout.German");
}

TEST_F(AppStateTest, TeardownStopsTheMonitorAndLateEventsDoNothing) {
    launch();
    tap();
    app.reset();  // the tap's callback is still queued
    EXPECT_EQ(machine.keyboard.monitorCount(), 0u);
    machine.advance(std::chrono::seconds(1));
    EXPECT_EQ(machine.inputSources.currentKey(), "com.apple.keylayout.ABC");
}

}  // namespace
}  // namespace lumivoke
