// Look-up times over a store of several years: find race, find runner by horse
// and run list. The store is built once in a temporary folder (files written
// whole, as the registration run would leave them) and removed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <unistd.h>

#include "bench_fixture.h"
#include "layouts.h"
#include "lookups.h"
#include "store_paths.h"
#include "um_index.h"

namespace {

using namespace tarvo;

using bench::Race;
using bench::Runner;

const bench::Store* fixture = nullptr;

void BM_FindRace(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    std::size_t i = 0;
    for (auto _ : state) {
        const Race& r = fixture->races[i++ % fixture->races.size()];
        std::string line = findRace(paths, {r.year, r.monthDay, r.jyoCD, r.raceNum});
        if (line.empty()) state.SkipWithError("race not found");
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(BM_FindRace);

void BM_FindRunnerByHorse(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    std::size_t i = 0;
    for (auto _ : state) {
        const Runner& r = fixture->runners[i++ % fixture->runners.size()];
        std::string line = findRunnerByHorse(paths, {r.race.year, r.race.monthDay, r.race.jyoCD, r.race.raceNum}, r.kettoNum);
        if (line.empty()) state.SkipWithError("runner not found");
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(BM_FindRunnerByHorse);

void BM_RunList(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    std::size_t i = 0;
    for (auto _ : state) {
        std::string list = runList(paths, fixture->horses[i++ % fixture->horses.size()]);
        if (list.empty()) state.SkipWithError("run list empty");
        benchmark::DoNotOptimize(list);
    }
}
BENCHMARK(BM_RunList);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const bench::Store fx{bench::StoreSpec{}};
    fixture = &fx;
    std::printf("store: %zu races, %zu runners, %zu horses in %s\n", fx.races.size(), fx.runners.size(),
                fx.horses.size(), fx.root.c_str());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
