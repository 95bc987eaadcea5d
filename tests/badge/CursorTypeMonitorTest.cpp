#include <gtest/gtest.h>

#include "SimPlatform.h"
#include "TraceSearch.h"
#include "badge/CursorTypeMonitor.h"

namespace lumivoke {
namespace {

using sim::SimCursorServer;
using std::chrono::microseconds;

class CursorTypeMonitorTest : public testing::Test {
protected:
    CursorTypeMonitorTest() {
        machine.screens.add({{{0, 0}, {1920, 1080}}, {{0, 0}, {1920, 1055}}});
        machine.screens.setPointer({500, 500});
        monitor.onIBeam = [this](Point p) { reports.push_back(p); };
        monitor.onLeaveIBeam = [this] { ++leaves; };
    }
    /// One display refresh at 60 Hz.
    void refresh() { machine.advance(microseconds(16667)); }
    void moveTo(Point p) {
        machine.screens.setPointer(p);
        refresh();
    }
    std::size_t logged(const std::string& text) { return logs.count(text); }

    MemoryLogSink logs;
    sim::SimPlatform machine;
    CursorTypeMonitor monitor{machine.cursor, machine.displayLinks, machine.screens, logs};
    std::vector<Point> reports;
    int leaves = 0;
};

TEST_F(CursorTypeMonitorTest, StartCapturesTheSignatureAndRunsOneLinkAt30To60) {
    monitor.start();
    EXPECT_TRUE(monitor.isRunning());
    EXPECT_TRUE(
        logs.contains("iBeam signature: hotSpot=(4.000000, 9.000000) size=(9.000000×18.000000)"));
    EXPECT_TRUE(logs.contains("CADisplayLink started (≤60Hz)"));
    ASSERT_TRUE(machine.displayLinks.lastRange());
    EXPECT_EQ(machine.displayLinks.lastRange()->minimum, 30);
    EXPECT_EQ(machine.displayLinks.lastRange()->maximum, 60);
    EXPECT_EQ(machine.displayLinks.lastRange()->preferred, 60);
    EXPECT_EQ(machine.displayLinks.running(), 1);

    // Running: a second start neither makes a link nor looks at the signature again.
    machine.cursor.setIBeamSignature(Point{1, 1}, Size{2, 2});
    monitor.start();
    EXPECT_EQ(machine.displayLinks.created(), 1);
    EXPECT_FALSE(logs.contains("hotSpot=(1.000000"));

    // Every start takes the signature afresh.
    monitor.stop();
    monitor.start();
    EXPECT_TRUE(logs.contains("hotSpot=(1.000000, 1.000000) size=(2.000000×2.000000)"));
}

TEST_F(CursorTypeMonitorTest, FirstTickAfterStartComparesEvenWithAnOldSeed) {
    machine.cursor.setCurrent(SimCursorServer::iBeam);
    monitor.start();
    refresh();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], (Point{500, 500}));

    // A restart resets the seed, so the unchanged I-beam is reported again at once.
    monitor.stop();
    monitor.start();
    refresh();
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_EQ(leaves, 0);
}

struct CursorCase {
    const char* name;
    std::optional<SimCursorServer::Shape> cursor;
    bool isIBeam;
    int imageFetches;
};

class CursorMatch : public CursorTypeMonitorTest, public testing::WithParamInterface<CursorCase> {};

TEST_P(CursorMatch, OnlyTheExactSignatureIsTheIBeam) {
    const auto& c = GetParam();
    machine.cursor.setCurrent(c.cursor);
    monitor.start();
    machine.cursor.imageFetches = 0;
    refresh();
    EXPECT_EQ(monitor.isIBeam(), c.isIBeam) << c.name;
    EXPECT_EQ(reports.size(), c.isIBeam ? 1u : 0u) << c.name;
    // The image is fetched only when the hot spot already matches.
    EXPECT_EQ(machine.cursor.imageFetches, c.imageFetches) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    NearMisses, CursorMatch,
    testing::Values(
        CursorCase{"ibeam", SimCursorServer::iBeam, true, 1},
        CursorCase{"same hot spot, wider", SimCursorServer::Shape{{4, 9}, {10, 18}}, false, 1},
        CursorCase{"same hot spot, taller", SimCursorServer::Shape{{4, 9}, {9, 18.001}}, false, 1},
        CursorCase{"same size, other hot spot x", SimCursorServer::Shape{{4.0001, 9}, {9, 18}},
                   false, 0},
        CursorCase{"same size, other hot spot y", SimCursorServer::Shape{{4, 8}, {9, 18}}, false,
                   0},
        CursorCase{"arrow", SimCursorServer::arrow, false, 0},
        CursorCase{"no cursor", std::nullopt, false, 0}));

TEST_F(CursorTypeMonitorTest, AnUnchangedSeedCostsOneCallAndNoCursorFetch) {
    monitor.start();
    refresh();
    const int fetches = machine.cursor.cursorFetches;
    const int calls = machine.cursor.seedCalls;
    machine.screens.setPointer({900, 900});
    refresh();
    refresh();
    EXPECT_EQ(machine.cursor.cursorFetches, fetches);
    EXPECT_EQ(machine.cursor.seedCalls, calls + 2);
    EXPECT_TRUE(reports.empty());
}

// Along one axis the 1.5-point threshold is the scenario badge/movement.scn's; here the
// distance is measured diagonally.
TEST_F(CursorTypeMonitorTest, ReportsMovesOfOneAndAHalfPointsInAnyDirection) {
    machine.cursor.setCurrent(SimCursorServer::iBeam);
    monitor.start();
    refresh();
    ASSERT_EQ(reports.size(), 1u);
    // 1² + 1² falls short of 1.5², 1.0625² + 1.0625² does not.
    moveTo({501, 501});
    EXPECT_EQ(reports.size(), 1u);
    moveTo({501.0625, 501.0625});
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1], (Point{501.0625, 501.0625}));
}

TEST_F(CursorTypeMonitorTest, LeavingTextFiresOnceAndStoppingFiresNothing) {
    machine.cursor.setCurrent(SimCursorServer::iBeam);
    monitor.start();
    refresh();
    machine.cursor.setCurrent(SimCursorServer::arrow);
    refresh();
    refresh();
    EXPECT_EQ(leaves, 1);
    EXPECT_FALSE(monitor.isIBeam());

    machine.cursor.setCurrent(SimCursorServer::iBeam);
    refresh();
    EXPECT_EQ(reports.size(), 2u);
    monitor.stop();
    EXPECT_EQ(leaves, 1);
    EXPECT_FALSE(monitor.isIBeam());
    EXPECT_EQ(machine.displayLinks.running(), 0);
    EXPECT_EQ(countTraced(machine.trace, "displaylink: invalidate"), 1u);
    // Stopped: no ticks reach the callbacks, and a second stop does nothing.
    moveTo({700, 700});
    monitor.stop();
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_EQ(countTraced(machine.trace, "displaylink: invalidate"), 1u);
}

TEST_F(CursorTypeMonitorTest, AMissingSeedFunctionIsLookedUpOnceAndDisablesTheMonitor) {
    machine.cursor.setSeedMissing(true);
    monitor.start();
    EXPECT_FALSE(monitor.isRunning());
    EXPECT_EQ(logged("CGSCurrentCursorSeed unavailable on this macOS; hover badge disabled"), 1u);
    machine.cursor.setSeedMissing(false);
    monitor.start();
    EXPECT_EQ(logged("CGSCurrentCursorSeed unavailable on this macOS; hover badge disabled"), 2u);
    EXPECT_EQ(machine.cursor.seedLookups, 1);
    EXPECT_EQ(machine.displayLinks.created(), 0);
}

TEST_F(CursorTypeMonitorTest, ASeedFoundOnceServesEveryStartAndTick) {
    monitor.start();
    refresh();
    monitor.stop();
    monitor.start();
    refresh();
    EXPECT_EQ(machine.cursor.seedLookups, 1);
}

struct SignatureCase {
    std::optional<Point> hotSpot;
    std::optional<Size> size;
};

class MissingSignature : public CursorTypeMonitorTest,
                         public testing::WithParamInterface<SignatureCase> {};

TEST_P(MissingSignature, LeavesTheMonitorStopped) {
    machine.cursor.setIBeamSignature(GetParam().hotSpot, GetParam().size);
    monitor.start();
    EXPECT_FALSE(monitor.isRunning());
    EXPECT_EQ(logged("Failed to capture iBeam signature; hover badge disabled"), 1u);
    EXPECT_FALSE(logs.contains("iBeam signature: hotSpot"));
    EXPECT_EQ(machine.displayLinks.created(), 0);
}

INSTANTIATE_TEST_SUITE_P(EitherHalf, MissingSignature,
                         testing::Values(SignatureCase{std::nullopt, Size{9, 18}},
                                         SignatureCase{Point{4, 9}, std::nullopt},
                                         SignatureCase{std::nullopt, std::nullopt}));

TEST_F(CursorTypeMonitorTest, DestroyingARunningMonitorEndsItsLink) {
    auto owned = std::make_unique<CursorTypeMonitor>(machine.cursor, machine.displayLinks,
                                                     machine.screens, logs);
    int calls = 0;
    owned->onIBeam = [&](Point) { ++calls; };
    owned->start();
    owned.reset();
    machine.cursor.setCurrent(SimCursorServer::iBeam);
    refresh();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(machine.displayLinks.running(), 0);
}

}  // namespace
}  // namespace lumivoke
