#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

// The benchmark program's own global allocation functions: they count, then do what the
// standard ones do. The array and nothrow forms call these.
namespace {

std::atomic<std::uint64_t> gAllocations{0};

void* allocate(std::size_t size, std::size_t alignment) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (size == 0) {
        size = 1;
    }
    void* p = nullptr;
    if (alignment <= alignof(std::max_align_t)) {
        p = std::malloc(size);
    } else {
        // aligned_alloc wants a multiple of the alignment.
        p = std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
    }
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

}  // namespace

void* operator new(std::size_t size) {
    return allocate(size, alignof(std::max_align_t));
}

void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocate(size, static_cast<std::size_t>(alignment));
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}

namespace lumivoke::bench {

std::uint64_t allocationCount() {
    return gAllocations.load(std::memory_order_relaxed);
}

void reportAllocations(benchmark::State& state, std::uint64_t before, bool mustNotAllocate) {
    const std::uint64_t made = allocationCount() - before;
    state.counters["allocs"] =
        benchmark::Counter(static_cast<double>(made), benchmark::Counter::kAvgIterations);
    if (mustNotAllocate && made > 0) {
        state.SkipWithError("allocated on a path that must not allocate");
    }
}

}  // namespace lumivoke::bench
