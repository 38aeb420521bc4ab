// Storing speed of a setup: a sample world generated once into a temporary
// folder, registered by a setup into a fresh store per iteration. Reports the
// raw JV-Data stored per second (bytes_per_second, MB_per_s).
//
// TARVO_BENCH_MONTHS sets the length of the world (default 3 months from January).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "jvlink_emu.h"
#include "registration.h"
#include "store_paths.h"
#include "wg_world.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;

struct World {
    std::string root;    // temporary folder: source/ and one home per iteration
    std::string source;  // the generated files
    std::uintmax_t bytes = 0;
};

World* world = nullptr;

// Drives the download timer the way the screen's event loop does.
struct TickingView : RegistrationView {
    void pump() override {
        if (run && run->downloadTimerEnabled()) run->downloadTimerTick();
    }
    RegistrationRun* run = nullptr;
};

void makeWorld() {
    static World w;
    w.root = (fs::temp_directory_path() / ("tarvo_bench_setup_" + std::to_string(::getpid()))).string() + "/";
    w.source = w.root + "source";
    const char* env = std::getenv("TARVO_BENCH_MONTHS");
    const int months = env ? std::max(1, std::atoi(env)) : 3;
    worldgen::Options o;
    o.out = w.source;
    worldgen::Day::parse("20240101", o.from);
    const int endMonth = (months - 1) % 12 + 1, endYear = 2024 + (months - 1) / 12;
    char to[16];
    std::snprintf(to, sizeof to, "%04d%02d28", endYear, endMonth);
    worldgen::Day::parse(to, o.to);
    o.seed = 7;
    worldgen::generateWorld(o);
    for (const auto& e : fs::recursive_directory_iterator(w.source))
        if (e.is_regular_file()) w.bytes += e.file_size();
    w.source += "/";
    world = &w;
}

void BM_SetupStore(benchmark::State& state) {
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string home = world->root + "home" + std::to_string(n++) + "/";
        fs::create_directories(home);
        state.ResumeTiming();
        JVLinkEmulator jv(home);
        jv.overrideSource(world->source);
        if (jv.JVInit("TARVOBENCH") != 0) state.SkipWithError("JVInit failed");
        TickingView view;
        RegistrationRun run(jv, home + "tarvo.ini", StorePaths(home + "data/"), view);
        view.run = &run;
        if (run.run(RunKind::Setup, "20240101") != RunResult::Completed) state.SkipWithError("setup failed");
        state.PauseTiming();
        fs::remove_all(home);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(world->bytes) * state.iterations());
    state.counters["source_MB"] = static_cast<double>(world->bytes) / 1e6;
    state.counters["MB_per_s"] = benchmark::Counter(static_cast<double>(world->bytes) / 1e6 *
                                                        static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SetupStore)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tarvo

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    tarvo::makeWorld();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(tarvo::world->root);
    return 0;
}
