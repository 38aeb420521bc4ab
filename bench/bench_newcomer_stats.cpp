// Making a year of newcomer statistics over the sample world: a generated
// world of one year registered by a setup run, as tools/run.sh makes it.
// Reports the time per year with a warm file cache (the first iteration reads
// the store in) and the number of keys of each table.
//
// TARVO_BENCH_HOME names a program folder already holding such a store (its
// data/ folder) and the year to count as TARVO_BENCH_YEAR; otherwise the world
// of 2025 is generated and registered into a temporary folder first.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "newcomer_stats.h"
#include "sample_home.h"
#include "store_paths.h"

namespace {

using namespace tarvo;

std::string home;
int year = 0;

void BM_MakeYear(benchmark::State& state) {
    const StorePaths paths(home + "data/");
    const std::string fileFolder = home + "bench-file/";
    NewcomerYear made;
    for (auto _ : state) {
        NewcomerProgress progress;
        made = makeNewcomerStatistics(paths, fileFolder, year, progress, [] {});
    }
    state.counters["jockeys"] = static_cast<double>(made.jockeys);
    state.counters["sires"] = static_cast<double>(made.sires);
    state.counters["damsires"] = static_cast<double>(made.damSires);
}
BENCHMARK(BM_MakeYear)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const bench::SampleHome sample("tarvo-bench-newcomer", 2025);
    home = sample.home;
    year = sample.year;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(home + "bench-file/");
    return 0;
}
