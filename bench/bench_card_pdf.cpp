// The race card PDF of an 18-runner central race, written to memory: the
// card (with its runner table) is built beforehand, so the time is the
// writing alone: per runner its master, aptitude and five past-run look-ups
// with their indices, the page drawing, and the document's one-pass output.
// A store of four years with its track data built, as the race card sees it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <sstream>

#include "bench_fixture.h"
#include "card_view.h"
#include "engine_settings.h"
#include "runner_tables.h"
#include "store_paths.h"
#include "track_variant.h"
#include "unit_pdfwr.h"

namespace {

using namespace tarvo;

struct BuiltCard {
    RaceKey race;
    RaceCard card;
    RunnerTable table;
};

const bench::Store* fixture = nullptr;
std::vector<BuiltCard> cards;  // central races of the last year

void BM_WriteRaceCardPdf(benchmark::State& state) {
    const StorePaths paths(fixture->root);
    const EvalSource src{paths, fixture->root + "file/"};
    std::size_t i = 0, bytes = 0;
    for (auto _ : state) {
        const BuiltCard& c = cards[i++ % cards.size()];
        std::ostringstream out;
        writeRaceCardPdf(src, cardPdfRace(c.card, c.race), c.card, c.table, out);
        bytes = out.str().size();
    }
    state.counters["runners"] = static_cast<double>(cards.front().card.rows.size());
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteRaceCardPdf)->Unit(benchmark::kMillisecond);

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
    for (const bench::Race& r : fx.races) {
        if (r.year != std::to_string(spec.lastYear) || r.monthDay < "0601" || !isCentralTrack(r.jyoCD)) continue;
        engineSettings() = EngineSettings{};
        const RaceKey key(r.year, r.monthDay, r.jyoCD, r.raceNum);
        RaceCard card = buildRaceCard({paths, fx.root + "file/"}, key);
        cards.push_back({key, std::move(card), runnerTable(kMainWindowCaller)});
        if (cards.size() == 20) break;
    }
    std::printf("store: %zu races in %s, %zu cards written in turn\n", fx.races.size(), fx.root.c_str(), cards.size());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
