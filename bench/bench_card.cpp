// The whole race card build of a race with 18 runners (header, rows, runner
// evaluation, aptitude checks, marking, bets) on a store of four years with
// its track data built, as the main window runs it when a race is shown. Run
// with a warm file cache: the store was just written.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench_fixture.h"
#include "card_view.h"
#include "engine_settings.h"
#include "store_paths.h"
#include "track_variant.h"

namespace {

using namespace tarvo;

const bench::Store* fixture = nullptr;
std::vector<bench::Race> lateRaces;  // central races of the last year, whose runners have past runs

void BM_BuildRaceCard(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    std::size_t i = 0, runners = 0;
    for (auto _ : state) {
        const bench::Race& r = lateRaces[i++ % lateRaces.size()];
        engineSettings() = EngineSettings{};
        engineSettings().kshadd = true;
        const RaceCard card =
            buildRaceCard({paths, fixture->root + "file/"}, RaceKey(r.year, r.monthDay, r.jyoCD, r.raceNum));
        runners = card.rows.size();
        benchmark::DoNotOptimize(card.bets.data());
    }
    state.counters["runners"] = static_cast<double>(runners);
}
BENCHMARK(BM_BuildRaceCard)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::StoreSpec spec;
    spec.runnersPerRace = 18;
    const bench::Store fx(spec);
    fixture = &fx;
    const StorePaths paths(fx.root);
    BuilderProgress progress;
    rebuildAllTrackData(paths, fx.root + "tarvo.ini", progress, {});
    for (const bench::Race& r : fx.races)
        if (r.year == std::to_string(spec.lastYear) && r.monthDay >= "0601" && isCentralTrack(r.jyoCD))
            lateRaces.push_back(r);
    std::printf("store: %zu races, %zu central races of the last year built in turn\n", fx.races.size(),
                lateRaces.size());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
