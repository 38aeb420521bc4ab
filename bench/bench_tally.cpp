// The prediction results tally of a year of central races of the sample
// world with PC marks (every race evaluated and marked), as the screen runs
// it with its starting inputs. Reports the time per year and the races
// tallied; the first iteration reads the store in.
//
// TARVO_BENCH_HOME and TARVO_BENCH_YEAR name a program folder and year
// (sample_home.h); otherwise the world of 2025 is generated first.
#include <benchmark/benchmark.h>

#include <optional>

#include "engine_settings.h"
#include "sample_home.h"
#include "store_paths.h"
#include "tally_view.h"

namespace {

using namespace tarvo;

std::optional<bench::SampleHome> sample;

void BM_TallyYear(benchmark::State& state) {
    const StorePaths paths(sample->home + "data/");
    TallyOptions o;
    o.from = std::to_string(sample->year) + "0101";
    o.to = std::to_string(sample->year) + "1231";
    TallyResult r;
    for (auto _ : state) {
        loadEngineSettings(sample->home + "tarvo.ini");
        r = runTally({paths, sample->home + "file/"}, o);
    }
    state.counters["races"] = static_cast<double>(r.races.size());
    state.counters["bought"] = static_cast<double>(r.predicted);
}
BENCHMARK(BM_TallyYear)->Unit(benchmark::kSecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    sample.emplace("tarvo-bench-tally", 2025);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sample.reset();
    return 0;
}
