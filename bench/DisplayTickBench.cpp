#include <benchmark/benchmark.h>

#include "SimPlatform.h"
#include "badge/CursorTypeMonitor.h"

namespace lumivoke {
namespace {

class NullSink final : public LogSink {
public:
    void write(const LogRecord&) override {}
};

constexpr Duration kFrame{16667};

// The common refresh: the cursor has not changed and is not the I-beam. The figure includes
// the virtual loop's timer, so it bounds the monitor's own cost from above.
void BM_TickUnchangedCursor(benchmark::State& state) {
    sim::SimPlatform machine;
    NullSink sink;
    machine.screens.add({{{0, 0}, {1920, 1080}}, {{0, 0}, {1920, 1055}}});
    machine.cursor.setCurrent(sim::SimCursorServer::arrow);
    CursorTypeMonitor monitor(machine.cursor, machine.displayLinks, machine.screens, sink);
    monitor.start();
    for (auto _ : state) {
        machine.loop.advance(kFrame);
    }
    state.counters["cursorFetches"] = machine.cursor.cursorFetches;
}
BENCHMARK(BM_TickUnchangedCursor);

// Over text with the pointer moving 2 points each refresh: one report per refresh.
void BM_TickOverTextMoving(benchmark::State& state) {
    sim::SimPlatform machine;
    NullSink sink;
    machine.screens.add({{{0, 0}, {1920, 1080}}, {{0, 0}, {1920, 1055}}});
    machine.cursor.setCurrent(sim::SimCursorServer::iBeam);
    CursorTypeMonitor monitor(machine.cursor, machine.displayLinks, machine.screens, sink);
    int reports = 0;
    monitor.onIBeam = [&](Point) { ++reports; };
    monitor.start();
    double x = 0;
    for (auto _ : state) {
        x = x > 1900 ? 0 : x + 2;
        machine.screens.setPointer({x, 500});
        machine.loop.advance(kFrame);
    }
    benchmark::DoNotOptimize(reports);
}
BENCHMARK(BM_TickOverTextMoving);

// The bare virtual-loop cost of one refresh, to subtract from the figures above.
void BM_EmptyFrame(benchmark::State& state) {
    sim::SimPlatform machine;
    Token timer = machine.loop.repeat(kFrame, [] {});
    for (auto _ : state) {
        machine.loop.advance(kFrame);
    }
}
BENCHMARK(BM_EmptyFrame);

}  // namespace
}  // namespace lumivoke
