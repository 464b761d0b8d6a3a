// Tests of saving and loading grid text and widening columns, with the load
// and save compared against a straight walk on random grids.
#include "ground/grid_text.h"

#include <gtest/gtest.h>

#include <random>

#include "day/entry_grid.h"
#include "ground/text.h"
#include "support/fake_dialogs.h"
#include "support/temp_folder.h"

namespace quorvin {
namespace {

using test::FakeDialogs;
using test::TempFolder;

const std::string kHeader =
    "S/N~Broker ID~Clearing BOID~Trade Date~Delivery Date~Client Code~BO ID~BO Name~Scrip "
    "ID~ISIN Code~ISIN Name~Quantity~Internal Ref. No.";

TEST(GridText, BlankEntryGridIsHeaderAndTwelveTildes) {
  Grid grid;
  SetUpEntryGrid(grid);
  EXPECT_EQ(GridToText(grid), kHeader + "\r\n1~~~~~~~~~~~~");
}

TEST(GridText, SaveThenLoadGivesTheSameCellsTrimmed) {
  TempFolder dir;
  FakeDialogs dialogs;
  Grid grid(4, 3);
  grid.SetText(0, 0, "A");
  grid.SetText(1, 1, "  padded  ");
  grid.SetText(2, 2, "line\r\nbreak");
  grid.SetText(3, 0, "\xE9t\xE9");
  ASSERT_TRUE(SaveGridText(dialogs, grid, dir.File("g.txt")));
  EXPECT_EQ(dir.Read("g.txt"), "A~~\r\n~  padded  ~\r\n~~linebreak\r\n\xE9t\xE9~~");

  Grid loaded(2, 3);
  LoadGridText(dialogs, dir.File("g.txt"), loaded);
  ASSERT_EQ(loaded.Rows(), 4);
  EXPECT_EQ(loaded.Text(0, 0), "A");
  EXPECT_EQ(loaded.Text(1, 1), "padded");
  EXPECT_EQ(loaded.Text(2, 2), "linebreak");
  EXPECT_EQ(loaded.Text(3, 0), "\xE9t\xE9");
}

TEST(GridText, ShortAndEmptyLinesLeaveCellsBlankAndTrailingCrLfAddsARow) {
  TempFolder dir;
  FakeDialogs dialogs;
  dir.Write("g.txt", "h0~h1~h2\r\nx\r\n\r\n");
  Grid grid(7, 3);
  grid.SetText(2, 1, "old");
  LoadGridText(dialogs, dir.File("g.txt"), grid);
  ASSERT_EQ(grid.Rows(), 4);
  EXPECT_EQ(grid.Text(1, 0), "x");
  EXPECT_EQ(grid.Text(1, 1), "");
  EXPECT_EQ(grid.Text(2, 1), "");
  EXPECT_EQ(grid.Text(3, 0), "");
}

TEST(GridText, ExtraFieldStopsTheLoadWithTheRowsBeforeIt) {
  TempFolder dir;
  FakeDialogs dialogs;
  dir.Write("g.txt", "a~b\r\nc~d\r\ne~f~g\r\nh~i");
  Grid grid(2, 2);
  dialogs.ExpectContaining("Tried to read file: " + dir.File("g.txt") + "\r\nError Description: ",
                           "Error loading file into list.", MsgIcon::Critical);
  LoadGridText(dialogs, dir.File("g.txt"), grid);
  EXPECT_EQ(grid.Rows(), 4);
  EXPECT_EQ(grid.Text(1, 1), "d");
  EXPECT_EQ(grid.Text(2, 0), "e");
  EXPECT_EQ(grid.Text(2, 1), "f");
  EXPECT_EQ(grid.Text(3, 0), "");  // never reached
}

TEST(GridText, MissingFileLeavesOneBlankRowNumberedOne) {
  TempFolder dir;
  FakeDialogs dialogs;
  Grid grid;
  SetUpEntryGrid(grid);
  grid.SetRows(5);
  grid.SetText(3, 5, "C1001");
  dialogs.Expect(
      "Tried to read file: " + dir.File("none.txt") + "\r\nError Description: File not found",
      "Error loading file into list.", MsgIcon::Critical);
  LoadGridText(dialogs, dir.File("none.txt"), grid);
  EXPECT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.Text(1, 0), "1");
  EXPECT_TRUE(IsGridEmpty(grid));
  EXPECT_EQ(grid.Text(0, 5), "Client Code");
}

TEST(GridText, WidenColumnGrowsToTextPlusMarginAndNeverNarrows) {
  Grid grid(2, 2);
  FixedTextMeasure measure(100);
  grid.SetMeasure(&measure);
  grid.SetColWidth(0, 500);
  grid.SetText(1, 0, "abcdef");
  WidenColumn(grid, 1, 0, 200);
  EXPECT_EQ(grid.ColWidth(0), 800);
  grid.SetText(1, 0, "a");
  WidenColumn(grid, 1, 0, 200);
  EXPECT_EQ(grid.ColWidth(0), 800);
}

}  // namespace
}  // namespace quorvin

namespace quorvin {
namespace {

// The loader as a plain walk: reset, Rows = lines, then each cell set and
// widened in order; a line with too many fields stops it.
bool StraightLoad(const std::string& text, Grid& grid) {
  ResetToOneBlankRow(grid);
  std::vector<std::string_view> lines = SplitAll(text, "\r\n");
  grid.SetRows(static_cast<int>(lines.size()));
  for (size_t i = 0; i < lines.size(); ++i) {
    std::vector<std::string_view> fields = SplitAll(lines[i], "~");
    for (size_t j = 0; j < fields.size(); ++j) {
      if (static_cast<int>(j) >= grid.Cols()) return true;
      grid.SetText(static_cast<int>(i), static_cast<int>(j), std::string(TrimView(fields[j])));
      WidenColumn(grid, static_cast<int>(i), static_cast<int>(j), 200);
    }
  }
  return false;
}

struct CountingDialogs : test::FakeDialogs {
  int boxes = 0;
  MsgAnswer Message(const std::string&, const std::string&, MsgIcon, MsgButtons) override {
    ++boxes;
    return MsgAnswer::Ok;
  }
};

TEST(GridTextRandomized, LoadEqualsTheStraightWalk) {
  std::mt19937 rng(11);
  const char* pieces[] = {"a", " ", "~", "\r\n", "\r", "wide text", "\xE9", "12345"};
  for (int round = 0; round < 400; ++round) {
    std::string text;
    int n = 1 + static_cast<int>(rng() % 40);
    for (int k = 0; k < n; ++k) text += pieces[rng() % 8];
    if (text.empty()) continue;
    TempFolder dir;
    dir.Write("g.txt", text);
    int cols = 1 + static_cast<int>(rng() % 5);
    Grid fast(1 + static_cast<int>(rng() % 4), cols), straight(fast.Rows(), cols);
    for (Grid* g : {&fast, &straight}) {
      g->SetText(0, 0, "old header");
      g->SetColWidth(0, 700);
    }
    CountingDialogs dialogs;
    LoadGridText(dialogs, dir.File("g.txt"), fast);
    ASSERT_EQ(dialogs.boxes == 1, StraightLoad(text, straight)) << round;
    SCOPED_TRACE(testing::Message()
                 << "round " << round << " cols " << cols << " text [" << text << "]");
    ASSERT_EQ(fast.Rows(), straight.Rows()) << round;
    for (int r = 0; r < fast.Rows(); ++r)
      for (int c = 0; c < cols; ++c) ASSERT_EQ(fast.Text(r, c), straight.Text(r, c)) << round;
    for (int c = 0; c < cols; ++c) ASSERT_EQ(fast.ColWidth(c), straight.ColWidth(c)) << round;
  }
}

// The grid text as the old tool wrote it: every CR LF pair taken out of each
// cell, cells joined by "~", rows by CR LF.
std::string StraightText(const Grid& grid) {
  std::string out;
  for (int r = 0; r < grid.Rows(); ++r) {
    if (r) out += "\r\n";
    for (int c = 0; c < grid.Cols(); ++c) {
      if (c) out += "~";
      out += ReplaceAll(grid.Text(r, c), "\r\n", "");
    }
  }
  return out;
}

// Cells with line ends of every kind, at either end or doubled, and texts
// that recur down a column; big enough grids that the saved file spans many
// of the writer's blocks.
TEST(GridTextRandomized, SaveEqualsTheStraightText) {
  std::mt19937 rng(23);
  const char* pieces[] = {"a",
                          " ",
                          "\r\n",
                          "\r",
                          "\n",
                          "\r\r\n",
                          "\xE9",
                          "1204510000067342",
                          "long name of an account holder"};
  TempFolder dir;
  FakeDialogs dialogs;
  for (int round = 0; round < 60; ++round) {
    const int rows = 1 + static_cast<int>(rng() % (round % 10 == 0 ? 3000 : 30));
    const int cols = 1 + static_cast<int>(rng() % 14);
    Grid grid(rows, cols);
    std::string last;
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c) {
        if (rng() % 3 == 0) {  // the text of the cell above or the one before
          grid.SetText(r, c, last);
          continue;
        }
        std::string text;
        for (int k = static_cast<int>(rng() % 5); k > 0; --k) text += pieces[rng() % 9];
        grid.SetText(r, c, text);
        last = text;
      }
    const std::string expected = StraightText(grid);
    ASSERT_EQ(GridToText(grid), expected) << "round " << round;
    ASSERT_TRUE(SaveGridText(dialogs, grid, dir.File("g.txt")));
    ASSERT_EQ(dir.Read("g.txt"), expected) << "round " << round;
  }
}

}  // namespace
}  // namespace quorvin
