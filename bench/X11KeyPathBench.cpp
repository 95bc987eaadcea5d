#include <benchmark/benchmark.h>

#include "AllocationCounter.h"
#include "RawKeyTranslator.h"
#include "base/ObserverList.h"
#include "base/WeakAnchor.h"

namespace lumivoke {
namespace {

struct KeyCounter {
    int keys = 0;
    WeakAnchor<KeyCounter> anchor{this};
};

// What X11Keyboard does with each raw key event once Xlib has read it and looked its keysym
// up (both need an X server, so they are not measured): translate it and deliver it to the
// monitors through the same masked handlers. A press and a release of a letter per iteration;
// neither may allocate.
void BM_X11RawKeyToMonitors(benchmark::State& state) {
    desktop::RawKeyTranslator keys;
    ObserverList<const KeyEvent&> monitors;
    KeyCounter counter;
    const std::uint64_t mask =
        eventMaskBit(KeyEventType::keyDown) | eventMaskBit(KeyEventType::flagsChanged);
    auto handler =
        bindWeak(counter.anchor.weak(), [](KeyCounter& c, const KeyEvent&) { ++c.keys; });
    Token monitor = monitors.add([mask, handler](const KeyEvent& event) {
        if ((mask & eventMaskBit(event.type)) != 0) {
            handler(event);
        }
    });
    const auto capsLock = [] { return false; };
    monitors.notify(KeyEvent{});  // the first notification after a change takes the snapshot
    const auto before = bench::allocationCount();
    for (auto _ : state) {
        for (const bool press : {true, false}) {
            if (const auto event = keys.translate(38, 'a', press, capsLock)) {
                monitors.notify(*event);
            }
        }
    }
    bench::reportAllocations(state, before, true);
    benchmark::DoNotOptimize(counter.keys);
}
BENCHMARK(BM_X11RawKeyToMonitors);

}  // namespace
}  // namespace lumivoke
