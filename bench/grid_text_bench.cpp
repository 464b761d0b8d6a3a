// Writing and reading a whole 13-column grid of a million rows in the grid
// text format, column widening included.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench_data.h"
#include "ground/grid_text.h"

namespace quorvin::bench {
namespace {

std::string TempPath() {
  return (std::filesystem::temp_directory_path() / "quorvin-grid-text-bench.txt").string();
}

void BM_SaveGridText(benchmark::State& state) {
  SilentDialogs dialogs;
  Grid grid(2, kEntryColumns, 1);
  MakeDay(grid, static_cast<int>(state.range(0)));
  std::string path = TempPath();
  for (auto _ : state) SaveGridText(dialogs, grid, path);
  state.SetBytesProcessed(state.iterations() * std::filesystem::file_size(path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveGridText)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadGridText(benchmark::State& state) {
  SilentDialogs dialogs;
  Grid grid(2, kEntryColumns, 1);
  MakeDay(grid, static_cast<int>(state.range(0)));
  std::string path = TempPath();
  SaveGridText(dialogs, grid, path);
  for (auto _ : state) {
    Grid loaded(2, kEntryColumns, 1);
    LoadGridText(dialogs, path, loaded);
    benchmark::DoNotOptimize(loaded.Rows());
  }
  state.SetBytesProcessed(state.iterations() * std::filesystem::file_size(path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadGridText)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace quorvin::bench
