// The horse data screen of a horse with 60 runs (six of them at a local track)
// on a store of three years with its track data built, opened from the race
// card of a race after its last run: profile, every run's row with its indices
// and the place counts. Run with a warm file cache: the store was just written.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "bench_fixture.h"
#include "cp932.h"
#include "engine_settings.h"
#include "horse_view.h"
#include "layouts.h"
#include "lookups.h"
#include "record_io.h"
#include "store_paths.h"
#include "textfn.h"
#include "track_variant.h"
#include "um_index.h"

namespace {

using namespace tarvo;

constexpr const char* kHorse = "2016109999";
constexpr int kRuns = 60;

const bench::Store* fixture = nullptr;
RaceKey cardRace;

// Adds the horse to one race of each of 60 meeting days, with its master records.
void addHorse(const StorePaths& paths) {
    std::map<std::string, const bench::Race*> byDate;  // the first race of each date
    for (const bench::Race& r : fixture->races)
        if (r.raceNum == "05" && (r.jyoCD == "06" || (r.jyoCD == "44" && r.monthDay.ends_with("10"))))
            byDate.emplace(r.year + r.monthDay, &r);
    int added = 0;
    for (auto it = byDate.rbegin(); it != byDate.rend() && added < kRuns; ++it, ++added) {
        const bench::Race& r = *it->second;
        LineBuilder se(Family::SE);
        const std::pair<const char*, std::string> fields[] = {
            {"DataKubun", "7"},      {"Year", r.year},        {"MonthDay", r.monthDay},  {"JyoCD", r.jyoCD},
            {"Kaiji", "01"},         {"Nichiji", "01"},       {"RaceNum", r.raceNum},    {"Umaban", "19"},
            {"KettoNum", kHorse},    {"KakuteiJyuni", twoDigits(added % 12 + 1)},        {"Time", "1352"},
            {"HaronTimeL3", "348"},  {"Futan", "570"},        {"TimeDiff", "+004"},      {"Jyuni2c", "05"},
            {"Jyuni3c", "04"},       {"Jyuni4c", "03"},       {"BaTaijyu", "482"},       {"ZogenFugo", "+"},
            {"ZogenSa", "002"},      {"KisyuCode", "00001"},  {"BanusiCode", "000077"},  {"SexCD", "1"}};
        for (const auto& [name, value] : fields) se.assign(name, value);
        se.assign("KisyuRyakusyo", sj("騎手"));
        writeRecord(paths.se(r.year, r.monthDay, r.jyoCD), se.line(), recordKey(Family::SE));
        updateRunList(paths, kHorse, sj("ベンチホース"), r.jyoCD, r.year + r.monthDay, "1");
    }
    // The card's race: the day after the newest run.
    const auto& newest = *byDate.rbegin()->second;
    cardRace = RaceKey(newest.year, newest.monthDay.substr(0, 2) + "28", "06", "11");
    LineBuilder um(Family::UM);
    const std::pair<const char*, std::string> fields[] = {
        {"KettoNum", kHorse},   {"DelKubun", "0"},      {"BirthDate", "20160401"}, {"SexCD", "1"},
        {"KeiroCD", "03"},      {"TozaiCD", "1"},       {"ChokyosiCode", "00001"}, {"BanusiCode", "000077"},
        {"RuikeiSyutokuHeichi", "000123456"},           {"RuikeiHonsyoHeiti", "000100000"}};
    for (const auto& [name, value] : fields) um.assign(name, value);
    um.assign("Bamei", sj("ベンチホース"));
    writeRecord(paths.um(kHorse, "datn"), um.line(), recordKey(Family::UM));
    LineBuilder ra(Family::RA);
    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, std::string>>{
             {"DataKubun", "2"}, {"Year", cardRace.year}, {"MonthDay", cardRace.monthDay}, {"JyoCD", "06"},
             {"Kaiji", "01"}, {"Nichiji", "01"}, {"RaceNum", "11"}, {"TrackCD", "10"}, {"Kyori", "1600"}})
        ra.assign(name, value);
    writeRecord(paths.ra(cardRace.year, cardRace.monthDay, "06"), ra.line(), recordKey(Family::RA));
}

void BM_HorseData(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    const HorseDataOpening opening{kHorse, sj("通常"), cardRace, {}, {}};
    std::size_t rows = 0;
    for (auto _ : state) {
        const HorseData d = horseData({paths, fixture->root + "file/"}, opening, 2026);
        rows = d.runs.size();
        benchmark::DoNotOptimize(d.rows.data());
    }
    state.counters["runs"] = static_cast<double>(rows);
}
BENCHMARK(BM_HorseData)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::StoreSpec spec;
    spec.firstYear = 2019;
    spec.lastYear = 2021;
    const bench::Store fx(spec);
    fixture = &fx;
    const StorePaths paths(fx.root);
    BuilderProgress progress;
    rebuildAllTrackData(paths, fx.root + "tarvo.ini", progress, {});
    addHorse(paths);
    std::printf("store: %zu races in %s, %d track data races; the horse has %zu runs\n", fx.races.size(),
                fx.root.c_str(), progress.raceCount, runEntries(runList(paths, kHorse)).size());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
