// The problems pane's cost per edit at 1,000,000 rows, with a holding report
// in use: one Quantity cell written, then the counts and the list published
// as the pane asks for them, and a line of it read. And the first reading of
// every row.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_data.h"
#include "windows/row_problems.h"

namespace quorvin::bench {
namespace {

struct Day {
  SilentDialogs dialogs;
  FixedClock clock;
  AppContext app{dialogs, clock, "/tmp/"};
  Grid grid{2, kEntryColumns, 1};
  RowProblems problems{app, grid};
  explicit Day(int rows) {
    app.kindCode = "PI";
    app.instructionKind = "Pay In";
    MakeDay(grid, rows);
    problems.SetSettlementDate(Date{2026, 12, 10});
    problems.UseHoldingReport(
        std::make_shared<const HoldingFile>(MakeHoldingFile(rows / 3, rows / 6)));
  }
};

void BM_EditAtAMillionRows(benchmark::State& state) {
  Day day(1'000'000);
  day.problems.Publish();
  int r = 1, i = 0;
  for (auto _ : state) {
    r = r * 7919 % 1'000'000 + 1;
    // A text the cell has not held, or the write changes nothing.
    ++i;
    day.grid.SetText(r, col::kQuantity, i % 3 == 0 ? "-" + std::to_string(i) : std::to_string(i));
    benchmark::DoNotOptimize(day.problems.Total());
    day.problems.Publish();
    benchmark::DoNotOptimize(day.problems.At(day.problems.Listed() / 2));
  }
  state.counters["problems"] = static_cast<double>(day.problems.Listed());
}
BENCHMARK(BM_EditAtAMillionRows)->Unit(benchmark::kMicrosecond);

void BM_FirstReadingOfAMillionRows(benchmark::State& state) {
  Day day(1'000'000);
  for (auto _ : state) {
    day.problems.KindChanged();
    benchmark::DoNotOptimize(day.problems.Total());
  }
}
BENCHMARK(BM_FirstReadingOfAMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace quorvin::bench
