// The odds batch "オ" of the same-day updates over a race day: a sample world
// whose --today day has three central meetings (36 races, every odds spec) is
// generated and registered once; each iteration copies that store and runs the
// batch over the day's race list with the emulator at rate 0.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "jvlink_emu.h"
#include "live_fetch.h"
#include "race_list.h"
#include "registration.h"
#include "store_paths.h"
#include "wg_world.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kToday = "20240203";  // a Saturday of three central meetings

struct Day {
    std::string root, source, store;
    std::vector<RaceKey> races;
};
Day* day = nullptr;

void makeDay() {
    static Day d;
    d.root = (fs::temp_directory_path() / ("tarvo_bench_live_" + std::to_string(::getpid()))).string() + "/";
    d.source = d.root + "source/";
    d.store = d.root + "home/data/";
    worldgen::Options o;
    o.out = d.source;
    worldgen::Day::parse("20240101", o.from);
    worldgen::Day::parse("20240202", o.to);
    worldgen::Day today;
    worldgen::Day::parse(kToday, today);
    o.today = today;
    o.seed = 7;
    worldgen::generateWorld(o);
    JVLinkEmulator jv(d.root + "home/");
    jv.overrideSource(d.source);
    jv.JVInit("TARVOBENCH");
    RegistrationView quiet;
    RegistrationRun(jv, d.root + "home/tarvo.ini", StorePaths(d.store), quiet).run(RunKind::Setup, "20240101");
    for (const std::string& line : listRaces(StorePaths(d.store), "2024", "0203").lines) {
        const RaceLineParts p = readRaceListLine(line);
        d.races.emplace_back("2024", "0203", p.jyoCD, p.raceNum);
    }
    day = &d;
}

void BM_OddsBatch(benchmark::State& state) {
    if (day->races.size() < 36) state.SkipWithError("the day has fewer than 36 races");
    int n = 0;
    std::size_t fetched = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string home = day->root + "run" + std::to_string(n++) + "/";
        fs::create_directories(home);
        fs::copy(day->store, home + "data/", fs::copy_options::recursive);
        state.ResumeTiming();
        JVLinkEmulator jv(home);
        jv.overrideSource(day->source);
        if (jv.JVInit("TARVOBENCH") != 0) state.SkipWithError("JVInit failed");
        LiveView quiet;
        LiveUpdates live(jv, StorePaths(home + "data/"), quiet);
        live.runBatch(BatchKind::Odds, kToday, day->races, true,
                      [&](const BatchStep& s) { fetched += s.actions.find("odds") != std::string::npos; });
        state.PauseTiming();
        fs::remove_all(home);
        state.ResumeTiming();
    }
    state.counters["races"] = static_cast<double>(day->races.size());
    state.counters["odds_fetched_per_batch"] = static_cast<double>(fetched) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_OddsBatch)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tarvo

int main(int argc, char** argv) {
    tarvo::makeDay();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(tarvo::day->root);
    return 0;
}
