// The jockey list over every KS record of a ten-year store (600 jockeys,
// warm file cache: the first iteration reads the files in), and sorting the
// loaded list by a heading, for the jockey and the trainer list.
#include <benchmark/benchmark.h>

#include "bench_fixture.h"
#include "person_view.h"

namespace {

using namespace tarvo;

const bench::Store& store() {
    static const bench::Store s([] {
        bench::StoreSpec spec;
        spec.firstYear = 2016;
        spec.lastYear = 2025;
        spec.daysPerYear = 0;  // no races: the lists read only the master records
        spec.jockeys = 600;
        spec.trainers = 600;
        return spec;
    }());
    return s;
}

const PersonKind& kindOf(const benchmark::State& state) { return state.range(0) == 0 ? kJockeys : kTrainers; }

void BM_LoadList(benchmark::State& state) {
    const StorePaths paths(store().root);
    PersonListFilter filter;
    filter.retired = true;
    std::size_t rows = 0;
    for (auto _ : state) {
        PersonList list = loadPersonList(kindOf(state), paths, filter, 2025);
        PersonSort sort;
        applySort(kindOf(state), sort, list.rows);
        rows = list.rows.size();
        benchmark::DoNotOptimize(list);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_LoadList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A click on a heading: the career win rate (two numeric keys) and the year heading (five keys).
void BM_SortByHeading(benchmark::State& state) {
    const PersonKind& kind = kindOf(state);
    PersonListFilter filter;
    filter.retired = true;
    const PersonList list = loadPersonList(kind, StorePaths(store().root), filter, 2025);
    const char* heading = state.range(1) == 0 ? "lbl_ToWrate" : "lbl_chaku";
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<ViewRow> rows = list.rows;
        PersonSort sort{"lbl_Name", "lbl_Name", "asc"};
        state.ResumeTiming();
        clickHeading(kind, sort, heading);
        applySort(kind, sort, rows);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_SortByHeading)->Args({0, 0})->Args({0, 1})->Args({1, 0})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
