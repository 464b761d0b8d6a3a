// The holding check of a fixed entry grid against any holding file. No crash;
// the window is handed back as it was; a row is reported exactly when it
// fails; and the one-pass search for balance lines finds, for the grid's
// pairs and for pairs cut from the file itself, the same line as the plain
// line-by-line search.
#include "day/entry_grid.h"
#include "fuzz_support.h"
#include "ground/text.h"
#include "work/checks/holding_check.h"
#include "work/checks/holding_file.h"

using namespace quorvin;
using namespace quorvin::fuzz;

namespace {

class CountingView : public HoldingMessageView {
 public:
  void ShowModal(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

// Rows of the demo day: two rows of one pair (checked with their sum), an
// account of the demo holding file, a pair it does not hold, odd quantities.
const char* const kRows[][3] = {
    {"1204510008926391", "MG1407LOTU49", "700"},  {"1204510008926391", "MG1407LOTU49", "700"},
    {"1204510008926391", "MG1814WEST24", "2750"}, {"1204510012317585", "MG1259HARB13", "1250.5"},
    {"1204510017048184", "MG1481NORT86", "0"},    {"1204510099999999", "MG1000ALPH13", "10"},
    {"1204510012317585", "MG1259HARB13", "-5"},   {"", "", "1"},
};

void FillGrid(Grid& grid) {
  SetUpEntryGrid(grid);
  grid.SetRows(1 + static_cast<int>(std::size(kRows)));
  for (int i = 0; i < static_cast<int>(std::size(kRows)); ++i) {
    grid.SetText(i + 1, col::kSN, std::to_string(i + 1));
    grid.SetText(i + 1, col::kBOID, kRows[i][0]);
    grid.SetText(i + 1, col::kISINCode, kRows[i][1]);
    grid.SetText(i + 1, col::kQuantity, kRows[i][2]);
  }
}

void CheckBalanceLineSearch(const std::string& content, const Grid& grid) {
  HoldingFile file(content);
  std::vector<std::pair<std::string, std::string>> pairs;
  for (int r = 1; r < grid.Rows(); ++r)
    pairs.emplace_back(grid.Text(r, col::kBOID), grid.Text(r, col::kISINCode));
  // Words and pieces of the file's own lines, so that matches are common.
  std::vector<std::string> words;
  for (std::string_view line : file.Lines()) {
    for (std::string_view word : SplitAll(line, " ")) {
      words.emplace_back(word);
      if (word.size() > 3) words.emplace_back(word.substr(1, word.size() - 2));
    }
    if (line.size() > 4) words.emplace_back(line.substr(2, line.size() / 2));
    if (words.size() > 40) break;
  }
  for (size_t i = 0; i + 1 < words.size(); i += 2) {
    pairs.emplace_back(words[i], words[i + 1]);
    pairs.emplace_back(words[i + 1], words[i]);
  }
  std::vector<std::pair<std::string_view, std::string_view>> views(pairs.begin(), pairs.end());
  std::vector<int> found = file.FirstBalanceLines(views);
  FUZZ_CHECK(found.size() == pairs.size(), "");
  for (size_t k = 0; k < pairs.size(); ++k)
    FUZZ_CHECK(found[k] == file.FirstBalanceLine(pairs[k].first, pairs[k].second),
               "pair [" + pairs[k].first + "] [" + pairs[k].second + "]");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(AsText(data, size));
  QuietDialogs dialogs;
  FixedClock clock;
  AppContext app(dialogs, clock, ScratchFolder());
  app.instructionKind = kPayIn;
  app.kindCode = "PI";
  Grid grid;
  FillGrid(grid);
  const std::string before = [&] {
    std::string all;
    for (int r = 0; r < grid.Rows(); ++r) all += Join(grid.RowCells(r), "~") + "\n";
    return all;
  }();
  QuietWindow window;
  const std::string caption = window.caption;
  CountingView view;

  bool failed =
      CheckHoldingFile(app, grid, window, view, WriteScratchFile("11DPA6UX.TXT", content), caption);
  FUZZ_CHECK(window.caption == caption && !window.waitCursor, window.caption);
  std::string after;
  for (int r = 0; r < grid.Rows(); ++r) after += Join(grid.RowCells(r), "~") + "\n";
  FUZZ_CHECK(after == before, "the check must not change the rows");
  FUZZ_CHECK(view.shown.size() <= 1, "");
  if (!view.shown.empty()) FUZZ_CHECK(failed && view.shown[0] == app.holdingMessage, "");
  // A check that passes has shown nothing: every failure is either a box or
  // a line of the holding message.
  if (!failed) FUZZ_CHECK(dialogs.shown.empty() && view.shown.empty(), "");
  if (!content.empty()) CheckBalanceLineSearch(content, grid);
  return 0;
}
