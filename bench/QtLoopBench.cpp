#include <benchmark/benchmark.h>

#include <cstdint>

#include <QCoreApplication>

#include "AllocationCounter.h"
#include "QtMainLoop.h"

namespace lumivoke {
namespace {

/// The Qt loop needs an application's event dispatcher, but no display.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "lumivoke_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// What the desktop program does with each typed key and each tap once the monitor has seen
// it: hand work to a later turn of the Qt loop, and take that turn. A raised signal must not
// allocate; the post is measured beside it for comparison.
void BM_QtRaisedSignalTurn(benchmark::State& state) {
    ensureApplication();
    desktop::QtMainLoop loop;
    std::int64_t ran = 0;
    auto signal = loop.makeSignal([&] { ++ran; });
    signal->raise();
    QCoreApplication::processEvents();
    const auto before = bench::allocationCount();
    for (auto _ : state) {
        signal->raise();
        QCoreApplication::processEvents();
    }
    if (ran != static_cast<std::int64_t>(state.iterations()) + 1) {
        state.SkipWithError("a raise did not run on the next turn");
        return;
    }
    bench::reportAllocations(state, before, true);
}
BENCHMARK(BM_QtRaisedSignalTurn);

void BM_QtPostedWorkTurn(benchmark::State& state) {
    ensureApplication();
    desktop::QtMainLoop loop;
    int ran = 0;
    const auto before = bench::allocationCount();
    for (auto _ : state) {
        loop.post([&ran] { ++ran; });
        QCoreApplication::processEvents();
    }
    bench::reportAllocations(state, before, false);
    benchmark::DoNotOptimize(ran);
}
BENCHMARK(BM_QtPostedWorkTurn);

}  // namespace
}  // namespace lumivoke
