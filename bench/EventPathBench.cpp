#include <benchmark/benchmark.h>

#include "SimPlatform.h"
#include "base/Logger.h"
#include "input/NSEventMonitor.h"

namespace lumivoke {
namespace {

/// A sink that drops records, so the figures show the monitor and not the trace.
class NullSink final : public LogSink {
public:
    void write(const LogRecord&) override {}
};

// One typed key outside any Fn hold: the path every keystroke of the user takes.
void BM_TypedKey(benchmark::State& state) {
    sim::SimPlatform machine;
    NullSink sink;
    NSEventMonitor monitor(machine.keyboard, machine.loop, sink);
    int typed = 0;
    monitor.onTyping = [&] { ++typed; };
    monitor.start();
    const KeyEvent e{KeyEventType::keyDown, 0, 0, std::string("a")};
    for (auto _ : state) {
        machine.keyboard.deliver(e);
        machine.loop.runUntilIdle();
    }
    benchmark::DoNotOptimize(typed);
}
BENCHMARK(BM_TypedKey);

// A modifier change that does not involve Fn: ignored after one bit test.
void BM_UnrelatedFlagsChange(benchmark::State& state) {
    sim::SimPlatform machine;
    NullSink sink;
    NSEventMonitor monitor(machine.keyboard, machine.loop, sink);
    monitor.start();
    const KeyEvent e{KeyEventType::flagsChanged, modifier::shift, 0, std::nullopt};
    for (auto _ : state) {
        machine.keyboard.deliver(e);
    }
}
BENCHMARK(BM_UnrelatedFlagsChange);

// A whole clean tap: Fn down and up with its two log lines rendered.
void BM_CleanTapDetection(benchmark::State& state) {
    sim::SimPlatform machine;
    NullSink sink;
    NSEventMonitor monitor(machine.keyboard, machine.loop, sink);
    int taps = 0;
    monitor.onTap = [&] { ++taps; };
    monitor.start();
    const KeyEvent down{KeyEventType::flagsChanged, modifier::function, 0, std::nullopt};
    const KeyEvent up{KeyEventType::flagsChanged, 0, 0, std::nullopt};
    for (auto _ : state) {
        machine.keyboard.deliver(down);
        machine.keyboard.deliver(up);
        machine.loop.runUntilIdle();
    }
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
