// Tests of the pay-in and pay-out reports against the expected forms and a
// line-by-line build, and of writing the file and opening the viewer.
#include "work/reports/instruction_reports.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <random>
#include <sstream>

#include "day/entry_grid.h"
#include "ground/text.h"
#include "support/fake_dialogs.h"
#include "support/temp_folder.h"

namespace quorvin {
namespace {

class FixedClock : public Clock {
 public:
  DateTime Now() const override { return DateTime{Date{2026, 12, 9}, 16, 5, 0}; }
};

struct Row {
  std::string broker, tradeDate, deliveryDate, clientCode, boId, boName, isin, isinName, quantity;
};

Grid EntryGrid(const std::vector<Row>& rows) {
  Grid grid;
  SetUpEntryGrid(grid);
  grid.SetRows(static_cast<int>(rows.size()) + 1);
  for (int r = 1; r <= static_cast<int>(rows.size()); ++r) {
    const Row& row = rows[r - 1];
    grid.SetText(r, col::kSN, std::to_string(r));
    grid.SetText(r, col::kBrokerID, row.broker);
    grid.SetText(r, col::kClearingBOID, "1204510000000001");
    grid.SetText(r, col::kTradeDate, row.tradeDate);
    grid.SetText(r, col::kDeliveryDate, row.deliveryDate);
    grid.SetText(r, col::kClientCode, row.clientCode);
    grid.SetText(r, col::kBOID, row.boId);
    grid.SetText(r, col::kBOName, row.boName);
    grid.SetText(r, col::kScripID, "SCRIP");
    grid.SetText(r, col::kISINCode, row.isin);
    grid.SetText(r, col::kISINName, row.isinName);
    grid.SetText(r, col::kQuantity, row.quantity);
    grid.SetText(r, col::kInternalRefNo, "I2045130812261");
  }
  return grid;
}

// One account of three rows (a 40-character ISIN name, a seven-digit
// quantity), then a 50-character BO name under two client codes. Row 1 alone
// gives the heading's delivery date and broker.
Grid PayInGrid() {
  const std::string joint = "TAHMINA MIA AND BELAL BEGUM JOINT HOLDING ACCOUNTS";
  return EntryGrid({
      {"204513", "08-Dec-2026", "10-Dec-2026", "C1001", "1204510068589644", "HABIB AHMED",
       "MG1000ALPH13", "ALPHA TEXTILES LIMITED", "1500"},
      {"999999", "08-Dec-2026", "12-Dec-2026", "C1001", "1204510068589644", "HABIB AHMED",
       "MG1037BRIG92", "BRIGHT CEMENT COMPANY LIMITED ORD SHARES", "1234567"},
      {"204513", "07-Dec-2026", "10-Dec-2026", "C1001", "1204510068589644", "HABIB AHMED",
       "MG1074CORA18", "CORAL BANK LIMITED", "20"},
      {"204513", "08-Dec-2026", "10-Dec-2026", "C1004", "1204510071900518", joint, "MG1000ALPH13",
       "ALPHA TEXTILES LIMITED", "300"},
      {"204513", "08-Dec-2026", "11-Dec-2026", "C1005", "1204510071900518", joint, "MG1111DELT55",
       "DELTA FOODS LTD", "75"},
  });
}

// Unsorted: one account's rows split by another's give three blocks; empty
// cells print as blanks.
Grid PayOutGrid() {
  return EntryGrid({
      {"204513", "09-Dec-2026", "11-Dec-2026", "C1001", "1204510068589644", "HABIB AHMED",
       "MG1000ALPH13", "ALPHA TEXTILES LIMITED", "100"},
      {"204513", "09-Dec-2026", "11-Dec-2026", "C1007", "1204510015730575", "BELAL BEGUM",
       "MG1148EMBR20", "", "2500"},
      {"204513", "", "11-Dec-2026", "C1001", "1204510068589644", "HABIB AHMED", "MG1074CORA18",
       "CORAL BANK LIMITED", "40"},
  });
}

std::string Expected(const std::string& name) {
  std::ifstream in(std::string(QUORVIN_TEST_DATA) + "/reports/" + name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  EXPECT_FALSE(s.str().empty()) << "missing expected file " << name;
  return s.str();
}

TEST(PadTextTest, CutsOrFillsToExactlyTheWidth) {
  EXPECT_EQ(PadText("ab", 5), "ab   ");
  EXPECT_EQ(PadText("ab", 5, true), "   ab");
  EXPECT_EQ(PadText("abcde", 5, true), "abcde");
  EXPECT_EQ(PadText("abcdefg", 5), "abcde");
  EXPECT_EQ(PadText("abcdefg", 5, true), "abcde");  // the first characters, whatever the side
  EXPECT_EQ(PadText("", 3), "   ");
  EXPECT_EQ(PadText("1234567", 10, true), "   1234567");
  EXPECT_EQ(PadText("abc", 0), "");
  EXPECT_EQ(PadText("abc", -2), "");
  EXPECT_EQ(PadText("Caf\xe9", 5), "Caf\xe9 ");  // 8-bit text counts bytes
}

TEST(InstructionReportTest, PayInReportMatchesTheForm) {
  std::string text = PayInReportText(PayInGrid(), "1204510000000001", Date{2026, 12, 9});
  EXPECT_EQ(text, Expected("payin_report.txt"));
  // Every line but the title is the form's width.
  auto lines = SplitAll(text, "\r\n");
  ASSERT_GT(lines.size(), 2u);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i != 1) {
      EXPECT_EQ(lines[i].size(), 82u) << "line " << i + 1 << ": " << lines[i];
    }
  }
}

TEST(InstructionReportTest, PayOutReportMatchesTheFormWithItsSignatureBlock) {
  std::string text = PayOutReportText(PayOutGrid(), "1204510000000001", Date{2026, 12, 9});
  EXPECT_EQ(text, Expected("payout_report.txt"));
  EXPECT_TRUE(EndsWith(text, "\r\nOf Broker/Dealer"));
}

TEST(InstructionReportTest, OneRowIsOneBlockNumberedOne) {
  Grid grid = EntryGrid({{"204513", "08-Dec-2026", "10-Dec-2026", "C1001", "1204510068589644",
                          "HABIB AHMED", "MG1000ALPH13", "ALPHA TEXTILES LIMITED", "1"}});
  // The lines are views: the text must outlive them.
  const std::string text = PayInReportText(grid, "1204510000000001", Date{2026, 12, 9});
  auto lines = SplitAll(text, "\r\n");
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_TRUE(StartsWith(lines[12], "1     MG1000ALPH13")) << lines[12];
  EXPECT_EQ(lines[13], std::string(82, '='));
}

// The report as the old tool built it: a list of lines, each the sum of its
// padded fields, joined at the end.
std::string StraightPad(const std::string& text, size_t width, bool right = false) {
  if (text.size() >= width) return text.substr(0, width);
  std::string fill(width - text.size(), ' ');
  return right ? fill + text : text + fill;
}

std::string StraightReport(const Grid& g, const std::string& clearing, const Date& date,
                           bool payOut) {
  const std::string dbl(82, '='), sgl(82, '-'), gap = "  ";
  auto account = [&](int r) {
    return StraightPad("", 4) + gap + StraightPad(g.Text(r, col::kBOID), 16) + gap +
           StraightPad(g.Text(r, col::kBOName), 44) + gap +
           StraightPad(g.Text(r, col::kClientCode), 12, true);
  };
  auto instruction = [&](int r, int serial) {
    return StraightPad(std::to_string(serial), 4) + gap +
           StraightPad(g.Text(r, col::kISINCode), 16) + gap +
           StraightPad(g.Text(r, col::kISINName), 32) + gap +
           StraightPad(g.Text(r, col::kQuantity), 10, true) + gap +
           StraightPad(g.Text(r, col::kTradeDate), 12, true);
  };
  std::vector<std::string> lines = {
      dbl,
      std::string("MARLOWGATE STOCK EXCHANGE LTD. (") + (payOut ? "PAY-OUT" : "PAY-IN") +
          " INSTRUCTION REPORT)",
      dbl,
      "Print Date             : " + FormatDisplayDate(date) +
          "     Delivery Date          : " + StraightPad(g.Text(1, col::kDeliveryDate), 16, true),
      "Exchange ID            : 11              Broker / Dealer Code   : " +
          StraightPad(g.Text(1, col::kBrokerID), 16, true),
      "                                         Clearing A/C ID        : " +
          StraightPad(clearing, 16, true),
      sgl,
      StraightPad("", 4) + gap + StraightPad("A/C ID", 16) + gap +
          StraightPad("Name of Account Holder", 32) + gap + StraightPad("", 10) + gap +
          StraightPad("Client Code", 12, true),
      StraightPad("", 4) + gap + std::string(16, '-') + gap + std::string(44, '-') + gap +
          std::string(12, '-'),
      "Sl.#" + gap + StraightPad("ISIN", 16) + gap + StraightPad("Name of ISIN", 32) + gap +
          StraightPad("Quantity", 10, true) + gap + StraightPad("Trade Date", 12, true),
      sgl};
  int serial = 1;
  lines.push_back(account(1));
  lines.push_back(instruction(1, serial));
  for (int r = 2; r < g.Rows(); ++r) {
    if (g.Text(r, col::kBOID) != g.Text(r - 1, col::kBOID) ||
        g.Text(r, col::kClientCode) != g.Text(r - 1, col::kClientCode)) {
      serial = 1;
      lines.push_back(sgl);
      lines.push_back(account(r));
    } else {
      ++serial;
    }
    lines.push_back(instruction(r, serial));
  }
  lines.push_back(dbl);
  if (payOut) {
    lines.insert(lines.end(),
                 {"", "", "", std::string(33, '-') + std::string(16, ' ') + std::string(33, '-'),
                  "Authorized Signatory" + std::string(38, ' ') + "Approved By MGX Official",
                  "Of Broker/Dealer"});
  }
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  return text;
}

// Random grids: fields shorter, exactly as long and longer than their column,
// empty, 8-bit, with line ends; accounts in runs and split up; long enough
// grids that the file spans many of the writer's blocks.
TEST(InstructionReportTest, ReportsMatchTheLineByLineBuild) {
  std::mt19937 rng(31);
  auto text = [&](size_t longest) {
    std::string t;
    for (size_t n = std::uniform_int_distribution<size_t>(0, longest)(rng); n > 0; --n)
      t += "AZ09 -\xE9\r\n"[rng() % 10];
    return t;
  };
  test::TempFolder program;
  test::FakeDialogs dialogs;
  FixedClock clock;
  AppContext app(dialogs, clock, program.Path());
  for (int round = 0; round < 80; ++round) {
    const int rows = 1 + static_cast<int>(rng() % (round % 8 == 0 ? 4000 : 40));
    Grid grid;
    SetUpEntryGrid(grid);
    grid.SetRows(rows + 1);
    std::string boid = text(20), client = text(14), name = text(50);
    for (int r = 1; r <= rows; ++r) {
      if (rng() % 3 == 0) {
        boid = text(20);
        name = text(50);
      }
      if (rng() % 4 == 0) client = text(14);
      for (int c = 0; c < kEntryColumns; ++c) grid.SetText(r, c, text(18));
      grid.SetText(r, col::kBOID, boid);
      grid.SetText(r, col::kClientCode, client);
      grid.SetText(r, col::kBOName, name);
      grid.SetText(r, col::kISINName, text(40));
      grid.SetText(r, col::kQuantity, text(12));
    }
    const std::string clearing = text(20);
    const Date date{2026, 12, 9};
    for (bool payOut : {false, true}) {
      const std::string expected = StraightReport(grid, clearing, date, payOut);
      ASSERT_EQ(
          payOut ? PayOutReportText(grid, clearing, date) : PayInReportText(grid, clearing, date),
          expected)
          << "round " << round;
      app.settings.ClearingBOID = clearing;
      payOut ? PrintPayOutReport(app, grid) : PrintPayInReport(app, grid);
      ASSERT_EQ(program.Read(payOut ? "PAY-OUT INSTRUCTIONS" : "PAY-IN INSTRUCTIONS"), expected)
          << "round " << round;
    }
  }
}

class PrintReportTest : public ::testing::Test {
 protected:
  PrintReportTest() : app(dialogs, clock, program.Path()) {
    app.settings.ClearingBOID = "1204510000000001";
  }
  test::TempFolder program;
  test::FakeDialogs dialogs;
  FixedClock clock;
  AppContext app;
};

TEST_F(PrintReportTest, WritesBesideTheProgramOverwritesAndOpensTheViewer) {
  PrintPayInReport(app, PayInGrid());
  EXPECT_EQ(program.Read("PAY-IN INSTRUCTIONS"), Expected("payin_report.txt"));
  PrintPayOutReport(app, PayOutGrid());
  EXPECT_EQ(program.Read("PAY-OUT INSTRUCTIONS"), Expected("payout_report.txt"));

  // Printing again replaces the file; the names have no extension.
  PrintPayInReport(app, PayOutGrid());
  EXPECT_NE(program.Read("PAY-IN INSTRUCTIONS"), Expected("payin_report.txt"));
  EXPECT_TRUE(StartsWith(SplitAll(program.Read("PAY-IN INSTRUCTIONS"), "\r\n")[1],
                         "MARLOWGATE STOCK EXCHANGE LTD. (PAY-IN"));
  EXPECT_EQ(dialogs.viewed, (std::vector<std::string>{program.File("PAY-IN INSTRUCTIONS"),
                                                      program.File("PAY-OUT INSTRUCTIONS"),
                                                      program.File("PAY-IN INSTRUCTIONS")}));
}

TEST_F(PrintReportTest, AFailureIsShownAndNoViewerOpens) {
  // A program folder that cannot be written.
  app.programFolder = program.File("missing/");
  dialogs.ExpectErrorContaining("File not found");
  PrintPayOutReport(app, PayOutGrid());

  // A grid without data rows has nothing to print; it must not crash.
  app.programFolder = program.Path();
  Grid headerOnly(1, kEntryColumns, 1);
  dialogs.ExpectErrorContaining("Subscript out of range");
  PrintPayInReport(app, headerOnly);

  EXPECT_TRUE(dialogs.viewed.empty());
  EXPECT_FALSE(program.Exists("PAY-IN INSTRUCTIONS"));
}

}  // namespace
}  // namespace quorvin
