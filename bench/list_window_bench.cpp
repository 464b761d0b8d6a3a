// The list window on a 100,000-row BO list: loading the main file into the
// grid, a search that has to walk every cell, and Save (write + reload of the
// lookups).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ground/grid_text.h"
#include "windows/list_window.h"

namespace {

using namespace quorvin;

constexpr int kRows = 100000;

class SilentDialogs : public Dialogs {
 public:
  MsgAnswer Message(const std::string&, const std::string&, MsgIcon, MsgButtons b) override {
    return b == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
  }
  std::optional<std::string> OpenFile(const std::string&, const std::string&, int,
                                      const std::string&) override {
    return std::nullopt;
  }
  std::string BrowseFolder(const std::string&, const std::string&) override { return {}; }
  void ViewTextFile(const std::string&) override {}
};

class NullListView : public ListView {
 public:
  std::string Caption() const override { return caption; }
  void SetCaption(const std::string& c) override { caption = c; }
  void SetWaitCursor(bool) override {}
  void ProcessPendingEvents() override {}
  void ShowListKind(int) override {}
  void SetSelectLabel(const std::string&) override {}
  void SetGridToolTip(const std::string&) override {}
  void SetUpdateButton(const std::string&, const std::string&) override {}
  void ShowEditor(int, int, const std::string&) override {}
  void HideEditor() override {}
  void FocusGrid() override {}
  int VisibleRows() const override { return 25; }
  void SelectSearchText() override {}
  void SetControlsEnabled(bool) override {}
  void ShowBackupPanel(bool, const std::string&) override {}
  void ShowBackupEntries(const std::vector<std::string>&, int) override {}
  std::string caption;
};

// A realistic BO list: 16-digit BOIDs under one template, two-word names, codes.
std::string BigBOList() {
  static const char* first[] = {"Habib", "Tahmina", "Belal", "Rafiq", "Farhana", "Tanvir",
                                "Jamal", "Rokeya",  "Karim", "Salma", "Nadia",   "Faruk"};
  static const char* last[] = {"Ahmed",   "Mia",   "Begum", "Talukder", "Khan",   "Sarker",
                               "Hossain", "Islam", "Uddin", "Haque",    "Sikder", "Karim"};
  std::string text = "S/N~BO ID~BO Name~Client Code";
  uint64_t seed = 88172645463325252ull;
  for (int i = 1; i <= kRows; ++i) {
    seed ^= seed << 13;
    seed ^= seed >> 7;
    seed ^= seed << 17;
    std::string digits = std::to_string(10000000000ull + seed % 89999999999ull);
    text += "\r\n" + std::to_string(i) + "~12045" + digits + "~" + first[seed % 12] + " " +
            last[(seed >> 8) % 12] + "~C" + std::to_string(100000 + i);
  }
  return text;
}

struct Bench {
  std::string folder;
  SilentDialogs dialogs;
  SystemClock clock;
  AppContext app{dialogs, clock, "/tmp/"};
  Grid grid{2, 4, 1};
  NullListView view;
  ListController controller{app, grid, view};

  Bench() {
    char pattern[] = "/tmp/quorvin-bench-XXXXXX";
    folder = std::string(mkdtemp(pattern)) + "/";
    std::ofstream(folder + "BO.txt", std::ios::binary) << BigBOList();
    app.settings = {"204513", "1204510000067342", "1204510000000000", folder};
    app.listKind = "BO";
    controller.Open();
  }
  ~Bench() { std::filesystem::remove_all(folder); }
};

void BM_LoadBOListIntoWindow(benchmark::State& state) {
  Bench b;
  for (auto _ : state) {
    b.controller.ChangeKind(0);
    benchmark::DoNotOptimize(b.grid.Rows());
  }
  if (b.grid.Rows() != kRows + 1) state.SkipWithError("the list did not load");
}

void BM_SearchMissesEveryCell(benchmark::State& state) {
  Bench b;
  for (auto _ : state) b.controller.Search("Nobody Anywhere");
}

void BM_SearchFindsTheLastRow(benchmark::State& state) {
  Bench b;
  const std::string last = b.grid.Text(kRows, 3);
  for (auto _ : state) b.controller.Search(last);
  if (b.grid.Row() != kRows) state.SkipWithError("the last row was not found");
}

void BM_SaveAndReloadLookups(benchmark::State& state) {
  Bench b;
  for (auto _ : state) b.controller.Save();
  if (b.app.lists.BOList().size() != kRows + 1u) state.SkipWithError("the lookups did not reload");
}

BENCHMARK(BM_LoadBOListIntoWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchMissesEveryCell)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchFindsTheLastRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAndReloadLookups)->Unit(benchmark::kMillisecond);

}  // namespace
