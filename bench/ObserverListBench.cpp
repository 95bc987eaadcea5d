#include <benchmark/benchmark.h>

#include "AllocationCounter.h"
#include "base/ObserverList.h"
#include "base/WeakAnchor.h"

namespace lumivoke {
namespace {

/// Stands for an X event: the connection hands each one by reference to its handlers.
struct Event {
    int type = 0;
    long serial = 0;
};

struct Handler {
    long seen = 0;
    WeakAnchor<Handler> anchor{this};
};

// The X11 connection's dispatch: every X event, a key press included, goes to four handlers
// (keyboard, layouts, workspace, cursor) that hold their owners weakly. Between changes of
// the list this must not allocate.
void BM_ObserverListNotify(benchmark::State& state) {
    ObserverList<Event&> list;
    Handler handlers[4];
    std::vector<Token> tokens;
    for (auto& h : handlers) {
        tokens.push_back(list.add(
            bindWeak(h.anchor.weak(), [](Handler& self, Event& e) { self.seen += e.serial; })));
    }
    Event event{35, 1};
    // The first notification after a change takes the snapshot.
    list.notify(event);
    const auto before = bench::allocationCount();
    for (auto _ : state) {
        list.notify(event);
    }
    bench::reportAllocations(state, before, true);
    benchmark::DoNotOptimize(handlers[0].seen);
}
BENCHMARK(BM_ObserverListNotify);

}  // namespace
}  // namespace lumivoke
