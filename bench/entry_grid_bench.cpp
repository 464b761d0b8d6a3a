// The entry grid's row work at 100,000 rows: adding a row, deleting half the
// rows, Auto-Fill, and saving and reloading the day's file.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench_data.h"
#include "day/instruction_files.h"
#include "day/reference_lists.h"
#include "day/row_operations.h"
#include "work/entry/auto_fill.h"

namespace quorvin::bench {
namespace {

struct Day {
  SilentDialogs dialogs;
  FixedClock clock;
  AppContext app{dialogs, clock, "/tmp/"};
  Grid grid{2, kEntryColumns, 1};
  explicit Day(int rows) {
    app.settings = {"204513", "1204510000067342", "1204510000000000",
                    std::filesystem::temp_directory_path().string() + "/"};
    app.kindCode = "PI";
    app.instructionKind = "Pay In";
    std::vector<BORecord> bo{{"S/N", "BO ID", "BO Name", "Client Code"}};
    for (int i = 0; i < rows / 6 + 1; ++i)
      bo.push_back(
          {std::to_string(i + 1), Boid(i), "Client " + std::to_string(i), "C" + std::to_string(i)});
    std::vector<ISINRecord> isin{{"S/N", "ISIN Code", "ISIN Name", "Scrip ID", "Scrip Code"}};
    for (int i = 0; i < 300; ++i)
      isin.push_back({std::to_string(i + 1), Isin(i), "Security " + std::to_string(i),
                      "SCRIP" + std::to_string(i), "1"});
    app.lists.SetBOList(std::move(bo));
    app.lists.SetISINList(std::move(isin));
    MakeDay(grid, rows);
  }
};

void BM_AddRow(benchmark::State& state) {
  Day day(100000);
  for (auto _ : state) AddRow(day.grid);
}
BENCHMARK(BM_AddRow)->Unit(benchmark::kMicrosecond);

void BM_DeleteHalfTheRows(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Day day(100000);
    day.grid.SetSelection(20001, 1, 70000, 1);
    state.ResumeTiming();
    DeleteSelectedRows(day.dialogs, day.grid);
  }
}
BENCHMARK(BM_DeleteHalfTheRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AutoFill(benchmark::State& state) {
  Day day(100000);
  for (auto _ : state) AutoFill(day.app, day.grid, Date{2026, 12, 10});
}
BENCHMARK(BM_AutoFill)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveAndReloadInstructions(benchmark::State& state) {
  Day day(100000);
  for (auto _ : state) {
    SaveInstructions(day.app, day.grid, Date{2026, 12, 10});
    ReloadInstructions(day.app, day.grid, Date{2026, 12, 10});
  }
  std::filesystem::remove(InstructionFilePath(day.app, Date{2026, 12, 10}));
}
BENCHMARK(BM_SaveAndReloadInstructions)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace quorvin::bench
