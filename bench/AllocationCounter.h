#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

namespace lumivoke::bench {

/// How many times this program has allocated through the global operator new since it started.
std::uint64_t allocationCount();

/// Reports the allocations made since before, per iteration, as the counter "allocs"; a
/// benchmark of a path that must not allocate fails when it did.
void reportAllocations(benchmark::State& state, std::uint64_t before, bool mustNotAllocate);

}  // namespace lumivoke::bench
