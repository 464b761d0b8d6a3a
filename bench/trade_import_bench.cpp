// Importing a broker's trade file of a million lines, half of them sells,
// with its lookups against a 100k-record BO list, then the sort that follows.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <random>

#include "bench_data.h"
#include "work/checks/sort_summary.h"
#include "work/import/trade_import.h"

namespace quorvin::bench {
namespace {

std::string WriteTradeFile(int lines, int accounts, int securities) {
  std::mt19937 rng(5);
  std::string text;
  text.reserve(static_cast<size_t>(lines) * 90);
  for (int i = 0; i < lines; ++i) {
    if (i) text += "\r\n";
    int account = static_cast<int>(rng() % accounts);
    int security = (account * 7 + static_cast<int>(rng() % 3)) % securities;
    text += std::to_string(700000 + i) + "|SCRIP" + std::to_string(security) + "|A|" +
            (rng() % 2 ? "S" : "B") + "|" + std::to_string(1 + rng() % 5000) + "|41.50|C" +
            std::to_string(account) + "|12450.00|T02|13:05:11|08/12/2026|10/12/2026";
  }
  std::string path =
      (std::filesystem::temp_directory_path() / "payin_10-Dec-2026.bench.txt").string();
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  return path;
}

void BM_ImportMillionTradesAndSort(benchmark::State& state) {
  SilentDialogs dialogs;
  FixedClock clock;
  AppContext app(dialogs, clock, "/tmp/");
  app.kindCode = "PI";
  app.instructionKind = "Pay In";
  std::vector<BORecord> bo{{"S/N", "BO ID", "BO Name", "Client Code"}};
  for (int i = 0; i < 100000; ++i)
    bo.push_back(
        {std::to_string(i + 1), Boid(i), "Client " + std::to_string(i), "C" + std::to_string(i)});
  std::vector<ISINRecord> isin{{"S/N", "ISIN Code", "ISIN Name", "Scrip ID", "Scrip Code"}};
  for (int i = 0; i < 2000; ++i)
    isin.push_back({std::to_string(i + 1), Isin(i), "Security " + std::to_string(i),
                    "SCRIP" + std::to_string(i), "1"});
  app.lists.SetBOList(std::move(bo));
  app.lists.SetISINList(std::move(isin));
  std::string path = WriteTradeFile(1000000, 100000, 2000);
  double importSeconds = 0;
  for (auto _ : state) {
    Grid grid(2, kEntryColumns, 1);
    SetUpEntryGrid(grid);
    auto start = std::chrono::steady_clock::now();
    ImportTrades(app, grid, path, "S");
    importSeconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    SortEntries(app, grid);
    benchmark::DoNotOptimize(grid.Rows());
  }
  state.counters["import_s"] = importSeconds / static_cast<double>(state.iterations());
  std::filesystem::remove(path);
}
BENCHMARK(BM_ImportMillionTradesAndSort)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace quorvin::bench
