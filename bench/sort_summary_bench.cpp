// Sorting and summarizing a large day of trades.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_data.h"
#include "work/checks/sort_summary.h"

namespace quorvin::bench {
namespace {

void BM_SortEntries(benchmark::State& state) {
  SilentDialogs dialogs;
  SystemClock clock;
  AppContext app(dialogs, clock, "/tmp/");
  Grid day;
  MakeDay(day, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto grid = std::make_unique<Grid>(day);
    state.ResumeTiming();
    SortEntries(app, *grid);
    benchmark::DoNotOptimize(grid->Text(1, col::kBOID));
    state.PauseTiming();
    grid.reset();  // freeing the copy is not the sort's work
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Summarize(benchmark::State& state) {
  SilentDialogs dialogs;
  SystemClock clock;
  AppContext app(dialogs, clock, "/tmp/");
  app.kindCode = "PI";
  app.settings.BrokerID = "204513";
  Grid day;
  MakeDay(day, static_cast<int>(state.range(0)));
  int rowsLeft = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto grid = std::make_unique<Grid>(day);
    state.ResumeTiming();
    Summarize(app, *grid);
    rowsLeft = grid->Rows() - 1;
    state.PauseTiming();
    grid.reset();
    state.ResumeTiming();
  }
  if (dialogs.boxes) state.SkipWithError("Summarize showed a message");
  state.counters["rows_left"] = rowsLeft;
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_SortEntries)
    ->Arg(100000)
    ->Arg(500000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(BM_Summarize)
    ->Arg(100000)
    ->Arg(500000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace
}  // namespace quorvin::bench
