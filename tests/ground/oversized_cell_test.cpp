// A cell too wide for any column: a grid text file with one cell of tens of
// millions of bytes used to overflow the width arithmetic (undefined
// behaviour, an abort under the sanitizers). Its column now stops at the
// largest width and the cell loads whole.
#include <gtest/gtest.h>

#include <limits>

#include "ground/grid_text.h"
#include "support/fake_dialogs.h"
#include "support/temp_folder.h"

namespace quorvin {
namespace {

TEST(OversizedCellTest, AColumnStopsAtTheLargestWidthAndTheCellLoadsWhole) {
  constexpr size_t kHuge = 21'000'000;  // 21 million bytes * 105 twips > INT_MAX
  test::TempFolder dir;
  test::FakeDialogs dialogs;
  dir.Write("BO.txt", "S/N~BO Name\r\n1~" + std::string(kHuge, 'x'));

  Grid grid(2, 2, 1);
  LoadGridText(dialogs, dir.File("BO.txt"), grid);
  dialogs.VerifyDone();
  ASSERT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.Text(1, 1).size(), kHuge);
  EXPECT_EQ(grid.ColWidth(1), std::numeric_limits<int>::max());
  EXPECT_LT(grid.ColWidth(0), 10000) << "the other column keeps its own width";

  // Widening cell by cell, as the editor does, ends the same way.
  Grid edited(2, 2, 1);
  edited.SetText(1, 1, grid.Text(1, 1));
  WidenColumn(edited, 1, 1, kWidenMargin);
  EXPECT_EQ(edited.ColWidth(1), std::numeric_limits<int>::max());
}

}  // namespace
}  // namespace quorvin
