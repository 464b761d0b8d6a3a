#pragma once
// The flex grid's model: rows of text cells, a number of fixed header rows,
// column widths in twips, the current cell, the selection's other end and the
// top visible row. Every window shows, and every routine changes, this one
// object; the Qt table is only a view of it.
#include <string>
#include <vector>

#include "shell/ports.h"

namespace quorvin {

// Told about changes so that a view can follow them.
class GridListener {
 public:
  virtual ~GridListener() = default;
  virtual void GridAboutToReset() = 0;  // rows or many cells are about to change
  virtual void GridReset() = 0;
  virtual void CellChanged(int row, int col) = 0;
  virtual void ColumnWidthChanged(int col) = 0;
  virtual void CurrentCellChanged() = 0;  // Row, Col, RowSel, ColSel or TopRow
};

class Grid {
 public:
  using CellRow = std::vector<std::string>;

  explicit Grid(int rows = 2, int cols = 2, int fixedRows = 1);

  int Rows() const { return static_cast<int>(cells_.size()); }
  int Cols() const { return cols_; }
  int FixedRows() const { return fixedRows_; }
  // New rows start blank; the current cell and selection are kept inside the grid.
  void SetRows(int rows);
  void SetCols(int cols);

  const std::string& Text(int row, int col) const { return cells_[row][col]; }
  void SetText(int row, int col, std::string text);
  bool Valid(int row, int col) const { return row >= 0 && row < Rows() && col >= 0 && col < cols_; }

  const CellRow& RowCells(int row) const { return cells_[row]; }
  // Whole-table access for bulk routines (sort, summary, load). Callers hold a
  // GridBatch while they change rows this way and keep every row Cols() long.
  std::vector<CellRow>& MutableRows() { return cells_; }
  // Replaces every row at once; each row must be Cols() long.
  void ReplaceRows(std::vector<CellRow> rows);
  // Removes rows [first, first + count).
  void RemoveRows(int first, int count);

  int ColWidth(int col) const { return widths_[col]; }
  void SetColWidth(int col, int twips);

  int Row() const { return row_; }
  int Col() const { return col_; }
  int RowSel() const { return rowSel_; }
  int ColSel() const { return colSel_; }
  int TopRow() const { return topRow_; }
  // Setting the current cell collapses the selection onto it, as the flex grid does.
  void SetCurrent(int row, int col);
  void SetRow(int row) { SetCurrent(row, col_); }
  void SetCol(int col) { SetCurrent(row_, col); }
  void SetSelection(int row, int col, int rowSel, int colSel);
  void SetTopRow(int row);

  const TextMeasure& Measure() const { return *measure_; }
  void SetMeasure(const TextMeasure* measure) { measure_ = measure ? measure : &fallbackMeasure_; }

  void SetListener(GridListener* listener) { listener_ = listener; }

 private:
  friend class GridBatch;
  void AboutToReset();
  void Reset();
  void NotifyCurrent();
  int ClampRow(int row) const;
  int ClampCol(int col) const;

  std::vector<CellRow> cells_;
  std::vector<int> widths_;
  int cols_;
  int fixedRows_;
  int row_ = 0, col_ = 0, rowSel_ = 0, colSel_ = 0, topRow_ = 0;
  int batchDepth_ = 0;
  GridListener* listener_ = nullptr;
  FixedTextMeasure fallbackMeasure_;
  const TextMeasure* measure_ = &fallbackMeasure_;
};

// Holds off per-cell notices while a routine changes many cells; the view is
// told once, when the outermost batch ends.
class GridBatch {
 public:
  explicit GridBatch(Grid& grid);
  ~GridBatch();
  GridBatch(const GridBatch&) = delete;
  GridBatch& operator=(const GridBatch&) = delete;

 private:
  Grid& grid_;
};

}  // namespace quorvin
