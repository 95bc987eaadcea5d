#include "DemandFrames.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/VirtualMainLoop.h"

namespace lumivoke::desktop {
namespace {

using std::chrono::milliseconds;

/// A display link on the virtual clock as the port runs it: asleep it waits for a change,
/// awake it ticks on the frames DemandFrames names, and it records when it ticked.
class Link {
public:
    explicit Link(VirtualMainLoop& loop) : loop_(loop) {}

    void start() {
        frames_.start(loop_.now());
        arm();
    }
    void change() {
        frames_.noteChange(loop_.now());
        if (!timer_) {
            arm();
        }
    }
    /// The ticks so far, in microseconds since the link started.
    std::vector<long> ticks;
    DemandFrames frames_;

private:
    void arm() {
        timer_ = Token();
        if (const auto next = frames_.nextTick(loop_.now())) {
            timer_ = loop_.schedule(*next - loop_.now(), [this] {
                ticks.push_back(static_cast<long>(loop_.now().time_since_epoch().count()));
                timer_ = Token();
                arm();
            });
        }
    }

    VirtualMainLoop& loop_;
    Token timer_;
};

constexpr long kFrame = DemandFrames::defaultPeriod.count();
constexpr long kTail = DemandFrames::tail.count();

/// Whether the last tick after a change at time `change` ends the tail: it is the first frame
/// that finds the tail over, so it lies less than one frame beyond it.
void expectTailEndsAfter(const std::vector<long>& ticks, long change) {
    ASSERT_FALSE(ticks.empty());
    EXPECT_GT(ticks.back(), change + kTail);
    EXPECT_LE(ticks.back(), change + kTail + kFrame);
}

TEST(DemandFrames, TicksForTheTailAfterTheStartThenSleeps) {
    VirtualMainLoop loop;
    Link link(loop);
    link.start();
    loop.advance(std::chrono::seconds(10));
    expectTailEndsAfter(link.ticks, 0);
    for (std::size_t i = 0; i < link.ticks.size(); ++i) {
        EXPECT_EQ(link.ticks[i], static_cast<long>(i + 1) * kFrame);
    }
    EXPECT_EQ(loop.pendingCount(), 0u) << "a timer is left while asleep";
}

TEST(DemandFrames, AChangeWakesItOnTheNextFrameBoundary) {
    VirtualMainLoop loop;
    Link link(loop);
    link.start();
    loop.advance(std::chrono::seconds(1));
    link.ticks.clear();
    // Asleep, 1 s + 5 ms after the start: frame 60 began at 1000.02 ms, 61 begins at 1016.687.
    loop.advance(milliseconds(5));
    link.change();
    loop.advance(std::chrono::seconds(1));
    ASSERT_FALSE(link.ticks.empty());
    EXPECT_EQ(link.ticks.front(), 61 * kFrame);
    for (std::size_t i = 1; i < link.ticks.size(); ++i) {
        EXPECT_EQ(link.ticks[i] - link.ticks[i - 1], kFrame) << "tick " << i;
    }
    expectTailEndsAfter(link.ticks, 1'005'000);
}

TEST(DemandFrames, ChangesOnEveryFrameTickOnEveryFrameAndNoMore) {
    VirtualMainLoop loop;
    Link link(loop);
    link.start();
    // Pointer motion at 1 kHz for 2 s: 2,000 changes, and still one tick per frame.
    for (int ms = 0; ms < 2000; ++ms) {
        loop.advance(milliseconds(1));
        link.change();
    }
    loop.advance(std::chrono::seconds(1));
    for (std::size_t i = 1; i < link.ticks.size(); ++i) {
        ASSERT_EQ(link.ticks[i] - link.ticks[i - 1], kFrame) << "tick " << i;
    }
    // At most 60 in any second.
    for (std::size_t i = 60; i < link.ticks.size(); ++i) {
        EXPECT_GE(link.ticks[i] - link.ticks[i - 60], 1'000'000 - 60) << "tick " << i;
    }
    expectTailEndsAfter(link.ticks, 2'000'000);
}

TEST(DemandFrames, ALateTickDoesNotCatchUpOnTheFramesItMissed) {
    DemandFrames frames;
    frames.start(MonoTime{});
    frames.noteChange(MonoTime{} + milliseconds(40));
    // A tick that ran 50 ms late, at 66.7 ms instead of 16.7: the next is frame 5, not 2.
    const auto next = frames.nextTick(MonoTime{} + std::chrono::microseconds(4 * kFrame + 10));
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(next->time_since_epoch().count(), 5 * kFrame);
}

TEST(DemandFrames, TheRateSetsTheFramePeriod) {
    struct Case {
        double rate;
        long periodMicroseconds;
    };
    for (const Case c :
         {Case{60, 16667}, Case{30, 33334}, Case{120, 8334}, Case{0, 16667}, Case{-5, 16667}}) {
        DemandFrames frames;
        frames.setRate(c.rate);
        EXPECT_EQ(frames.period().count(), c.periodMicroseconds) << c.rate;
        // Never more ticks a second than the rate asked for.
        if (c.rate > 0) {
            EXPECT_LE(1e6 / static_cast<double>(frames.period().count()), c.rate);
        }
    }
}

TEST(DemandFrames, ItSleepsOnlyOnceTheTailHasPassedSinceTheLastChange) {
    DemandFrames frames;
    frames.start(MonoTime{});
    frames.noteChange(MonoTime{} + milliseconds(500));
    // A change reported late (an event read after a later one) does not move the tail back.
    frames.noteChange(MonoTime{} + milliseconds(300));
    EXPECT_TRUE(frames.nextTick(MonoTime{} + milliseconds(500) + DemandFrames::tail));
    EXPECT_FALSE(frames.nextTick(MonoTime{} + milliseconds(501) + DemandFrames::tail));
}

}  // namespace
}  // namespace lumivoke::desktop
