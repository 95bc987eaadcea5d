#include <gtest/gtest.h>

#include "SimPlatform.h"
#include "TraceSearch.h"
#include "app/AccessibilityMonitor.h"
#include "app/AppState.h"

namespace lumivoke {
namespace {

using std::chrono::milliseconds;

class AccessibilityMonitorTest : public testing::Test {
protected:
    std::unique_ptr<AccessibilityMonitor> make() {
        auto m =
            std::make_unique<AccessibilityMonitor>(machine.accessibilityTrust, machine.loop, logs);
        m->onTrustGranted = [this] { ++grants; };
        return m;
    }
    std::size_t logged(const std::string& text) { return logs.count(text); }

    MemoryLogSink logs;
    sim::SimPlatform machine;
    int grants = 0;
};

TEST_F(AccessibilityMonitorTest, WithoutTrustPollsEverySecondUntilGranted) {
    machine.keyboard.setTrusted(false);
    auto monitor = make();
    EXPECT_EQ(logged("initial trust state: false"), 1u);
    EXPECT_FALSE(monitor->isPolling());
    monitor->startPolling();
    monitor->startPolling();
    EXPECT_EQ(machine.loop.pendingCount(), 1u);

    int published = 0;
    Token t = monitor->isTrusted.subscribe([&](bool) { ++published; });
    machine.advance(milliseconds(999));
    EXPECT_EQ(machine.accessibilityTrust.queries, 1);  // the one at construction
    machine.advance(milliseconds(2001));
    EXPECT_EQ(machine.accessibilityTrust.queries, 4);
    EXPECT_EQ(published, 1);  // still missing: nothing logged, nothing published
    EXPECT_FALSE(logs.contains("trust changed"));

    machine.keyboard.setTrusted(true);
    machine.advance(milliseconds(1000));
    EXPECT_TRUE(*monitor->isTrusted);
    EXPECT_EQ(published, 2);
    EXPECT_EQ(logged("trust changed: true"), 1u);
    EXPECT_EQ(grants, 1);
    EXPECT_FALSE(monitor->isPolling());
    machine.advance(milliseconds(5000));
    EXPECT_EQ(machine.accessibilityTrust.queries, 5);
    EXPECT_EQ(grants, 1);
}

TEST_F(AccessibilityMonitorTest, WithTrustNeverPolls) {
    auto monitor = make();
    EXPECT_EQ(logged("initial trust state: true"), 1u);
    EXPECT_TRUE(*monitor->isTrusted);
    machine.advance(milliseconds(5000));
    EXPECT_EQ(machine.loop.pendingCount(), 0u);
    EXPECT_EQ(grants, 0);
}

TEST_F(AccessibilityMonitorTest, ARevocationSeenWhilePollingKeepsPolling) {
    auto monitor = make();
    monitor->startPolling();
    machine.keyboard.setTrusted(false);
    machine.advance(milliseconds(1000));
    EXPECT_EQ(logged("trust changed: false"), 1u);
    EXPECT_FALSE(*monitor->isTrusted);
    EXPECT_TRUE(monitor->isPolling());
    EXPECT_EQ(grants, 0);
    machine.keyboard.setTrusted(true);
    machine.advance(milliseconds(1000));
    EXPECT_EQ(grants, 1);
}

TEST_F(AccessibilityMonitorTest, DestructionEndsThePoll) {
    machine.keyboard.setTrusted(false);
    auto monitor = make();
    monitor->startPolling();
    monitor.reset();
    EXPECT_EQ(machine.loop.pendingCount(), 0u);
}

class AppTrustTest : public testing::Test {
protected:
    AppTrustTest() { machine.screens.add({{{0, 0}, {1920, 1080}}, {{0, 0}, {1920, 1055}}}); }

    sim::SimPlatform machine;
};

TEST_F(AppTrustTest, AGrantWhileRunningRestartsTheDetectorAndMirrorsOneTurnLater) {
    machine.keyboard.setTrusted(false);
    AppState app(machine.platform(), machine.views);
    EXPECT_FALSE(*app.isAccessibilityTrusted);
    EXPECT_TRUE(app.accessibilityMonitor().isPolling());
    machine.settle();

    std::optional<bool> mirrorWhenPublished;
    Token t = app.accessibilityMonitor().isTrusted.subscribe([&](bool v) {
        if (v) {
            mirrorWhenPublished = *app.isAccessibilityTrusted;
        }
    });
    machine.keyboard.setTrusted(true);
    machine.loop.advance(milliseconds(1000));  // the poll tick, and nothing after it
    ASSERT_TRUE(mirrorWhenPublished.has_value());
    EXPECT_FALSE(*mirrorWhenPublished);
    EXPECT_EQ(countTraced(machine.trace, "events: monitor removed"), 1u);
    EXPECT_EQ(countTraced(machine.trace, "events: monitor added"), 2u);
    EXPECT_TRUE(app.monitor().isRunning());
    machine.settle();
    EXPECT_TRUE(*app.isAccessibilityTrusted);

    machine.advance(milliseconds(3000));
    EXPECT_EQ(countTraced(machine.trace, "events: monitor added"), 2u);
}

TEST_F(AppTrustTest, TrustedAtLaunchIsCopiedAtOnceAndNotPolled) {
    AppState app(machine.platform(), machine.views);
    EXPECT_TRUE(*app.isAccessibilityTrusted);
    EXPECT_FALSE(app.accessibilityMonitor().isPolling());
}

TEST_F(AppTrustTest, TeardownEndsTheTrustPoll) {
    machine.keyboard.setTrusted(false);
    {
        AppState app(machine.platform(), machine.views);
        machine.settle();
    }
    const int queries = machine.accessibilityTrust.queries;
    machine.advance(milliseconds(3000));
    EXPECT_EQ(machine.accessibilityTrust.queries, queries);
}

}  // namespace
}  // namespace lumivoke
