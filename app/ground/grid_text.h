#pragma once
// The grid text format: one line per grid row (header row first), cells joined
// by "~", lines by CR LF, no line end after the last line.
#include <string>

#include "ground/grid.h"
#include "ground/ports.h"

namespace quorvin {

inline constexpr int kWidenMargin = 200;

// Grows the column to the cell's text width plus margin; never narrows.
// A text that could not be wider than the column even at the widest glyph
// needs no measuring, which keeps walks over many rows quick.
void MeasureAndWiden(Grid& grid, int row, int col, int marginTwips);
inline void WidenColumn(Grid& grid, int row, int col, int marginTwips) {
  long long bound =
      static_cast<long long>(grid.Text(row, col).size()) * grid.Measure().MaxCharWidthTwips() +
      marginTwips;
  if (bound > grid.ColWidth(col)) MeasureAndWiden(grid, row, col, marginTwips);
}

// The grid as grid text (CR LF pairs dropped from cells).
std::string GridToText(const Grid& grid);

// Writes the grid; on failure shows the description and returns false.
bool SaveGridText(Dialogs& dialogs, const Grid& grid, const std::string& path);

// Replaces the grid's rows with the file's lines. On failure shows
// "Tried to read file: ..." titled "Error loading file into list." and keeps
// what was filled before the failure. True when the whole file was read.
bool LoadGridText(Dialogs& dialogs, const std::string& path, Grid& grid);

// The row reset the loader starts from, also used by other loaders.
void ResetToOneBlankRow(Grid& grid);

}  // namespace quorvin
