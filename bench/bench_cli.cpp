// gomcfgctl's "did you mean": an absurd name must cost no more than a short one, since the name
// comes from a command line or a line of the file.

#include "settings/KeySuggestion.h"

#include <benchmark/benchmark.h>

#include <string>

static void BM_SuggestedSettingKey(benchmark::State& state) {
    // A typo of a real key, padded to the length under test.
    std::string name = "Nfraglimt";
    name.resize(static_cast<std::size_t>(state.range(0)), 'x');
    for (auto _ : state)
        benchmark::DoNotOptimize(SuggestedSettingKey(name));
}
BENCHMARK(BM_SuggestedSettingKey)->Arg(9)->Arg(26)->Arg(1000)->Arg(1 << 20);

BENCHMARK_MAIN();
