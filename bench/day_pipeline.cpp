// A pay-in day through the core, button by button as the main window runs it,
// with the time of each step, the total and the peak memory:
//
//   day_pipeline DAY_FOLDER [--transcription] [--tsv]
//       one day from gen_day's files, through the program (or through the
//       transcription of the old tool's algorithms)
//   day_pipeline DAY_FOLDER --verify
//       both, comparing grid, boxes, holding message, report and saved file after every step
//   day_pipeline --self-check
//       --verify on small generated days, plain and awkward; for ctest
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "bench_data.h"
#include "day/entry_grid.h"
#include "day/instruction_files.h"
#include "day_files.h"
#include "ground/fast_paths.h"
#include "ground/text_files.h"
#include "straight_day.h"
#include "work/checks/holding_check.h"
#include "work/checks/record_checks.h"
#include "work/checks/sort_summary.h"
#include "work/entry/auto_fill.h"
#include "work/import/trade_import.h"
#include "work/reports/instruction_reports.h"

namespace quorvin::bench {
namespace {

// Answers every question with Yes, like the clerk pressing on through the day,
// and keeps what each box said when asked to.
class DayDialogs : public SilentDialogs {
 public:
  explicit DayDialogs(bool record) : record_(record) {}
  MsgAnswer Message(const std::string& text, const std::string& title, MsgIcon icon,
                    MsgButtons buttons) override {
    if (record_) shown.push_back(title + " | " + text);
    return SilentDialogs::Message(text, title, icon, buttons);
  }
  // The holding file dialog picks the day's holding report.
  std::optional<std::string> OpenFile(const std::string&, const std::string&, int,
                                      const std::string&) override {
    return holdingFile;
  }
  std::string holdingFile;
  std::vector<std::string> shown;

 private:
  bool record_;
};

class DayClock : public Clock {
 public:
  DateTime Now() const override { return {Date{2026, 12, 10}, 9, 30, 0}; }
};

class DayHoldingView : public HoldingMessageView {
 public:
  void ShowModal(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

// The routines that differ between the program and the old tool.
struct Algorithms {
  std::function<bool(AppContext&, Grid&, const std::string&, const std::string&)> importTrades;
  std::function<void(AppContext&, Grid&)> sortEntries;
  std::function<void(AppContext&, Grid&, const Date&)> autoFill;
  std::function<void(AppContext&, Grid&)> summarize;
  // The "Check" button with the file already chosen: returns failed.
  std::function<bool(AppContext&, Grid&, WindowPort&, HoldingMessageView&, std::string&)>
      checkHolding;
};

Algorithms Program() {
  return {
      [](AppContext& app, Grid& grid, const std::string& path, const std::string& side) {
        return ImportTrades(app, grid, path, side);
      },
      SortEntries,
      AutoFill,
      Summarize,
      [](AppContext& app, Grid& grid, WindowPort& window, HoldingMessageView& view,
         std::string& savedCaption) {
        // CheckHoldingClicked, keeping its result for the comparison.
        savedCaption = window.Caption();
        bool failed = ChooseAndCheckHolding(app, grid, window, view, savedCaption);
        if (!failed)
          app.dialogs.Message("Holding balance checking completed.", "Checking Complete.",
                              MsgIcon::Information, MsgButtons::Ok);
        return failed;
      },
  };
}

Algorithms Transcription() {
  return {
      straight::ImportTrades,
      straight::SortEntries,
      straight::AutoFill,
      straight::Summarize,
      [](AppContext& app, Grid& grid, WindowPort& window, HoldingMessageView& view,
         std::string& savedCaption) {
        savedCaption = window.Caption();
        auto path = app.dialogs.OpenFile(kHoldingFileDialogTitle, kHoldingFileFilter, 1, {});
        bool failed = straight::CheckHoldingFile(app, grid, window, view, *path, savedCaption);
        if (!failed)
          app.dialogs.Message("Holding balance checking completed.", "Checking Complete.",
                              MsgIcon::Information, MsgButtons::Ok);
        return failed;
      },
  };
}

double CpuSeconds() {
  rusage use{};
  getrusage(RUSAGE_SELF, &use);
  return static_cast<double>(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
         static_cast<double>(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

long PeakKiB() {
  rusage use{};
  getrusage(RUSAGE_SELF, &use);
  return use.ru_maxrss;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct StepTime {
  std::string name;
  double wall = 0, cpu = 0;
};

// What the clerk could see after a step: every cell, widths, selection,
// caption, the boxes shown, the holding message and its window, the files.
struct Snapshot {
  std::vector<Grid::CellRow> cells;
  std::vector<int> widths;
  std::vector<int> cursor;  // Row, Col, RowSel, ColSel, TopRow
  std::string caption, holdingMessage;
  std::vector<std::string> boxes, holdingShown;
  std::string report, saved;
  bool result = false;
};

// One main window's worth of state, on its own output folder.
class Day {
 public:
  Day(const DayFiles& files, const std::string& outFolder, Algorithms algorithms, bool record)
      : files_(files),
        algorithms_(std::move(algorithms)),
        dialogs_(record),
        app_(dialogs_, clock_, outFolder) {
    std::filesystem::create_directories(outFolder);
    app_.settings = {kDayBrokerID, kDayClearingBOID, kDayBOIDFormat, outFolder};
    dialogs_.holdingFile = files.holdingFile;
    // SetUpMainWindow: an empty entry grid, "Pay In", today's date.
    SetUpEntryGrid(grid_);
    grid_.SetCurrent(1, 1);
    app_.instructionKind = kPayIn;
    app_.kindCode = "PI";
    settlement_ = clock_.Today();
  }

  const std::vector<StepTime>& Times() const { return times_; }
  const AppContext& App() const { return app_; }

  void LoadLists() {
    Time("Start-up: load BO and ISIN lists", [&] { app_.LoadListsFrom(files_.folder); });
  }

  // The buttons of the day, in the order of a clerk's day. `after` hears each
  // step's name once it is done.
  void Run(const std::function<void(const std::string&)>& after) {
    auto step = [&](const std::string& name, const std::function<void()>& body) {
      Time(name, [&] { Guard(body); });
      if (after) after(name);
    };
    bool imported = false;
    step("Load Payin: ImportTrades", [&] {
      // LoadTradeFile: kind and settlement date from the file's name.
      TradeFileName name = ParseTradeFileName(FileNameOf(files_.tradeFile));
      if (name.settlementDate) settlement_ = *name.settlementDate;
      imported = algorithms_.importTrades(app_, grid_, files_.tradeFile, TradeSide(app_));
    });
    step("Load Payin: SortEntries", [&] {
      if (imported) algorithms_.sortEntries(app_, grid_);
    });
    step("Auto-Fill: SortEntries", [&] { algorithms_.sortEntries(app_, grid_); });
    step("Auto-Fill: AutoFill", [&] { algorithms_.autoFill(app_, grid_, settlement_); });
    step("Summarize", [&] { algorithms_.summarize(app_, grid_); });
    step("Send: the four record checks", [&] {
      std::string saved = window_.Caption();
      result_ = CheckMissingFields(app_, grid_, window_, saved) ||
                CheckBOIDs(app_, grid_, window_, saved) ||
                CheckISINCodes(app_, grid_, window_, saved) ||
                CheckInternalRefNos(app_, grid_, window_, saved);
    });
    step("Send: SortEntries", [&] { algorithms_.sortEntries(app_, grid_); });
    step("Send: CheckSummarized",
         [&] { result_ = CheckSummarized(app_, grid_, window_, window_.Caption()); });
    step("Check: CheckHoldingFile",
         [&] { result_ = algorithms_.checkHolding(app_, grid_, window_, view_, savedCaption_); });
    step("Report: text and file", [&] { PrintPayInReport(app_, grid_); });
    step("Save: instruction file", [&] { SaveInstructions(app_, grid_, settlement_); });
  }

  Snapshot Snap() const {
    Snapshot s;
    for (int r = 0; r < grid_.Rows(); ++r) s.cells.push_back(grid_.RowCells(r));
    for (int c = 0; c < grid_.Cols(); ++c) s.widths.push_back(grid_.ColWidth(c));
    s.cursor = {grid_.Row(), grid_.Col(), grid_.RowSel(), grid_.ColSel(), grid_.TopRow()};
    s.caption = window_.caption;
    s.holdingMessage = app_.holdingMessage;
    s.boxes = dialogs_.shown;
    s.holdingShown = view_.shown;
    s.report = ReadBytes(app_.programFolder + kPayInReportFileName);
    s.saved = ReadBytes(InstructionFilePath(app_, settlement_));
    s.result = result_;
    return s;
  }

  int DataRows() const { return grid_.Rows() - 1; }
  // Lines of the holding message: rows short or without a balance.
  long HoldingFailures() const {
    long lines = 0;
    for (size_t at = app_.holdingMessage.find("\r\n"); at != std::string::npos;
         at = app_.holdingMessage.find("\r\n", at + 2))
      ++lines;
    return lines;
  }

 private:
  void Guard(const std::function<void()>& body) {
    try {
      body();
    } catch (const std::exception& e) {
      ShowErrorDescription(dialogs_, e.what());
    }
  }

  void Time(const std::string& name, const std::function<void()>& body) {
    double cpu = CpuSeconds();
    auto start = std::chrono::steady_clock::now();
    body();
    std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    times_.push_back({name, wall.count(), CpuSeconds() - cpu});
  }

  DayFiles files_;
  Algorithms algorithms_;
  DayDialogs dialogs_;
  DayClock clock_;
  AppContext app_;
  Grid grid_{2, kEntryColumns, 1};
  SilentWindow window_;
  DayHoldingView view_;
  std::string savedCaption_;
  Date settlement_;
  bool result_ = false;
  std::vector<StepTime> times_;
};

// A fresh folder for the day's output, removed when done.
class OutputFolder {
 public:
  OutputFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvin-day-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern + "/";
  }
  ~OutputFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Reads the generated day's shape back from its files, for the heading.
DayFiles FilesIn(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  DayFiles files;
  files.folder = folder;
  files.boList = folder + "BO.txt";
  files.isinList = folder + "ISIN.txt";
  files.tradeFile = folder + "payin_10-Dec-2026.txt";
  files.holdingFile = folder + "11DPA6UX.TXT";
  return files;
}

long CountLines(const std::string& path) {
  std::string text = ReadBytes(path);
  long lines = text.empty() ? 0 : 1;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
    ++lines;
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) --lines;
  return lines;
}

void PrintTimes(const Day& day, const char* who, long tradeLines, long peakKiB, bool tsv) {
  double total = 0, cpu = 0;
  for (size_t k = 1; k < day.Times().size(); ++k) {
    total += day.Times()[k].wall;
    cpu += day.Times()[k].cpu;
  }
  if (tsv) {
    std::printf("pipeline\t%s\nlines\t%ld\n", who, tradeLines);
    for (const StepTime& t : day.Times())
      std::printf("step\t%s\t%.6f\t%.6f\n", t.name.c_str(), t.wall, t.cpu);
    std::printf("total\t%.6f\t%.6f\npeak_kib\t%ld\nrows_left\t%d\nholding_failures\t%ld\n", total,
                cpu, peakKiB, day.DataRows(), day.HoldingFailures());
    return;
  }
  std::printf("%s, %ld trade lines\n", who, tradeLines);
  std::printf("  %-44s %12s %12s\n", "step", "wall ms", "cpu ms");
  for (const StepTime& t : day.Times())
    std::printf("  %-44s %12.1f %12.1f\n", t.name.c_str(), t.wall * 1e3, t.cpu * 1e3);
  std::printf("  %-44s %12.1f %12.1f\n", "the day (without start-up)", total * 1e3, cpu * 1e3);
  std::printf("  peak memory %.1f MiB; %d rows after the summary, %ld of them not covered\n",
              peakKiB / 1024.0, day.DataRows(), day.HoldingFailures());
}

template <typename T>
std::string FirstDifference(const std::vector<T>& a, const std::vector<T>& b,
                            const std::function<std::string(const T&)>& show) {
  for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    if (i < a.size() && i < b.size() && a[i] == b[i]) continue;
    return "item " + std::to_string(i) + ": " + (i < a.size() ? show(a[i]) : "(none)") + "  <>  " +
           (i < b.size() ? show(b[i]) : "(none)");
  }
  return "";
}

// Empty when the snapshots agree; else where they first part.
std::string Compare(const Snapshot& a, const Snapshot& b) {
  auto text = [](const std::string& s) { return "\"" + s + "\""; };
  if (a.cells.size() != b.cells.size())
    return "rows " + std::to_string(a.cells.size()) + " <> " + std::to_string(b.cells.size());
  for (size_t r = 0; r < a.cells.size(); ++r)
    if (a.cells[r] != b.cells[r])
      for (size_t c = 0; c < a.cells[r].size(); ++c)
        if (a.cells[r][c] != b.cells[r][c])
          return "cell (" + std::to_string(r) + ", " + std::to_string(c) +
                 "): " + text(a.cells[r][c]) + " <> " + text(b.cells[r][c]);
  std::function<std::string(const int&)> number = [](const int& n) { return std::to_string(n); };
  std::function<std::string(const std::string&)> quoted = text;
  if (a.widths != b.widths) return "column widths, " + FirstDifference(a.widths, b.widths, number);
  if (a.cursor != b.cursor) {
    std::string shown;
    for (int n : a.cursor) shown += " " + std::to_string(n);
    shown += " <>";
    for (int n : b.cursor) shown += " " + std::to_string(n);
    return "current cell, selection and top row:" + shown;
  }
  if (a.caption != b.caption) return "caption " + text(a.caption) + " <> " + text(b.caption);
  if (a.boxes != b.boxes) return "message boxes, " + FirstDifference(a.boxes, b.boxes, quoted);
  if (a.holdingMessage != b.holdingMessage) return "holding message";
  if (a.holdingShown != b.holdingShown) return "holding message window";
  if (a.report != b.report) return "report file";
  if (a.saved != b.saved) return "instruction file";
  if (a.result != b.result) return "the step's verdict";
  return "";
}

// Runs both pipelines step by step on the same files. True when every step
// leaves the same state.
bool Verify(const DayFiles& files, bool quiet) {
  OutputFolder out;
  Day program(files, out.Path() + "program/", Program(), true);
  Day transcription(files, out.Path() + "transcription/", Transcription(), true);
  program.LoadLists();
  transcription.LoadLists();
  std::vector<std::pair<std::string, Snapshot>> steps;
  program.Run([&](const std::string& name) { steps.emplace_back(name, program.Snap()); });
  size_t k = 0;
  std::string failure;
  transcription.Run([&](const std::string& name) {
    if (!failure.empty()) return;
    std::string difference = Compare(steps[k].second, transcription.Snap());
    if (!difference.empty()) failure = "after \"" + name + "\": " + difference;
    ++k;
  });
  const Snapshot& last = steps.back().second;
  if (!failure.empty()) {
    std::printf("verify %s: DIFFERENT %s\n", files.folder.c_str(), failure.c_str());
    return false;
  }
  if (!quiet) {
    std::string titles;
    for (const std::string& box : last.boxes)
      titles += (titles.empty() ? "" : ", ") + box.substr(0, box.find(" | "));
    std::printf(
        "verify %s: identical after all %zu steps (%d rows; holding message %zu bytes, report "
        "%zu bytes, file %zu bytes; boxes: %s)\n",
        files.folder.c_str(), steps.size(), program.DataRows(), last.holdingMessage.size(),
        last.report.size(), last.saved.size(), titles.c_str());
  }
  return true;
}

int SelfCheck() {
  OutputFolder days;
  int failures = 0;
  for (bool awkward : {false, true})
    for (unsigned seed : {1u, 2u, 3u}) {
      DayShape shape{3000 + 700 * static_cast<int>(seed), seed, awkward};
      DayFiles files = WriteDay(
          days.Path() + (awkward ? "awkward" : "plain") + std::to_string(seed) + "/", shape);
      failures += !Verify(files, false);
    }
  std::printf("%d passed, %d failed\n", 6 - failures, failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace quorvin::bench

int main(int argc, char** argv) {
  quorvin::KeepFreedMemoryForReuse();  // as the program's main does
  using namespace quorvin::bench;
  std::string folder;
  bool transcription = false, tsv = false, verify = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--self-check") return SelfCheck();
    if (arg == "--transcription")
      transcription = true;
    else if (arg == "--tsv")
      tsv = true;
    else if (arg == "--verify")
      verify = true;
    else
      folder = arg;
  }
  if (folder.empty()) {
    std::fprintf(stderr,
                 "usage: day_pipeline DAY_FOLDER [--transcription] [--tsv] | DAY_FOLDER --verify "
                 "| --self-check\n");
    return 2;
  }
  try {
    DayFiles files = FilesIn(folder);
    if (verify) return Verify(files, false) ? 0 : 1;
    OutputFolder out;
    Day day(files, out.Path(), transcription ? Transcription() : Program(), false);
    day.LoadLists();
    day.Run({});
    long peak = PeakKiB();  // before counting the lines reads the trade file again
    PrintTimes(day, transcription ? "transcription" : "quorvin", CountLines(files.tradeFile), peak,
               tsv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "day_pipeline: %s\n", e.what());
    return 1;
  }
  return 0;
}
