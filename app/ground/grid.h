#pragma once
// The flex grid's model: rows of text cells, a number of fixed header rows,
// column widths in twips, the current cell, the selection's other end and the
// top visible row. Every window shows, and every routine changes, this one
// object; the Qt table is only a view of it.
//
// The cells lie in one array, row after row, each a pointer to its text in
// the grid's cell pool: a row is thirteen words however long its texts, a
// walk down the rows reads memory in order, and moving a row moves pointers.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ground/cell_pool.h"
#include "ground/ports.h"

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

  int Rows() const { return rows_; }
  int Cols() const { return cols_; }
  int FixedRows() const { return fixedRows_; }
  // New rows start blank; the current cell and selection are kept inside the grid.
  void SetRows(int rows);
  void SetCols(int cols);

  const std::string& Text(int row, int col) const { return *cells_[Index(row, col)]; }
  void SetText(int row, int col, std::string_view text);
  bool Valid(int row, int col) const { return row >= 0 && row < Rows() && col >= 0 && col < cols_; }
  // True when two cells hold the same text; cheaper than comparing the texts.
  bool SameText(int row1, int col1, int row2, int col2) const {
    return cells_[Index(row1, col1)] == cells_[Index(row2, col2)];
  }

  // A copy of one row's cells.
  CellRow RowCells(int row) const;
  // Replaces every row at once; each row must be Cols() long.
  void ReplaceRows(const std::vector<CellRow>& rows);

  // Bulk access for the routines that move or make many rows (sort, summary,
  // loads). The cells, row after row, point into Pool(); callers hold a
  // GridBatch while they change them, put only cells of Pool() there and keep
  // their count Rows() * Cols() (SetRows after removing rows).
  const std::vector<Cell>& Cells() const { return cells_; }
  std::vector<Cell>& MutableCells() {
    changed_ = kEveryColumn;
    ++edits_;
    return cells_;
  }
  CellPool& Pool() { return *pool_; }
  Cell CellAt(int row, int col) const { return cells_[Index(row, col)]; }
  void SetCell(int row, int col, Cell cell) {
    Cell& at = cells_[Index(row, col)];
    if (at == cell) return;
    at = cell;
    MarkChanged(col);
    ++edits_;
    if (batchDepth_ == 0) NotifyCell(row, col);
  }

  // The columns whose cells or width changed since they were last forgotten,
  // bit c for column c (columns from 63 on share bit 63); every bit once
  // rows, columns or cells in bulk changed. Lets a routine see that what it
  // left in its columns still stands.
  std::uint64_t ChangedColumns() const { return changed_; }
  // Counts every change of the rows or cells (not of widths or the current
  // cell): equal counts mean the same content.
  std::uint64_t Edits() const { return edits_; }
  void ForgetChanges(std::uint64_t columns) { changed_ &= ~columns; }
  static std::uint64_t ColumnBit(int col) { return std::uint64_t{1} << std::min(col, 63); }
  // Replaces every row with `rows` rows of cells from `pool`, which the grid
  // then keeps instead of its own.
  void ReplaceCells(std::vector<Cell> cells, int rows, std::shared_ptr<CellPool> pool);
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

  // Every listener is told of every change, in the order they were added.
  void AddListener(GridListener* listener) { listeners_.push_back(listener); }
  void RemoveListener(GridListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
  }

 private:
  friend class GridBatch;
  void AboutToReset();
  void Reset();
  void NotifyCurrent();
  void NotifyCell(int row, int col) {
    for (GridListener* l : listeners_) l->CellChanged(row, col);
  }
  // Moves the cells into a pool of their texts only.
  void Compact();
  int ClampRow(int row) const;
  int ClampCol(int col) const;

  size_t Index(int row, int col) const { return static_cast<size_t>(row) * cols_ + col; }
  void MarkChanged(int col) { changed_ |= ColumnBit(col); }

  static constexpr std::uint64_t kEveryColumn = ~std::uint64_t{0};

  std::shared_ptr<CellPool> pool_;
  std::vector<Cell> cells_;
  int rows_;
  std::vector<int> widths_;
  int cols_;
  int fixedRows_;
  int row_ = 0, col_ = 0, rowSel_ = 0, colSel_ = 0, topRow_ = 0;
  int batchDepth_ = 0;
  std::uint64_t changed_ = kEveryColumn;
  std::uint64_t edits_ = 0;
  std::vector<GridListener*> listeners_;
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
