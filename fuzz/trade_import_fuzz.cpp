// The trade-file import. The input's first line is the file's name, read by
// the name rules; the rest is the file, imported for both sides against the
// demo lists. No crash; every imported row is numbered, dated in the grid's
// form and filled from the lists; the automatic columns stay empty.
#include "day/entry_grid.h"
#include "fuzz_support.h"
#include "ground/text.h"
#include "ground/text_files.h"
#include "work/import/trade_import.h"

using namespace quorvin;
using namespace quorvin::fuzz;

namespace {

struct DemoLists {
  std::vector<BORecord> bo;
  std::vector<ISINRecord> isin;
};

const DemoLists& Demo() {
  static const DemoLists demo = [] {
    QuietDialogs dialogs;
    ReferenceLists lists(dialogs);
    lists.LoadBOList(DemoFile("BO.txt"));
    lists.LoadISINList(DemoFile("ISIN.txt"));
    if (!dialogs.shown.empty()) Fail("demo lists load", __FILE__, __LINE__, dialogs.shown[0].text);
    return DemoLists{lists.BOList(), lists.ISINList()};
  }();
  return demo;
}

void CheckFileName(std::string_view name) {
  TradeFileName parsed = ParseTradeFileName(std::string(name));
  FUZZ_CHECK(parsed.kind.empty() || parsed.kind == "Pay In" || parsed.kind == "Pay Out",
             parsed.kind);
  if (parsed.kind.empty()) FUZZ_CHECK(!parsed.settlementDate, "a date without a kind");
  if (parsed.settlementDate) {
    const Date& d = *parsed.settlementDate;
    FUZZ_CHECK(IsValidDate(d.year, d.month, d.day), std::string(name));
  }
  // The rules look at the name only, never at a folder in front of it.
  std::string lower = ToLower(name);
  FUZZ_CHECK(parsed.kind.empty() || StartsWith(lower, "payin") || StartsWith(lower, "payout"),
             std::string(name));
}

void CheckImport(const std::string& path, const std::string& side) {
  QuietDialogs dialogs;
  FixedClock clock;
  AppContext app(dialogs, clock, ScratchFolder());
  app.lists.SetBOList(Demo().bo);
  app.lists.SetISINList(Demo().isin);
  Grid grid;
  SetUpEntryGrid(grid);
  FUZZ_CHECK(ImportTrades(app, grid, path, side), "an empty grid needs no confirmation");
  FUZZ_CHECK(grid.Rows() >= 1 && grid.Cols() == kEntryColumns, "");
  for (int c = 0; c < kEntryColumns; ++c) FUZZ_CHECK(grid.Text(0, c) == kEntryTitles[c], "header");
  for (int r = 1; r < grid.Rows(); ++r) {
    bool filled = false;
    for (int c = 1; c < kEntryColumns; ++c) filled = filled || !grid.Text(r, c).empty();
    if (!filled) {
      // The cleared row 1, or rows reserved below a line that stopped the
      // import: only a failure leaves them.
      FUZZ_CHECK(!dialogs.shown.empty(), "an unfilled row without a failure");
      FUZZ_CHECK(grid.Text(r, col::kSN).empty() || (r == 1 && grid.Text(r, col::kSN) == "1"),
                 grid.Text(r, col::kSN));
      continue;
    }
    FUZZ_CHECK(grid.Text(r, col::kSN) == std::to_string(r), grid.Text(r, col::kSN));
    auto date = ParseDate(grid.Text(r, col::kTradeDate));
    FUZZ_CHECK(date && FormatDisplayDate(*date) == grid.Text(r, col::kTradeDate),
               grid.Text(r, col::kTradeDate));
    FUZZ_CHECK(grid.Text(r, col::kBOName) == app.lists.FindBOName(grid.Text(r, col::kBOID)), "");
    FUZZ_CHECK(grid.Text(r, col::kISINName) == app.lists.FindISINName(grid.Text(r, col::kISINCode)),
               "");
    for (int c : {col::kBrokerID, col::kClearingBOID, col::kDeliveryDate, col::kInternalRefNo})
      FUZZ_CHECK(grid.Text(r, c).empty(), "automatic column " + std::to_string(c));
  }
  FUZZ_CHECK(dialogs.shown.size() <= 1, "the import stops at its first failure");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto [name, content] = SplitFirstLine(AsText(data, size));
  CheckFileName(name);
  const std::string path = WriteScratchFile("trades.txt", content);
  CheckImport(path, "S");
  CheckImport(path, "B");
  return 0;
}
