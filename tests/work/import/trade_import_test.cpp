// Tests of the trade file import: the file name, the side's lines and their
// lookups, short lines, the kind switch, and a cell-by-cell comparison.
#include "work/import/trade_import.h"
#include "ground/grid_text.h"

#include <gtest/gtest.h>

#include <random>

#include "support/entry_fixture.h"
#include "work/entry/auto_fill.h"
#include "work/import/straight_import.h"

namespace quorvin {
namespace {

using test::EntryFixture;
using test::kBoidA;
using test::kBoidB;

std::string Trade(const std::string& scrip, const std::string& side, const std::string& qty,
                  const std::string& client, const std::string& date = "08/12/2026") {
  return "7001|" + scrip + "|A|" + side + "|" + qty + "|41.50|" + client + "|0|T01|10:05:11|" +
         date + "|10/12/2026";
}

class TradeImport : public EntryFixture {
 protected:
  std::string WriteTrades(const std::string& name, const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
    dir.Write(name, text);
    return dir.File(name);
  }
};

TEST(TradeFileName, KindAndDateComeFromTheName) {
  auto n = ParseTradeFileName("PAYIN_10-Dec-2026.TXT");
  EXPECT_EQ(n.kind, "Pay In");
  EXPECT_EQ(n.settlementDate, (Date{2026, 12, 10}));
  n = ParseTradeFileName("payout_11-12-2026_final.txt");
  EXPECT_EQ(n.kind, "Pay Out");
  EXPECT_EQ(n.settlementDate, (Date{2026, 12, 11}));
  n = ParseTradeFileName("payin_tomorrow.txt");
  EXPECT_EQ(n.kind, "Pay In");
  EXPECT_FALSE(n.settlementDate);
  EXPECT_EQ(ParseTradeFileName("payin.txt").kind, "");
  EXPECT_EQ(ParseTradeFileName("trades_10-Dec-2026.txt").kind, "");
}

TEST_F(TradeImport, TakesTheSellsOfAPayInWithTheirLookups) {
  std::string path =
      WriteTrades("payin_10-Dec-2026.txt",
                  {Trade("ALPHATEX", "S", "100", "C1001"), Trade("BRIGHTCEM", "B", "50", "C1001"),
                   Trade("ALPHATEX", "s", "70", "C1002"), "no separators here",
                   Trade("brightcem", "S", "30", "C9999", "7-12-2026"), ""});
  EXPECT_TRUE(ImportTrades(app, grid, path, "S"));
  ASSERT_EQ(grid.Rows(), 3);
  EXPECT_EQ(grid.Text(1, col::kSN), "1");
  EXPECT_EQ(grid.Text(1, col::kBOID), kBoidA);
  EXPECT_EQ(grid.Text(1, col::kBOName), "Rahim Hossain");
  EXPECT_EQ(grid.Text(1, col::kTradeDate), "08-Dec-2026");
  EXPECT_EQ(grid.Text(1, col::kISINName), "Alpha Textiles Limited");
  EXPECT_EQ(grid.Text(1, col::kQuantity), "100");
  EXPECT_EQ(grid.Text(2, col::kScripID), "brightcem");
  EXPECT_EQ(grid.Text(2, col::kISINCode), "MG1037BRIG52");
  EXPECT_EQ(grid.Text(2, col::kBOID), "");
  EXPECT_EQ(grid.Text(2, col::kBOName), "BO NAME NOT FOUND");
  EXPECT_EQ(grid.Text(2, col::kTradeDate), "07-Dec-2026");
  for (int c : {col::kBrokerID, col::kClearingBOID, col::kDeliveryDate, col::kInternalRefNo})
    EXPECT_EQ(grid.Text(1, c), "");

  // The same file with LF or mixed line ends reads the same; a CR alone stays in its line.
  const std::string crlf = GridToText(grid);
  std::string text = dir.Read("payin_10-Dec-2026.txt");
  for (const std::string& ends : {std::string("\n"), std::string("mixed")}) {
    std::string other;
    bool lf = true;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text.compare(i, 2, "\r\n") == 0) {
        other += ends == "\n" || (lf = !lf) ? "\n" : "\r\n";
        ++i;
      } else {
        other += text[i];
      }
    }
    dir.Write("payin_10-Dec-2026.txt", other);
    dialogs.ExpectQuestion("Unsaved data will be lost.\r\nAre you sure to continue?",
                           "Confirm Loading", MsgAnswer::Yes);
    EXPECT_TRUE(ImportTrades(app, grid, path, "S"));
    EXPECT_EQ(GridToText(grid), crlf) << ends;
  }
}

// The import's lookups are kept for Auto-Fill; a list saved in between must
// still be what Auto-Fill reads.
TEST_F(TradeImport, AutoFillAfterAListChangeUsesTheNewList) {
  std::string path = WriteTrades("payin_10-Dec-2026.txt", {Trade("ALPHATEX", "S", "100", "C1001"),
                                                           Trade("ALPHATEX", "S", "40", "C1001")});
  ASSERT_TRUE(ImportTrades(app, grid, path, "S"));
  ASSERT_EQ(grid.Text(2, col::kBOID), kBoidA);
  app.lists.SetBOList(
      {{"S/N", "BO ID", "BO Name", "Client Code"}, {"1", kBoidB, "Moved Account", "C1001"}});
  AutoFill(app, grid, Date{2026, 12, 10});
  for (int r : {1, 2}) {
    EXPECT_EQ(grid.Text(r, col::kBOID), kBoidB);
    EXPECT_EQ(grid.Text(r, col::kBOName), "Moved Account");
    EXPECT_EQ(grid.Text(r, col::kISINCode), "MG1000ALPH31");
  }
  EXPECT_EQ(grid.Text(1, col::kInternalRefNo), "I2045130812261");
  EXPECT_EQ(grid.Text(2, col::kInternalRefNo), "I2045130812261");
}

TEST_F(TradeImport, NoLineOfTheSideLeavesTheHeaderAlone) {
  std::string path = WriteTrades("payout_x.txt", {Trade("ALPHATEX", "S", "100", "C1001")});
  EXPECT_TRUE(ImportTrades(app, grid, path, "B"));
  EXPECT_EQ(grid.Rows(), 1);
}

TEST_F(TradeImport, AShortLineStopsTheImportKeepingTheRowsBefore) {
  std::string path = WriteTrades(
      "payin_x.txt", {Trade("ALPHATEX", "S", "100", "C1001"), "7002|BRIGHTCEM|A|S|50|1|C1002",
                      Trade("ALPHATEX", "S", "70", "C1002")});
  dialogs.ExpectErrorContaining("Line 2 of the trade file has fewer than 11 fields");
  ImportTrades(app, grid, path, "S");
  ASSERT_EQ(grid.Rows(), 3);  // a row for each line read, the failing one's blank
  EXPECT_EQ(grid.Text(1, col::kQuantity), "100");
  EXPECT_EQ(grid.Text(2, col::kScripID), "");

  path = WriteTrades("payin_y.txt", {"a|b", Trade("ALPHATEX", "S", "100", "C1001")});
  dialogs.ExpectQuestion("Unsaved data will be lost.\r\nAre you sure to continue?",
                         "Confirm Loading", MsgAnswer::Yes);
  dialogs.ExpectErrorContaining("fewer than 4 fields");
  ImportTrades(app, grid, path, "S");
  EXPECT_EQ(grid.Rows(), 2);  // the first line failed: one blank row, so no question next

  dialogs.ExpectErrorContaining("Input past end of file");
  ImportTrades(app, grid, WriteTrades("payin_z.txt", {""}), "S");
}

TEST_F(TradeImport, LoadTradeFileSwitchesKindWithOneQuestion) {
  AddEntry("08-Dec-2026", "C1001", kBoidA, "ALPHATEX", "MG1000ALPH31", "5");
  std::string path = WriteTrades("PAYOUT_12-Dec-2026.TXT", {Trade("ALPHATEX", "B", "40", "C1002"),
                                                            Trade("ALPHATEX", "B", "60", "C1001")});
  dialogs.QueueOpenFile(path);
  dialogs.ExpectQuestion("Unsaved data will be lost.\r\nAre you sure to continue?",
                         "Confirm Loading", MsgAnswer::Yes);
  controller.LoadTradeFile();
  EXPECT_EQ(dialogs.openFileTitles.back(), "Choose Text FIle");
  EXPECT_EQ(dialogs.openFileFilters.back(), "Text files (*.TXT)|*.TXT|All Files (*.*)|*.*");
  EXPECT_EQ(app.instructionKind, "Pay Out");
  EXPECT_EQ(view.settlement, (Date{2026, 12, 12}));
  EXPECT_EQ(grid.Rows(), 3);
  // Imported in file order, then sorted by BO ID.
  EXPECT_EQ(grid.Text(1, col::kBOID), kBoidA);
  EXPECT_EQ(grid.Text(2, col::kBOID), kBoidB);
  EXPECT_TRUE(view.windowEnabled);
}

TEST_F(TradeImport, RefusedSwitchStopsAfterTheDateAndConsumesTheRefusal) {
  AddEntry("08-Dec-2026", "C1001", kBoidA, "ALPHATEX", "MG1000ALPH31", "5");
  std::string path = WriteTrades("payout_12-Dec-2026.txt", {Trade("ALPHATEX", "B", "40", "C1002")});
  dialogs.QueueOpenFile(path);
  dialogs.ExpectQuestion("Unsaved data will be lost.\r\nAre you sure to continue?",
                         "Confirm Loading", MsgAnswer::No);
  controller.LoadTradeFile();
  EXPECT_EQ(app.instructionKind, "Pay In");
  EXPECT_EQ(grid.Text(1, col::kQuantity), "5");
  EXPECT_EQ(view.settlement, (Date{2026, 12, 12}));
  EXPECT_FALSE(controller.KindChangeRefused());

  // Cancelled dialog, and a name of no known kind.
  dialogs.QueueOpenFile(std::nullopt);
  controller.LoadTradeFile();
  dialogs.QueueOpenFile(dir.File("trades.txt"));
  dialogs.Expect("Unknown file name format.", "Invalid File", MsgIcon::Critical);
  controller.LoadTradeFile();
  EXPECT_EQ(grid.Text(1, col::kQuantity), "5");
}

TEST_F(TradeImport, TheDemoDayImports) {
  app.LoadListsFrom(QUORVIN_DEMO_DATA "/");
  EXPECT_TRUE(ImportTrades(app, grid, QUORVIN_DEMO_DATA "/payin_10-Dec-2026.txt", "S"));
  EXPECT_GT(grid.Rows(), 30);
  int unknown = 0;
  for (int r = 1; r < grid.Rows(); ++r) {
    EXPECT_EQ(grid.Text(r, col::kTradeDate), "08-Dec-2026");
    unknown += grid.Text(r, col::kBOName) == "BO NAME NOT FOUND";
    unknown += grid.Text(r, col::kISINName) == "ISIN NAME NOT FOUND";
  }
  EXPECT_EQ(unknown, 2);  // the demo's one unknown client and one unknown scrip
}

// Records every box and answers Yes, so that two imports can be compared box for box.
struct RecordingDialogs : test::FakeDialogs {
  std::vector<std::string> boxes;
  MsgAnswer Message(const std::string& text, const std::string& title, MsgIcon,
                    MsgButtons) override {
    boxes.push_back(title + ": " + text);
    return MsgAnswer::Yes;
  }
};

// Glyphs of different widths, so that the widest cell of a column is not
// simply the longest.
class UnevenMeasure : public TextMeasure {
 public:
  int WidthTwips(std::string_view text) const override {
    int w = 0;
    for (unsigned char c : text) w += 40 + c % 60;
    return w;
  }
  int MaxCharWidthTwips() const override { return 99; }
};

TEST(TradeImportRandomized, EqualsTheCellByCellImport) {
  std::mt19937 rng(515);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  auto from = [&](std::initializer_list<const char*> texts) {
    return std::string(texts.begin()[pick(static_cast<int>(texts.size()))]);
  };
  UnevenMeasure uneven;
  test::TempFolder dir;
  for (int round = 0; round < 300; ++round) {
    RecordingDialogs dialogs;
    test::FakeClock clock;
    AppContext app(dialogs, clock, dir.Path());
    std::vector<BORecord> bo{{"S/N", "BO ID", "BO Name", "Client Code"}};
    for (int i = 0; i < 8; ++i)
      bo.push_back({std::to_string(i), from({"1204510000000011", "1204510000000022", "B3", ""}),
                    from({"Rahim Hossain", "A name long enough to widen its column", "N"}),
                    from({"C1", "C2", "C3\r", "c1", "C4"})});
    std::vector<ISINRecord> isin{{"S/N", "ISIN Code", "ISIN Name", "Scrip ID", "Scrip Code"}};
    for (int i = 0; i < 8; ++i)
      isin.push_back({std::to_string(i), from({"MG1000ALPH31", "MG1037BRIG52", "MG7"}),
                      from({"Alpha Textiles Limited", "Bright", "An even longer security name"}),
                      from({"ALPHATEX", "BRIGHTCEM", "ALPHA", "Cem"}), "x"});
    if (pick(20) == 0) bo.insert(bo.begin() + 1 + pick(8), BORecord{"9", "", "", "", true});
    if (pick(20) == 0)
      isin.insert(isin.begin() + 1 + pick(8), ISINRecord{"9", "", "", "", "", true});
    app.lists.SetBOList(bo);
    app.lists.SetISINList(isin);

    std::string text;
    // Past one batch of lines now and then, and past the blocks the file is
    // read in now and then.
    const bool many = round % 40 == 39;
    int lines = many ? 4000 + pick(4000) : pick(round % 3 ? 30 : 100);
    // In a long file a line may fail only in its second half, past a block.
    auto failing = [&](int k, int oneIn) {
      return many ? k > lines / 2 && pick(lines / 4) == 0 : pick(oneIn) == 0;
    };
    for (int k = 0; k < lines; ++k) {
      if (k) text += "\r\n";
      int kind = pick(100);
      if (kind < 5 && failing(k, 1)) {
        text += from({"", "no separators", "a|b", "7|ALPHATEX|A|S|5"});
      } else {
        text +=
            "7001|" + from({"ALPHATEX", "alphatex", "BRIG", "NOSUCH", "", "cem"}) + "|A|" +
            from({"S", "S", "B", "s"}) + "|" + from({"100", "5", "1234567", "x"}) + "|41.50|" +
            from({"C1", "C2", "C3", "c1", "C9", "", "C3\r", "\r"}) + "|0|T01|10:05:11|" +
            (failing(k, 30) ? from({"31/02/2026", "soon"}) : from({"08/12/2026", "7-12-2026"})) +
            "|10/12/2026";
      }
    }
    if (pick(4) == 0) text += "\r\n";
    dir.Write("trades.txt", text);

    Grid fast, straight;
    const int current = pick(4), width = pick(3) ? -1 : pick(400), narrow = pick(13);
    for (Grid* g : {&fast, &straight}) {
      if (round % 2) g->SetMeasure(&uneven);
      SetUpEntryGrid(*g);
      if (width >= 0) g->SetColWidth(narrow, width);
      if (current) {
        g->SetRows(4);
        g->SetText(2, col::kQuantity, "left from before");
        g->SetCurrent(current, 5);
      }
    }
    SCOPED_TRACE(testing::Message() << "round " << round << " file [" << text << "]");
    bool fastResult = ImportTrades(app, fast, dir.File("trades.txt"), "S");
    std::vector<std::string> fastBoxes = std::move(dialogs.boxes);
    dialogs.boxes.clear();
    bool straightResult = test::straight::ImportTrades(app, straight, dir.File("trades.txt"), "S");
    EXPECT_EQ(fastResult, straightResult);
    EXPECT_EQ(fastBoxes, dialogs.boxes);
    ASSERT_EQ(fast.Rows(), straight.Rows());
    for (int r = 0; r < fast.Rows(); ++r) ASSERT_EQ(fast.RowCells(r), straight.RowCells(r)) << r;
    for (int c = 0; c < fast.Cols(); ++c) ASSERT_EQ(fast.ColWidth(c), straight.ColWidth(c)) << c;
    EXPECT_EQ(fast.Row(), straight.Row());
    EXPECT_EQ(fast.RowSel(), straight.RowSel());
    EXPECT_EQ(fast.TopRow(), straight.TopRow());
  }
}

}  // namespace
}  // namespace quorvin
