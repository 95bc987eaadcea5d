#include <gtest/gtest.h>

#include <thread>

#include "base/SleepingTask.h"
#include "base/VirtualMainLoop.h"
#include "base/WeakAnchor.h"

namespace lumivoke {
namespace {

using std::chrono::milliseconds;

TEST(VirtualMainLoop, PostedWorkRunsOnALaterTurnInOrder) {
    VirtualMainLoop loop;
    std::vector<int> ran;
    loop.post([&] {
        ran.push_back(1);
        loop.post([&] { ran.push_back(3); });
    });
    loop.post([&] { ran.push_back(2); });
    EXPECT_TRUE(ran.empty()) << "post must never run inside the call that posted";
    loop.runUntilIdle();
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST(VirtualMainLoop, ScheduledWorkRunsAtItsDeadlineAndNotBefore) {
    VirtualMainLoop loop;
    MonoTime firedAt{};
    Token t = loop.schedule(milliseconds(500), [&] { firedAt = loop.now(); });
    loop.advance(milliseconds(499));
    EXPECT_EQ(firedAt, MonoTime{});
    loop.advance(milliseconds(300));
    EXPECT_EQ(firedAt, MonoTime{milliseconds(500)}) << "a task runs at its own deadline";
    EXPECT_EQ(loop.now(), MonoTime{milliseconds(799)});
}

TEST(VirtualMainLoop, TasksDueTogetherRunInTheOrderTheyWereAdded) {
    VirtualMainLoop loop;
    std::string order;
    Token a = loop.schedule(milliseconds(100), [&] { order += 'a'; });
    loop.postAfter(milliseconds(100), [&] { order += 'b'; });
    Token c = loop.schedule(milliseconds(50), [&] { order += 'c'; });
    Token d = loop.schedule(milliseconds(100), [&] { order += 'd'; });
    loop.advance(milliseconds(100));
    EXPECT_EQ(order, "cabd");
}

TEST(VirtualMainLoop, DroppingOrCancellingTheTokenCancels) {
    VirtualMainLoop loop;
    int fired = 0;
    {
        Token dropped = loop.schedule(milliseconds(10), [&] { ++fired; });
    }
    Token cancelled = loop.schedule(milliseconds(10), [&] { ++fired; });
    cancelled.cancel();
    cancelled.cancel();
    loop.advance(milliseconds(20));
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST(VirtualMainLoop, RepeatingTimerFiresEachIntervalUntilStopped) {
    VirtualMainLoop loop;
    std::vector<MonoTime> ticks;
    Token timer = loop.repeat(std::chrono::seconds(1), [&] { ticks.push_back(loop.now()); });
    loop.advance(milliseconds(999));
    EXPECT_TRUE(ticks.empty()) << "the first tick comes one interval after the start";
    loop.advance(milliseconds(2001));
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_EQ(ticks[2], MonoTime{std::chrono::seconds(3)});
    timer.cancel();
    loop.advance(std::chrono::seconds(5));
    EXPECT_EQ(ticks.size(), 3u);
}

TEST(VirtualMainLoop, RepeatingTimerMayStopItselfWhileTicking) {
    VirtualMainLoop loop;
    int ticks = 0;
    Token timer;
    timer = loop.repeat(milliseconds(10), [&] {
        if (++ticks == 2) {
            timer.cancel();
        }
    });
    loop.advance(milliseconds(100));
    EXPECT_EQ(ticks, 2);
}

TEST(VirtualMainLoop, KnowsItsOwnThread) {
    VirtualMainLoop loop;
    EXPECT_TRUE(loop.isMainThread());
    bool other = true;
    std::thread([&] { other = loop.isMainThread(); }).join();
    EXPECT_FALSE(other);
}

TEST(VirtualMainLoop, RaisedSignalTakesThePlaceOfAPostAndRunsOncePerRaise) {
    VirtualMainLoop loop;
    std::string order;
    auto signal = loop.makeSignal([&] { order += 's'; });
    loop.post([&] { order += 'a'; });
    signal->raise();
    loop.post([&] { order += 'b'; });
    signal->raise();
    Token late = loop.schedule(milliseconds(5), [&] { order += 'c'; });
    EXPECT_EQ(order, "") << "a raise never runs inside the call";
    EXPECT_EQ(loop.pendingCount(), 5u);
    loop.advance(milliseconds(10));
    EXPECT_EQ(order, "asbsc");
    signal->raise();
    loop.runUntilIdle();
    EXPECT_EQ(order, "asbscs") << "a signal is raised again after it ran";
}

TEST(VirtualMainLoop, DestroyingASignalWithdrawsItsPendingRuns) {
    VirtualMainLoop loop;
    int ran = 0;
    auto withdrawn = loop.makeSignal([&] { ++ran; });
    auto kept = loop.makeSignal([&] { ran += 10; });
    withdrawn->raise();
    kept->raise();
    withdrawn->raise();
    withdrawn.reset();
    EXPECT_EQ(loop.pendingCount(), 1u);
    loop.runUntilIdle();
    EXPECT_EQ(ran, 10);
}

TEST(VirtualMainLoop, SignalRaisedFromItsOwnWorkRunsOnALaterTurn) {
    VirtualMainLoop loop;
    int runs = 0;
    std::unique_ptr<LoopSignal> signal;
    signal = loop.makeSignal([&] {
        if (++runs < 3) {
            signal->raise();
        }
    });
    signal->raise();
    EXPECT_TRUE(loop.runNext());
    EXPECT_EQ(runs, 1) << "the raise inside the work waits for a turn of its own";
    EXPECT_EQ(loop.runUntilIdle(), 2u);
    EXPECT_EQ(runs, 3);
}

TEST(VirtualMainLoop, WorkMayEndItsOwnRegistrationAndStillUseWhatItHolds) {
    // Each work below keeps a value in its closure and reads it after ending the registration
    // that owns the closure; the sanitizer build catches a closure freed under its feet.
    VirtualMainLoop loop;
    std::vector<int> seen;
    std::unique_ptr<LoopSignal> signal;
    signal = loop.makeSignal([&, held = std::make_shared<int>(1)] {
        signal->raise();
        signal.reset();
        seen.push_back(*held);
    });
    Token timer;
    timer = loop.repeat(milliseconds(10), [&, held = std::make_shared<int>(2)] {
        timer.cancel();
        seen.push_back(*held);
    });
    signal->raise();
    loop.advance(milliseconds(50));
    EXPECT_EQ(seen, (std::vector<int>{1, 2})) << "neither ran again once withdrawn";
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST(SleepingTask, RunsEachStepAfterItsSleep) {
    VirtualMainLoop loop;
    std::vector<MonoTime> at;
    Token task = startSleepingTask(loop, {{milliseconds(500), [&] { at.push_back(loop.now()); }},
                                          {milliseconds(300), [&] { at.push_back(loop.now()); }}});
    loop.advance(std::chrono::seconds(2));
    EXPECT_EQ(at,
              (std::vector<MonoTime>{MonoTime{milliseconds(500)}, MonoTime{milliseconds(800)}}));
}

TEST(SleepingTask, CancellingEndsTheSleepsAtOnceAndTheStepsStillRun) {
    VirtualMainLoop loop;
    std::vector<MonoTime> at;
    Token task = startSleepingTask(loop, {{milliseconds(500), [&] { at.push_back(loop.now()); }},
                                          {milliseconds(300), [&] { at.push_back(loop.now()); }}});
    loop.advance(milliseconds(200));
    task.cancel();
    EXPECT_TRUE(at.empty()) << "the rest runs on later turns, not inside cancel()";
    loop.runUntilIdle();
    EXPECT_EQ(at,
              (std::vector<MonoTime>{MonoTime{milliseconds(200)}, MonoTime{milliseconds(200)}}));
}

struct Owner {
    int* total = nullptr;
    WeakAnchor<Owner> anchor{this};
};

TEST(WeakAnchor, CallbackDoesNothingOnceTheOwnerIsGone) {
    VirtualMainLoop loop;
    int total = 0;
    auto owner = std::make_unique<Owner>();
    owner->total = &total;
    auto callback = bindWeak(owner->anchor.weak(), [](Owner& o, int n) { *o.total += n; });
    callback(2);
    EXPECT_EQ(total, 2);
    loop.post([callback] { callback(5); });
    owner.reset();
    loop.runUntilIdle();
    EXPECT_EQ(total, 2) << "the callback ran after its owner was destroyed";
}

}  // namespace
}  // namespace lumivoke
