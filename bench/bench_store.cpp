// Look-up times over a store of several years: find race, find runner by horse
// and run list. The store is built once in a temporary folder (files written
// whole, as the registration run would leave them) and removed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <unistd.h>

#include "fsys.h"
#include "layouts.h"
#include "lookups.h"
#include "store_paths.h"
#include "um_index.h"

namespace {

using namespace tarvo;

struct Race {
    std::string year, monthDay, jyoCD, raceNum;
};
struct Runner {
    Race race;
    std::string kettoNum;
};

struct Fixture {
    std::string root;
    std::vector<Race> races;
    std::vector<Runner> runners;
    std::vector<std::string> horses;
};

Fixture* fixture = nullptr;

std::string two(int n) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", n);
    return b;
}

// Four years of 104 meeting days at three tracks (two central, one
// local), twelve races of fourteen runners, horses drawn from a pool per year.
Fixture build() {
    Fixture fx;
    fx.root = (std::filesystem::temp_directory_path() / ("tarvo-bench-" + std::to_string(::getpid()))).string() + "/";
    const StorePaths paths(fx.root);
    std::map<std::string, std::string> files;             // path -> contents
    std::map<std::string, std::vector<std::string>> runs;  // kettoNum -> run entries, oldest first
    std::mt19937 rng(7);
    const char* tracks[] = {"05", "06", "44"};
    for (int year = 2018; year <= 2021; ++year) {
        const std::string y = std::to_string(year);
        // Pool of horses born three years before the racing year, spread over every UM group.
        std::vector<std::string> pool;
        for (int i = 0; i < 4000; ++i) {
            char k[16];
            std::snprintf(k, sizeof k, "%04d10%04d", year - 3, i);
            pool.push_back(k);
        }
        for (int day = 0; day < 104; ++day) {
            const std::string md = two(1 + day / 9) + two(1 + day % 9 * 3);  // nine meeting days a month
            for (const char* jyo : tracks) {
                for (int r = 1; r <= 12; ++r) {
                    const Race race{y, md, jyo, two(r)};
                    LineBuilder ra(Family::RA);
                    (void)ra.set("DataKubun", "7");
                    (void)ra.set("Year", y);
                    (void)ra.set("MonthDay", md);
                    (void)ra.set("JyoCD", jyo);
                    (void)ra.set("Kaiji", "01");
                    (void)ra.set("Nichiji", two(day % 8 + 1));
                    (void)ra.set("RaceNum", race.raceNum);
                    (void)ra.set("Kyori", "1600");
                    files[paths.ra(y, md, jyo)] += ra.line();
                    fx.races.push_back(race);
                    for (int u = 1; u <= 14; ++u) {
                        const std::string& ketto = pool[rng() % pool.size()];
                        LineBuilder se(Family::SE, ra.line().substr(0, 25));
                        (void)se.set("Umaban", two(u));
                        (void)se.set("KettoNum", ketto);
                        (void)se.set("Time", "1345");
                        files[paths.se(y, md, jyo)] += se.line();
                        fx.runners.push_back({race, ketto});
                        auto& list = runs[ketto];
                        if (list.empty() || list.back().substr(0, 8) != y + md) list.push_back(y + md + jyo);
                    }
                }
            }
        }
    }
    for (auto& [ketto, list] : runs) {
        std::string runList;
        for (auto it = list.rbegin(); it != list.rend() && runList.size() < 1500; ++it) runList += *it;
        LineBuilder idx(Family::UMIDX);
        (void)idx.set("KettoNum", ketto);
        (void)idx.set("SexCD", "1");
        (void)idx.set("RunList", runList);
        files[paths.um(ketto, "idx")] += idx.line();
        fx.horses.push_back(ketto);
    }
    for (const auto& [path, data] : files) {
        makeDirs(dirName(path));
        writeFileAtomic(path, data);
    }
    std::shuffle(fx.races.begin(), fx.races.end(), rng);
    std::shuffle(fx.runners.begin(), fx.runners.end(), rng);
    std::shuffle(fx.horses.begin(), fx.horses.end(), rng);
    return fx;
}

void BM_FindRace(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    std::size_t i = 0;
    for (auto _ : state) {
        const Race& r = fixture->races[i++ % fixture->races.size()];
        std::string line = findRace(paths, r.year, r.monthDay, r.jyoCD, r.raceNum);
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
        std::string line = findRunnerByHorse(paths, r.race.year, r.race.monthDay, r.race.jyoCD, r.race.raceNum, r.kettoNum);
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
    Fixture fx = build();
    fixture = &fx;
    std::printf("store: %zu races, %zu runners, %zu horses in %s\n", fx.races.size(), fx.runners.size(),
                fx.horses.size(), fx.root.c_str());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(fx.root);
    return 0;
}
