// Evaluation of every runner of a race (18 runners) on a store of four years
// with its track data built, as the race card does it: allocate the main
// window's table, evaluate each runner in order and store its values; then
// the prediction and marking of such an evaluated race, ordinary and newcomer.
// Last the whole race card build of such a race (header, rows, evaluation,
// aptitude checks, marking, bets), as the main window runs it when a race is
// shown. Then the race card PDF of such a card, written to memory. Run with a
// warm file cache: the store was just written.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>
#include <sstream>

#include "bench_fixture.h"
#include "card_view.h"
#include "cp932.h"
#include "fsys.h"
#include "layouts.h"
#include "newcomer_stats.h"
#include "race_predict.h"
#include "lookups.h"
#include "record_io.h"
#include "runner_eval.h"
#include "runner_tables.h"
#include "engine_settings.h"
#include "textfn.h"
#include "store_paths.h"
#include "track_variant.h"
#include "unit_pdfwr.h"

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

// Predicting and marking one evaluated race of 18 runners, as the race card
// does after the evaluation; jyokenCD5 701 scores it as a newcomer race from
// statistics files of 1500 keys each, read once per race.
void markEvaluatedRace(benchmark::State& state, const char* jyokenCD5) {
    const StorePaths paths(fixture->root);
    {
        const ReadCacheScope cache;
        evaluateRace(paths, lateRaces.front());
    }
    const bench::Race& r = lateRaces.front();
    RunnerTable& table = runnerTable(kMainWindowCaller);
    for (std::size_t i = 0; i < table.size(); ++i) {
        table.marks[kSlotUmaban][i] = std::to_string(i + 1);
        table.odds[i] = std::to_string(2 + i) + ".5";
    }
    const std::string course = sj("芝1600"), going = sj("良");
    const RaceCall call{kMainWindowCaller, r.year, r.monthDay, "13", jyokenCD5, " ", going, course, r.raceNum, r.jyoCD};
    engineSettings() = EngineSettings{};
    engineSettings().oddadd = true;
    for (auto _ : state) {
        markRace({paths, fixture->root + "file/"}, call, static_cast<int>(table.size()));
        benchmark::DoNotOptimize(table.marks[kSlotPcMark].data());
    }
    state.counters["runners"] = static_cast<double>(table.size());
}

void BM_MarkRace(benchmark::State& state) { markEvaluatedRace(state, "005"); }
BENCHMARK(BM_MarkRace)->Unit(benchmark::kMicrosecond);

void BM_MarkNewcomerRace(benchmark::State& state) { markEvaluatedRace(state, "701"); }
BENCHMARK(BM_MarkNewcomerRace)->Unit(benchmark::kMicrosecond);

// The race card of a central race of the last year, one per iteration.
void BM_BuildRaceCard(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    std::size_t i = 0, runners = 0;
    for (auto _ : state) {
        const bench::Race* r = &lateRaces[i++ % lateRaces.size()];
        while (!isCentralTrack(r->jyoCD)) r = &lateRaces[i++ % lateRaces.size()];
        engineSettings() = EngineSettings{};
        engineSettings().kshadd = true;
        const RaceCard card =
            buildRaceCard({paths, fixture->root + "file/"}, RaceKey(r->year, r->monthDay, r->jyoCD, r->raceNum));
        runners = card.rows.size();
        benchmark::DoNotOptimize(card.bets.data());
    }
    state.counters["runners"] = static_cast<double>(runners);
}
BENCHMARK(BM_BuildRaceCard)->Unit(benchmark::kMillisecond);

// The race card PDF of an 18-runner central race of the last year, the card
// (with its runner table) built beforehand: the writing alone, per runner its
// master, aptitude and five past-run look-ups with their indices, the page
// drawing and the document's one-pass output.
void BM_WriteRaceCardPdf(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    const EvalSource src{paths, fixture->root + "file/"};
    struct Built {
        RaceKey race;
        RaceCard card;
        RunnerTable table;
    };
    std::vector<Built> cards;
    for (const bench::Race& r : lateRaces) {
        if (!isCentralTrack(r.jyoCD)) continue;
        engineSettings() = EngineSettings{};
        const RaceKey key(r.year, r.monthDay, r.jyoCD, r.raceNum);
        RaceCard card = buildRaceCard(src, key);
        cards.push_back({key, std::move(card), runnerTable(kMainWindowCaller)});
        if (cards.size() == 20) break;
    }
    std::size_t i = 0, bytes = 0;
    for (auto _ : state) {
        const Built& c = cards[i++ % cards.size()];
        std::ostringstream out;
        writeRaceCardPdf(src, cardPdfRace(c.card, c.race), c.card, c.table, out);
        bytes = out.str().size();
    }
    state.counters["runners"] = static_cast<double>(cards.front().card.rows.size());
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteRaceCardPdf)->Unit(benchmark::kMillisecond);

// Statistics files of the year before the last for every table, 1500 keys each.
void writeNewcomerStatistics(const std::string& fileFolder, int year) {
    makeDirs(newcomerFolder(fileFolder));
    const std::string blocks = placeBlockText(3, 2, 1, 20) + std::string(63, '0');
    for (const NewcomerTable t : {NewcomerTable::Jockey, NewcomerTable::Sire, NewcomerTable::DamSire}) {
        std::string text;
        for (std::size_t k = 0; k < kMaxNewcomerKeys; ++k) {
            const std::string key = std::to_string(10000 + k);
            text += (t == NewcomerTable::Jockey ? padRight("Rider", 8) + key.substr(0, 5) : padRight(key, 36)) +
                    blocks + "\r\n";
        }
        writeFileAtomic(newcomerFile(fileFolder, t, year), text);
    }
}

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
    writeNewcomerStatistics(fx.root + "file/", spec.lastYear - 1);
    std::printf("store: %zu races in %s, %d track data races, %zu races evaluated in turn\n", fx.races.size(),
                fx.root.c_str(), progress.raceCount, lateRaces.size());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
