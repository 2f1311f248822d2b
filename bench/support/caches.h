#pragma once

// Leaving the processor's caches as a program finds them after other work.

#include <benchmark/benchmark.h>

namespace wqbench {

// Sweeps a buffer far larger than the caches, untimed: a case that follows a
// user's command meets its data in memory, not in the caches, whatever its size.
void EvictCaches(benchmark::State& state);

}  // namespace wqbench
