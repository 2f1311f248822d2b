#include "bench/support/caches.h"

#include <cstddef>
#include <vector>

namespace wqbench {

void EvictCaches(benchmark::State& state)
{
    static std::vector<char> other(std::size_t{256} << 20);
    state.PauseTiming();
    for (std::size_t i = 0; i < other.size(); i += 64)
        ++other[i];
    benchmark::DoNotOptimize(other.data());
    state.ResumeTiming();
}

}  // namespace wqbench
