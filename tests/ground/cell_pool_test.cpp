// Tests that equal texts share one place in the cell pool, that the text map
// finds what was added, and that grid cells keep their texts through resizes.
#include "ground/cell_pool.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "ground/grid.h"
#include "ground/text_map.h"

namespace quorvin {
namespace {

// Equal texts must share one place however they come in, or a cell compared
// by place would differ from one holding the same text.
TEST(CellPool, EqualTextsShareOnePlaceWhicheverWayTheyCameIn) {
  CellPool pool;
  EXPECT_EQ(pool.Intern(""), pool.Empty());
  EXPECT_EQ(pool.Intern("1204510000000011"), pool.Intern(std::string("1204510000000011")));
  EXPECT_NE(pool.Intern("C1001"), pool.Intern("c1001"));
  for (int n : {0, 7, 10, 99999, 2097151, 2097152, 123456789, -1, -250})
    EXPECT_EQ(pool.Number(n), pool.Intern(std::to_string(n))) << n;
  // Texts that read as a number but are written otherwise stay themselves.
  for (const char* text : {"05", "+5", "5.0", " 5", "00", "12345678"})
    EXPECT_EQ(*pool.Intern(text), text);
  EXPECT_NE(pool.Intern("05"), pool.Number(5));
  EXPECT_NE(pool.Intern("00"), pool.Number(0));
  // A numbered text met first as typed, and one made first by number.
  Cell prefix = pool.Intern("I204513081226");
  Cell typed = pool.Intern("I2045130812267");
  EXPECT_EQ(pool.Numbered(prefix, 7), typed);
  EXPECT_EQ(pool.Numbered(prefix, 7), typed);
  EXPECT_EQ(pool.Intern("I20451308122612"), pool.Numbered(prefix, 12));
  EXPECT_EQ(*pool.Numbered(pool.Intern(""), 0), "0");
  EXPECT_EQ(pool.Numbered(pool.Intern(""), 3), pool.Number(3));
}

TEST(CellPool, PlacesHoldTheirTextsWhileThePoolGrows) {
  CellPool pool;
  std::vector<std::pair<Cell, std::string>> kept;
  for (int i = 0; i < 200000; ++i) {
    std::string text = (i % 3 ? "client " : "a text long enough to leave the string ") +
                       std::to_string(i * 7919 % 1000003);
    Cell cell = i % 5 ? pool.Intern(text) : pool.Number(i);
    if (i % 5 == 0) text = std::to_string(i);
    if (i % 1000 == 0) kept.emplace_back(cell, text);
  }
  for (const auto& [cell, text] : kept) {
    EXPECT_EQ(*cell, text);
    EXPECT_EQ(pool.Intern(text), cell);
  }
}

TEST(TextMap, FindsWhatWasAddedUnderShortAndLongKeys) {
  std::mt19937 rng(31);
  TextMap<int> map;
  std::unordered_map<std::string, int> plain;
  std::vector<std::string> keys;  // long keys are kept by reference: they must stay put
  keys.reserve(20000);
  for (int i = 0; i < 20000; ++i) {
    std::string key(rng() % 30, 'x');
    for (char& c : key) c = static_cast<char>('a' + rng() % 3);
    keys.push_back(key);
    const std::string& kept = keys.back();
    auto hash = TextMap<int>::Hash(kept);
    int* found = map.Find(kept, hash);
    auto known = plain.find(kept);
    ASSERT_EQ(found != nullptr, known != plain.end()) << kept;
    if (found) {
      EXPECT_EQ(*found, known->second);
    } else {
      map.Add(kept, hash, i);
      plain.emplace(kept, i);
    }
  }
  EXPECT_EQ(map.Size(), plain.size());
}

TEST(GridCells, RowsAndColumnsKeepTheirTextsThroughResizes) {
  Grid grid(3, 3, 1);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) grid.SetText(r, c, std::to_string(r) + ":" + std::to_string(c));
  grid.SetCols(4);
  EXPECT_EQ(grid.Text(2, 2), "2:2");
  EXPECT_EQ(grid.Text(2, 3), "");
  grid.SetCols(2);
  EXPECT_EQ(grid.RowCells(1), (Grid::CellRow{"1:0", "1:1"}));
  grid.RemoveRows(1, 1);
  EXPECT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.Text(1, 1), "2:1");
  grid.SetText(1, 0, "0:1");
  EXPECT_TRUE(grid.SameText(0, 1, 1, 0));
  EXPECT_FALSE(grid.SameText(0, 0, 1, 0));
}

// A grid cut down from many distinct texts to a few rows moves to a pool of
// the texts it still shows; its cells and their comparisons must not change.
TEST(GridCells, ACutDownGridKeepsItsTextsInASmallerPool) {
  Grid grid(2, 2, 1);
  grid.SetRows(50001);
  for (int r = 1; r < grid.Rows(); ++r) {
    grid.SetText(r, 0, "row " + std::to_string(r));
    grid.SetText(r, 1, r % 2 ? "odd" : "even");
  }
  const std::uint64_t before = grid.Pool().Id();
  grid.SetRows(4);
  EXPECT_NE(grid.Pool().Id(), before);
  EXPECT_LT(grid.Pool().Size(), 100u);
  EXPECT_EQ(grid.RowCells(3), (Grid::CellRow{"row 3", "odd"}));
  EXPECT_TRUE(grid.SameText(1, 1, 3, 1));
  grid.SetText(2, 1, "odd");
  EXPECT_TRUE(grid.SameText(2, 1, 3, 1));
}

}  // namespace
}  // namespace quorvin
