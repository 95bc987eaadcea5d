#include <benchmark/benchmark.h>

#include <cstdint>

#include "AllocationCounter.h"
#include "SimPlatform.h"
#include "base/Logger.h"
#include "base/WeakAnchor.h"
#include "input/NSEventMonitor.h"

namespace lumivoke {
namespace {

/// A sink that drops records, so the figures show the monitor and not the trace.
class NullSink final : public LogSink {
public:
    void write(const LogRecord&) override {}
};

/// A monitor's owner as the application's are: its handler holds it weakly.
struct KeyCounter {
    int keys = 0;
    int flags = 0;
    WeakAnchor<KeyCounter> anchor{this};
};

// Delivery alone: one typed key reaching the handlers of two monitors, one of which has not
// asked for key presses. Every keystroke of the user passes here, so it must not allocate.
void BM_KeyDeliveryToMonitors(benchmark::State& state) {
    sim::SimPlatform machine;
    KeyCounter counter;
    auto typing = machine.keyboard.addGlobalMonitor(
        eventMaskBit(KeyEventType::keyDown),
        bindWeak(counter.anchor.weak(), [](KeyCounter& c, const KeyEvent&) { ++c.keys; }));
    auto modifiers = machine.keyboard.addGlobalMonitor(
        eventMaskBit(KeyEventType::flagsChanged),
        bindWeak(counter.anchor.weak(), [](KeyCounter& c, const KeyEvent&) { ++c.flags; }));
    const KeyEvent e{KeyEventType::keyDown, 0, 0, std::string("a")};
    // The first delivery after a change of the monitors takes the list's snapshot.
    machine.keyboard.deliver(e);
    const auto before = bench::allocationCount();
    for (auto _ : state) {
        machine.keyboard.deliver(e);
    }
    bench::reportAllocations(state, before, true);
    benchmark::DoNotOptimize(counter.keys);
}
BENCHMARK(BM_KeyDeliveryToMonitors);

// One typed key outside any Fn hold: the path every keystroke of the user takes, including
// the later turn that tells of the typing. It must not allocate.
void BM_TypedKey(benchmark::State& state) {
    sim::SimPlatform machine;
    NullSink sink;
    NSEventMonitor monitor(machine.keyboard, machine.loop, sink);
    std::int64_t typed = 0;
    monitor.onTyping = [&] { ++typed; };
    monitor.start();
    const KeyEvent e{KeyEventType::keyDown, 0, 0, std::string("a")};
    // The first key takes the monitors' snapshot and gives the loop's queue its room.
    machine.keyboard.deliver(e);
    machine.loop.runUntilIdle();
    typed = 0;
    const auto before = bench::allocationCount();
    for (auto _ : state) {
        machine.keyboard.deliver(e);
        machine.loop.runUntilIdle();
    }
    // Nothing allocates on a path that does nothing: the typing must have been told each time.
    if (typed != static_cast<std::int64_t>(state.iterations())) {
        state.SkipWithError("a typed key was not told on the next turn");
        return;
    }
    bench::reportAllocations(state, before, true);
}
BENCHMARK(BM_TypedKey);

// A modifier change that does not involve Fn: ignored after one bit test, without allocating.
void BM_UnrelatedFlagsChange(benchmark::State& state) {
    sim::SimPlatform machine;
    NullSink sink;
    NSEventMonitor monitor(machine.keyboard, machine.loop, sink);
    monitor.start();
    const KeyEvent e{KeyEventType::flagsChanged, modifier::shift, 0, std::nullopt};
    machine.keyboard.deliver(e);
    const auto before = bench::allocationCount();
    for (auto _ : state) {
        machine.keyboard.deliver(e);
    }
    bench::reportAllocations(state, before, true);
}
BENCHMARK(BM_UnrelatedFlagsChange);

// A whole clean tap: Fn down and up with its two log lines rendered, and the later turn that
// tells of the tap. The hand-off to that turn allocates nothing; the release's log line (its
// arguments, its format and its text) is what allocates.
void BM_CleanTapDetection(benchmark::State& state) {
    sim::SimPlatform machine;
    NullSink sink;
    NSEventMonitor monitor(machine.keyboard, machine.loop, sink);
    int taps = 0;
    monitor.onTap = [&] { ++taps; };
    monitor.start();
    const KeyEvent down{KeyEventType::flagsChanged, modifier::function, 0, std::nullopt};
    const KeyEvent up{KeyEventType::flagsChanged, 0, 0, std::nullopt};
    const auto before = bench::allocationCount();
    for (auto _ : state) {
        machine.keyboard.deliver(down);
        machine.keyboard.deliver(up);
        machine.loop.runUntilIdle();
    }
    bench::reportAllocations(state, before, false);
    benchmark::DoNotOptimize(taps);
}
BENCHMARK(BM_CleanTapDetection);

void BM_RenderLogLine(benchmark::State& state) {
    const std::vector<LogArg> args{std::int64_t{150}, true};
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            renderLogFormat("Fn↑ elapsed=%{public}ldms clean=%{bool,public}d", args));
    }
}
BENCHMARK(BM_RenderLogLine);

}  // namespace
}  // namespace lumivoke
