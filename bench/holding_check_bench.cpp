// Checking a large day against a large holding report.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include "bench_data.h"
#include "ground/text_files.h"
#include "work/checks/holding_check.h"

namespace quorvin::bench {
namespace {

class SilentHoldingView : public HoldingMessageView {
 public:
  void ShowModal(const std::string& text) override { shownBytes = text.size(); }
  size_t shownBytes = 0;
};

void BM_CheckHoldingFile(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0)), lines = static_cast<int>(state.range(1));
  SilentDialogs dialogs;
  SystemClock clock;
  AppContext app(dialogs, clock, "/tmp/");
  app.instructionKind = kPayIn;
  Grid grid;
  MakeDay(grid, rows);
  std::string path = "/tmp/quorvin_holding_bench_" + std::to_string(::getpid()) + ".TXT";
  WriteTextFile(path, MakeHoldingFile(lines, std::max(1, rows / 6)));
  SilentWindow window;
  SilentHoldingView view;
  bool failed = false;
  for (auto _ : state) failed = CheckHoldingFile(app, grid, window, view, path, "Saved");
  ::unlink(path.c_str());
  if (dialogs.boxes) state.SkipWithError("the check showed a message");
  state.counters["failed"] = failed;
  state.counters["message_kb"] = static_cast<double>(view.shownBytes) / 1024;
  state.SetItemsProcessed(state.iterations() * rows);
}

BENCHMARK(BM_CheckHoldingFile)
    ->Args({100000, 1000000})
    ->Args({1000000, 1000000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace
}  // namespace quorvin::bench
