// The horse search over every UM record and the race search over ten years of
// RA records, with a warm file cache (the first iteration reads the files in),
// and the longest step between two progress calls: the most a "検索中止"
// waits before the scan stops.
//
// The store is TARVO_BENCH_STORE when that names one (e.g. a registered
// ten-year sample world), else one built here: 100 000 horse records and the
// races of ten years.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>

#include "bench_fixture.h"
#include "cp932.h"
#include "fsys.h"
#include "layouts.h"
#include "record_io.h"
#include "search_view.h"
#include "textfn.h"

namespace {

using namespace tarvo;

// The built store: the fixture's races of ten years, and horse records written whole per UM file.
struct BuiltStore {
    bench::Store races;
    explicit BuiltStore(int horses) : races([] {
        bench::StoreSpec spec;
        spec.firstYear = 2016;
        spec.lastYear = 2025;
        spec.tracks = {"05", "06", "08", "09"};
        return spec;
    }()) {
        const StorePaths paths(races.root);
        std::map<std::string, std::string> files;
        const char* names[] = {"サクラ", "キング", "ローズ", "スター", "ゴールド", "ダイヤ", "ブルー", "シャドウ"};
        for (int i = 0; i < horses; ++i) {
            const int birth = 2004 + i % 20;
            const std::string serial = std::to_string(100000 + i / 20).substr(1);
            LineBuilder b(Family::UM);
            b.assign("DataKubun", "1");
            b.assign("KettoNum", std::to_string(birth) + "1" + serial);
            b.assign("DelKubun", i % 3 == 0 ? "0" : "1");
            b.assign("BirthDate", std::to_string(birth) + "0401");
            b.assign("Bamei", sj(names[i % 8]) + sj(names[(i / 8) % 8]) + std::to_string(i));
            b.assign("SexCD", std::to_string(1 + i % 3));
            b.assign("TozaiCD", std::to_string(1 + i % 2));
            b.assign("ChokyosiCode", "01" + std::to_string(100 + i % 300));
            b.assign("ChokyosiRyakusyo", sj(names[i % 7]));
            b.assign("Ketto3InfoBamei1", sj(names[(i / 3) % 8]) + sj("インパクト"));
            b.assign("Ketto3InfoBamei2", sj(names[(i / 5) % 8]) + sj("レディ"));
            b.assign("Ketto3InfoBamei5", sj(names[(i / 7) % 8]) + sj("ボーイ"));
            b.assign("BanusiName", sj("株式会社　") + sj(names[i % 5]));
            files[paths.file(Family::UM, b.line())] += b.line();
        }
        // The fixture's races get the codes the default criteria check, so that every race matches.
        for (const std::string& path : walkDirectory(races.root + "RA/", "*.dat", true))
            forEachLine(path, [&](std::string_view line) {
                LineBuilder b(Family::RA, line);
                b.assignRaw("KigoCD", "A00");
                b.assign("JyuryoCD", "4");
                b.assign("SibaBabaCD", "1");
                b.assign("HaronTimeS3", "350");
                files[path] += b.line();
                return true;
            });
        for (const auto& [path, text] : files) {
            makeDirs(dirName(path));
            writeFileAtomic(path, text);
        }
    }
};

std::string storeRoot() {
    if (const char* env = std::getenv("TARVO_BENCH_STORE")) return env;
    static const std::unique_ptr<BuiltStore> built = std::make_unique<BuiltStore>(100000);
    return built->races.root;
}

// Progress calls that note the longest time between two steps.
struct StepClock {
    using Clock = std::chrono::steady_clock;
    Clock::time_point last = Clock::now();
    double longestMs = 0;
    int files = 0;
    ScanProgress progress() {
        return [this](int, int all) {
            const Clock::time_point now = Clock::now();
            longestMs = std::max(longestMs, std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
            files = all;
            return true;
        };
    }
};

void report(benchmark::State& state, const SearchResult& r, const StepClock& clock) {
    state.counters["rows"] = static_cast<double>(r.rows.size());
    state.counters["files"] = clock.files;
    state.counters["longest_step_ms"] = clock.longestMs;
}

// Arg 0: the screen's default criteria; 1: a name part, which matches few.
void BM_HorseSearch(benchmark::State& state) {
    const StorePaths paths(storeRoot());
    HorseCriteria c;
    if (state.range(0) == 1) c.name.text = sj("ダイヤ");
    SearchResult r;
    StepClock clock;
    for (auto _ : state) {
        clock.last = StepClock::Clock::now();
        r = searchHorses(paths, c, 2026, clock.progress());
        benchmark::DoNotOptimize(r);
    }
    report(state, r, clock);
}
BENCHMARK(BM_HorseSearch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The ten years with every box checked, and with a name part.
void BM_RaceSearch(benchmark::State& state) {
    const StorePaths paths(storeRoot());
    RaceCriteria c;
    c.from = "20160101";
    c.to = "20251231";
    if (state.range(0) == 1) c.name = sj("記念");
    SearchResult r;
    StepClock clock;
    for (auto _ : state) {
        clock.last = StepClock::Clock::now();
        r = searchRaces(paths, c, clock.progress());
        benchmark::DoNotOptimize(r);
    }
    report(state, r, clock);
}
BENCHMARK(BM_RaceSearch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
