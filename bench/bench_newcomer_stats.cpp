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

#include "jvlink_emu.h"
#include "newcomer_stats.h"
#include "registration.h"
#include "startup.h"
#include "std_tables.h"
#include "store_paths.h"
#include "textfn.h"
#include "wg_world.h"

namespace {

using namespace tarvo;

std::string home;
int year = 2025;

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

// The sample world of 2025, registered by a setup run below folder.
void makeSampleStore(const std::string& folder) {
    worldgen::Options o;
    o.out = folder + "world";
    worldgen::Day::parse("20250101", o.from);
    worldgen::Day::parse("20251231", o.to);
    worldgen::generateWorld(o);
    buildStandardTimeTables();
    JVLinkEmulator jv(folder);
    jv.overrideSource(o.out + "/");
    jv.JVInit(kSoftwareId);
    RegistrationView view;
    RegistrationRun run(jv, folder + "tarvo.ini", StorePaths(folder + "data/"), view);
    run.run(RunKind::Setup, "20250101");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::string temp;
    if (const char* h = std::getenv("TARVO_BENCH_HOME")) {
        home = h;
        if (home.back() != '/') home += '/';
        if (const char* y = std::getenv("TARVO_BENCH_YEAR")) year = toIntDef(y, year);
    } else {
        temp = (std::filesystem::temp_directory_path() / "tarvo-bench-newcomer/").string();
        std::filesystem::remove_all(temp);
        std::filesystem::create_directories(temp);
        std::printf("making the sample world of 2025 in %s ...\n", temp.c_str());
        makeSampleStore(temp);
        home = temp;
    }
    std::printf("store: %sdata/, year %d\n", home.c_str(), year);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(home + "bench-file/");
    if (!temp.empty()) std::filesystem::remove_all(temp);
    return 0;
}
