// Track data rebuild over ten years of central races (about 37 000): reports
// races per second. Run with a warm file cache: the first iteration reads the
// store in, the timed ones rebuild from it.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench_fixture.h"
#include "store_paths.h"
#include "track_variant.h"

namespace {

using namespace tarvo;

const bench::Store* fixture = nullptr;

void BM_RebuildAll(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    const std::string settings = fixture->root + "tarvo.ini";  // absent: distidx on
    int races = 0;
    BuilderProgress progress;
    for (auto _ : state) {
        deleteAllTrackData(paths);
        races = rebuildAllTrackData(paths, settings, progress, {});
    }
    state.counters["races"] = races;
    state.counters["races_per_s"] =
        benchmark::Counter(static_cast<double>(races) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RebuildAll)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RaceVariant(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    std::size_t i = 0;
    const std::string key = "\x8e\xc5" "1600";  // 芝1600
    for (auto _ : state) {
        const bench::Race& r = fixture->races[i++ % fixture->races.size()];
        benchmark::DoNotOptimize(raceVariant(paths, {r.year, r.monthDay, r.jyoCD, r.raceNum}, key, true));
    }
}
BENCHMARK(BM_RaceVariant);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::StoreSpec spec;
    spec.firstYear = 2011;
    spec.lastYear = 2020;
    spec.tracks = {"05", "06", "08"};
    spec.daysPerYear = 104;
    const bench::Store fx(spec);
    fixture = &fx;
    std::printf("store: %zu central races in %s\n", fx.races.size(), fx.root.c_str());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
