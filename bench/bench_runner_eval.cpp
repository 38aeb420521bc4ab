// Evaluation of every runner of a race (18 runners) on a store of four years
// with its track data built, as the race card does it: allocate the main
// window's table, evaluate each runner in order and store its values. Run
// with a warm file cache: the store was just written.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>

#include "bench_fixture.h"
#include "cp932.h"
#include "fsys.h"
#include "layouts.h"
#include "lookups.h"
#include "record_io.h"
#include "runner_eval.h"
#include "runner_tables.h"
#include "store_paths.h"
#include "track_variant.h"

namespace {

using namespace tarvo;

const bench::Store* fixture = nullptr;
std::vector<bench::Race> lateRaces;  // races of the last year, whose runners have past runs

// The race's runners as the race card reads them, evaluated into the main window's table.
void evaluateRace(const StorePaths& paths, const bench::Race& r) {
    const RaceKey key(r.year, r.monthDay, r.jyoCD, r.raceNum);
    const std::vector<std::string> lines = readLines(paths.file(Family::SE, key));
    std::vector<std::string> runners;
    for (const std::string& line : lines)
        if (RaceKey::of(Family::SE, line) == key) runners.push_back(line);
    RunnerTable& table = allocateRunnerTable(kMainWindowCaller, runners.size());
    const std::string course = sj("芝1600");
    for (std::size_t i = 0; i < runners.size(); ++i) {
        auto f = [&](std::string_view name) { return getField(Family::SE, runners[i], name); };
        RunnerCall c;
        c.caller = kMainWindowCaller;
        c.year = r.year;
        c.monthDay = r.monthDay;
        c.kettoNum = f("KettoNum");
        c.kisyuCode = f("KisyuCode");
        c.kisyuCodeBefore = f("KisyuCodeBefore");
        c.chokyosiCode = f("ChokyosiCode");
        c.courseKey = course;
        c.weightKg = "55.0";
        c.jyokenCD5 = "005";
        c.gradeCD = " ";
        c.jyuryoCD = "2";
        c.baTaijyu = f("BaTaijyu");
        c.sexCD = f("SexCD");
        c.row = static_cast<int>(i) + 1;
        table.kettoNums[i] = c.kettoNum;
        storeEvaluation(table, i, evaluateRunner({paths, fixture->root + "file/"}, c));
    }
    benchmark::DoNotOptimize(table.marks[31].data());
}

// One race per iteration, the day files read once for the race.
void BM_EvaluateRace(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    std::size_t i = 0;
    for (auto _ : state) {
        const ReadCacheScope cache;
        evaluateRace(paths, lateRaces[i++ % lateRaces.size()]);
    }
    state.counters["runners"] = static_cast<double>(runnerTable(kMainWindowCaller).size());
}
BENCHMARK(BM_EvaluateRace)->Unit(benchmark::kMillisecond);

// The same without the race-wide cache: each runner reads its own files once.
void BM_EvaluateRacePerRunnerCache(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    std::size_t i = 0;
    for (auto _ : state) evaluateRace(paths, lateRaces[i++ % lateRaces.size()]);
}
BENCHMARK(BM_EvaluateRacePerRunnerCache)->Unit(benchmark::kMillisecond);

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
        if (r.year == std::to_string(spec.lastYear) && r.monthDay >= "0601") lateRaces.push_back(r);
    std::printf("store: %zu races in %s, %d track data races, %zu races evaluated in turn\n", fx.races.size(),
                fx.root.c_str(), progress.raceCount, lateRaces.size());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
