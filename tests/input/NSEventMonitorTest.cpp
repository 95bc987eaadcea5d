#include <gtest/gtest.h>

#include "SimPlatform.h"
#include "input/NSEventMonitor.h"

namespace lumivoke {
namespace {

using std::chrono::milliseconds;

/// One thing that happens to the keyboard.
struct Step {
    enum Kind { flags, key, wait } kind;
    std::uint64_t modifiers = 0;
    std::optional<std::string> chars;
    std::uint16_t keyCode = 0;
    int ms = 0;
};
Step fl(std::uint64_t m) {
    return {Step::flags, m, {}, 0, 0};
}
Step key(std::optional<std::string> c, std::uint64_t m, std::uint16_t code = 0) {
    return {Step::key, m, std::move(c), code, 0};
}
Step wait(int ms) {
    return {Step::wait, 0, {}, 0, ms};
}

constexpr auto fn = modifier::function;
constexpr auto shift = modifier::shift;

class MonitorFixture : public testing::Test {
protected:
    MonitorFixture() : monitor(machine.keyboard, machine.loop, log) {
        monitor.onTap = [this] { ++taps; };
        monitor.onTyping = [this] { ++typing; };
    }

    void run(const std::vector<Step>& steps) {
        for (const auto& s : steps) {
            if (s.kind == Step::wait) {
                machine.advance(milliseconds(s.ms));
                continue;
            }
            KeyEvent e;
            e.type = s.kind == Step::flags ? KeyEventType::flagsChanged : KeyEventType::keyDown;
            e.modifierFlags = s.modifiers;
            e.charactersIgnoringModifiers = s.chars;
            e.keyCode = s.keyCode;
            machine.keyboard.deliver(e);
        }
        machine.settle();
    }

    sim::SimPlatform machine;
    MemoryLogSink log;
    NSEventMonitor monitor;
    int taps = 0;
    int typing = 0;
};

struct TapCase {
    const char* name;
    std::vector<Step> steps;
    int taps;
    const char* logged;  // a line that must be logged, or ""
};

class TapOrNot : public MonitorFixture, public testing::WithParamInterface<TapCase> {};

TEST_P(TapOrNot, DecidesAsTheUserMeantIt) {
    monitor.start();
    run(GetParam().steps);
    EXPECT_EQ(taps, GetParam().taps);
    if (*GetParam().logged != '\0') {
        EXPECT_EQ(log.count(GetParam().logged), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Presses, TapOrNot,
    testing::Values(
        TapCase{"clean", {fl(fn), wait(150), fl(0)}, 1, "Fn↑ elapsed=150ms clean=true"},
        TapCase{"held399", {fl(fn), wait(399), fl(0)}, 1, "Fn↑ elapsed=399ms clean=true"},
        TapCase{"held400", {fl(fn), wait(400), fl(0)}, 0, "Fn↑ elapsed=400ms clean=false"},
        TapCase{"modifierJoins",
                {fl(fn), fl(fn | shift), fl(fn | shift | modifier::control), fl(0)},
                0,
                "dirty (modifier combo)"},
        TapCase{"modifierReleasedStillDirty", {fl(fn), fl(fn | shift), fl(fn), fl(0)}, 0, ""},
        TapCase{"modifierHeldBeforeFn",
                {fl(shift), fl(shift | fn), wait(100), fl(shift)},
                1,
                "Fn↑ elapsed=100ms clean=true"},
        TapCase{"capsLockIsNoCombo", {fl(fn), fl(fn | modifier::capsLock), fl(0)}, 1, ""},
        TapCase{"arrowKey",
                {fl(fn), key("\xEF\x9C\x82", fn, 123), fl(0)},  // U+F702
                0,
                "dirty (Fn-combo during Fn-hold, keycode=123)"},
        TapCase{"returnKey", {fl(fn), key("\r", fn, 36), fl(0)}, 0, ""},
        TapCase{"backspace", {fl(fn), key("\x7F", fn, 51), fl(0)}, 0, ""},
        TapCase{"keyWithoutCharacters", {fl(fn), key(std::nullopt, fn, 63), fl(0)}, 0, ""},
        TapCase{"printableKey", {fl(fn), key("a", fn, 0), fl(0)}, 1, ""},
        TapCase{"lastPrivateUseIsFunctionKey",
                {fl(fn), key("\xEF\xA3\xBF", fn, 1), fl(0)},  // U+F8FF
                0,
                ""},
        TapCase{"releaseWithoutPress", {fl(0), fl(shift), fl(0)}, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MonitorFixture, DirtyComboIsLoggedOncePerPress) {
    monitor.start();
    run({fl(fn), fl(fn | shift), fl(fn | shift | modifier::option), key("\r", fn | shift), fl(0)});
    EXPECT_EQ(log.count("dirty (modifier combo)"), 1u);
    EXPECT_FALSE(log.contains("keycode=")) << "an already dirty press logs nothing more";
    // The next press starts clean again.
    run({fl(fn), wait(50), fl(0)});
    EXPECT_EQ(taps, 1);
}

TEST_F(MonitorFixture, TapCallbackRunsOnALaterTurn) {
    monitor.start();
    KeyEvent down{KeyEventType::flagsChanged, fn, 0, std::nullopt};
    KeyEvent up{KeyEventType::flagsChanged, 0, 0, std::nullopt};
    machine.keyboard.deliver(down);
    machine.keyboard.deliver(up);
    EXPECT_EQ(taps, 0) << "onTap must not run inside the event handler";
    machine.settle();
    EXPECT_EQ(taps, 1);
}

TEST_F(MonitorFixture, TapsAndTypingWithinOneTurnEachRunOnceInTheirOrder) {
    std::string seen;
    monitor.onTap = [&] { seen += 'T'; };
    monitor.onTyping = [&] { seen += 'k'; };
    monitor.start();
    // A burst read in one go, as a busy loop delivers it: none may merge with another.
    run({fl(fn), fl(0), key("a", 0), fl(fn), fl(0), key("b", 0), key("c", 0)});
    EXPECT_EQ(seen, "TkTkk");
}

TEST_F(MonitorFixture, TypingIsAKeyWithCharactersWithoutCommandControlOrFn) {
    monitor.start();
    run({key("a", 0), key("A", shift), key("å", modifier::option)});
    EXPECT_EQ(typing, 3);
    run({key("c", modifier::command), key("c", modifier::control), key("a", fn),
         key(std::nullopt, 0), key("", 0)});
    EXPECT_EQ(typing, 3);
}

TEST_F(MonitorFixture, PrintableKeyDuringHoldIsATapButNotTyping) {
    monitor.start();
    run({fl(fn), key("a", fn), wait(100), fl(0)});
    EXPECT_EQ(taps, 1);
    EXPECT_EQ(typing, 0);
}

TEST_F(MonitorFixture, StartTwiceRegistersOneMonitorAndStopRemovesIt) {
    monitor.start();
    monitor.start();
    EXPECT_EQ(machine.keyboard.monitorCount(), 1u);
    EXPECT_EQ(log.count("NSEvent global monitor started"), 1u);
    monitor.stop();
    monitor.stop();
    EXPECT_EQ(machine.keyboard.monitorCount(), 0u);
}

TEST_F(MonitorFixture, PressSurvivesARestartOfTheMonitor) {
    monitor.start();
    run({fl(fn), wait(100)});
    monitor.stop();
    monitor.start();
    run({wait(100), fl(0)});
    EXPECT_EQ(taps, 1);
    EXPECT_EQ(log.count("Fn↑ elapsed=200ms clean=true"), 1u);
}

TEST_F(MonitorFixture, ReleaseOfAPressThatBeganBeforeStartIsIgnored) {
    run({fl(fn)});  // not started: nothing sees it
    monitor.start();
    run({wait(50), fl(0)});
    EXPECT_EQ(taps, 0);
    EXPECT_FALSE(log.contains("Fn↑"));
}

TEST_F(MonitorFixture, WithoutATokenNothingIsRegisteredAndStartTriesAgain) {
    machine.keyboard.setNoMonitorToken(true);
    monitor.start();
    EXPECT_EQ(log.count("NSEvent global monitor started"), 1u);
    EXPECT_FALSE(monitor.isRunning());
    machine.keyboard.setNoMonitorToken(false);
    monitor.start();
    EXPECT_TRUE(monitor.isRunning());
    EXPECT_EQ(machine.keyboard.monitorCount(), 1u);
}

TEST_F(MonitorFixture, NothingArrivesWhileUntrusted) {
    machine.keyboard.setTrusted(false);
    monitor.start();
    run({fl(fn), wait(50), fl(0), key("a", 0)});
    EXPECT_EQ(taps + typing, 0);
}

TEST(NSEventMonitorLifetime, CallbacksPostedBeforeDestructionDoNothing) {
    sim::SimPlatform machine;
    MemoryLogSink log;
    int taps = 0;
    auto monitor = std::make_unique<NSEventMonitor>(machine.keyboard, machine.loop, log);
    monitor->onTap = [&] { ++taps; };
    monitor->start();
    machine.keyboard.deliver({KeyEventType::flagsChanged, fn, 0, std::nullopt});
    machine.keyboard.deliver({KeyEventType::flagsChanged, 0, 0, std::nullopt});
    monitor.reset();
    EXPECT_EQ(machine.keyboard.monitorCount(), 0u) << "destruction stops the monitor";
    machine.settle();
    EXPECT_EQ(taps, 0);
}

}  // namespace
}  // namespace lumivoke
