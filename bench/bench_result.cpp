// The race result screen and the odds list over a four-year store of 18-runner
// races with its track data built: opening the result screen of a race
// (evaluation, marks, grid with the run indices, payouts), and building the
// trifecta matrix of an 18-runner race from a full trifecta odds record. Run
// with a warm file cache: the store was just written.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench_fixture.h"
#include "cp932.h"
#include "engine_settings.h"
#include "layouts.h"
#include "odds_view.h"
#include "record_io.h"
#include "result_view.h"
#include "store_paths.h"
#include "textfn.h"
#include "track_variant.h"

namespace {

using namespace tarvo;

const bench::Store* fixture = nullptr;
std::vector<bench::Race> lateRaces;  // races of the last year, whose runners have past runs

RaceKey keyOf(const bench::Race& r) { return RaceKey(r.year, r.monthDay, r.jyoCD, r.raceNum); }

// The result screen as "過去" opens it, one race per iteration.
void BM_OpenRaceResult(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    std::size_t i = 0, rows = 0;
    for (auto _ : state) {
        engineSettings() = EngineSettings{};
        const RaceResult r = raceResult({paths, fixture->root + "file/"}, keyOf(lateRaces[i++ % lateRaces.size()]),
                                        kResultCaller, false);
        rows = r.view.grids.front().rows.size() - 1;
        benchmark::DoNotOptimize(r.view.grids.data());
    }
    state.counters["runners"] = static_cast<double>(rows);
}
BENCHMARK(BM_OpenRaceResult)->Unit(benchmark::kMillisecond);

// Every trifecta of 18 horses in one stored O6 record, in number order.
void writeTrifectaOdds(const StorePaths& paths, const RaceKey& race) {
    LineBuilder b(Family::O6);
    b.assign("DataKubun", "1");
    b.assign("Year", race.year);
    b.assign("MonthDay", race.monthDay);
    b.assign("JyoCD", race.jyoCD);
    b.assign("Kaiji", "01");
    b.assign("Nichiji", "01");
    b.assign("RaceNum", race.raceNum);
    b.assign("HappyoTime", race.monthDay + "1430");
    int e = 0;
    for (int a = 1; a <= 18; ++a)
        for (int c = 1; c <= 18; ++c)
            for (int d = 1; d <= 18; ++d) {
                if (a == c || a == d || c == d) continue;
                char element[32];
                std::snprintf(element, sizeof element, "%02d%02d%02d%07d%04d", a, c, d, 100 + e, e % 4896 + 1);
                b.assignRaw("OddsSantan" + std::to_string(++e), element);
            }
    writeRecord(paths.file(Family::O6, race), b.line(), recordKey(Family::O6));
}

void BM_TrifectaMatrix(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    const RaceKey race = keyOf(lateRaces.front());
    std::vector<OddsRunner> runners;
    for (int u = 1; u <= 18; ++u) runners.push_back({twoDigits(u), sj("ウマ")});
    int fixed = 0;
    for (auto _ : state) {
        const OddsMatrix m = oddsMatrix(paths, race, OddsType::Sanrentan, runners, fixed++ % 18 + 1);
        benchmark::DoNotOptimize(m.rows.data());
    }
}
BENCHMARK(BM_TrifectaMatrix)->Unit(benchmark::kMillisecond);

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
    writeTrifectaOdds(paths, keyOf(lateRaces.front()));
    std::printf("store: %zu races in %s, %zu races opened in turn\n", fx.races.size(), fx.root.c_str(),
                lateRaces.size());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
