#include "settings/SetupState.h"

#include <gtest/gtest.h>

#include "SimPlatform.h"

namespace lumivoke {
namespace {

using std::chrono::milliseconds;

/// Counts reads, so that a test can tell how often the setting was consulted.
class CountingPreferences final : public SystemPreferences {
public:
    std::optional<DefaultsValue> value = DefaultsValue{std::int64_t{0}};
    int reads = 0;
    std::optional<DefaultsValue> copyAppValue(const std::string& key,
                                              const std::string& applicationID) override {
        ++reads;
        EXPECT_EQ(key, "AppleFnUsageType");
        EXPECT_EQ(applicationID, "com.apple.HIToolbox");
        return value;
    }
};

struct FnUsageCase {
    const char* name;
    std::optional<DefaultsValue> value;
    bool disabled;
};

TEST(SetupStateTest, OnlyTheNumberZeroMeansDoNothing) {
    const FnUsageCase cases[] = {
        {"integer 0", DefaultsValue{std::int64_t{0}}, true},
        {"real exactly 0", DefaultsValue{0.0}, true},
        {"integer 1", DefaultsValue{std::int64_t{1}}, false},
        {"integer 2", DefaultsValue{std::int64_t{2}}, false},
        {"negative", DefaultsValue{std::int64_t{-1}}, false},
        {"fraction", DefaultsValue{0.5}, false},
        {"tiny fraction", DefaultsValue{1e-9}, false},
        {"text 0", DefaultsValue{std::string("0")}, false},
        {"boolean false", DefaultsValue{false}, false},
        {"data", DefaultsValue{Bytes{0}}, false},
        {"absent", std::nullopt, false},
    };
    for (const auto& c : cases) {
        CountingPreferences prefs;
        prefs.value = c.value;
        EXPECT_EQ(SetupState::readGlobeKeyDisabled(prefs), c.disabled) << c.name;
    }
}

TEST(SetupStateTest, ConstructionReadsAndRefreshNotifiesOnlyOnChange) {
    sim::SimPlatform m;
    CountingPreferences prefs;
    SetupState state(prefs, m.loop);
    EXPECT_TRUE(*state.isGlobeKeyDisabled);
    std::vector<bool> seen;
    Token t = state.isGlobeKeyDisabled.subscribe([&](bool v) { seen.push_back(v); });
    state.refresh();
    state.refresh();
    prefs.value = DefaultsValue{std::int64_t{2}};
    state.refresh();
    state.refresh();
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST(SetupStateTest, PollsEverySecondOnlyWhilePolling) {
    sim::SimPlatform m;
    CountingPreferences prefs;
    SetupState state(prefs, m.loop);
    // Idle: a change is not seen, however long we wait.
    prefs.value = DefaultsValue{std::int64_t{1}};
    m.advance(std::chrono::seconds(5));
    EXPECT_TRUE(*state.isGlobeKeyDisabled);
    // Starting refreshes at once; starting again neither reads again nor adds a timer.
    prefs.reads = 0;
    state.startPolling();
    state.startPolling();
    EXPECT_EQ(prefs.reads, 1);
    EXPECT_FALSE(*state.isGlobeKeyDisabled);
    EXPECT_TRUE(state.isPolling());
    prefs.value = DefaultsValue{std::int64_t{0}};
    m.advance(milliseconds(999));
    EXPECT_FALSE(*state.isGlobeKeyDisabled);
    m.advance(milliseconds(1));
    EXPECT_TRUE(*state.isGlobeKeyDisabled);
    EXPECT_EQ(prefs.reads, 2);
    m.advance(std::chrono::seconds(3));
    EXPECT_EQ(prefs.reads, 5);
    state.stopPolling();
    EXPECT_FALSE(state.isPolling());
    prefs.value = DefaultsValue{std::int64_t{1}};
    m.advance(std::chrono::seconds(3));
    EXPECT_EQ(prefs.reads, 5);
    EXPECT_TRUE(*state.isGlobeKeyDisabled);
}

TEST(SetupStateTest, ATimerTickAfterTheStateIsGoneDoesNothing) {
    sim::SimPlatform m;
    CountingPreferences prefs;
    {
        SetupState state(prefs, m.loop);
        state.startPolling();
    }
    prefs.reads = 0;
    m.advance(std::chrono::seconds(3));
    EXPECT_EQ(prefs.reads, 0);
    EXPECT_EQ(m.loop.pendingCount(), 0u);
}

}  // namespace
}  // namespace lumivoke
