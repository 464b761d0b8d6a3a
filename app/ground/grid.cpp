// The grid's rows, columns, widths, current cell and selection, and the
// notices sent to the view when a change (or a batch of them) is done.
#include "ground/grid.h"

#include <algorithm>

namespace quorvin {

Grid::Grid(int rows, int cols, int fixedRows)
    : pool_(std::make_shared<CellPool>()),
      cells_(static_cast<size_t>(std::max(rows, 0)) * std::max(cols, 0), pool_->Empty()),
      rows_(std::max(rows, 0)),
      widths_(std::max(cols, 0), 0),
      cols_(std::max(cols, 0)),
      fixedRows_(fixedRows) {
  row_ = rowSel_ = topRow_ = std::min(fixedRows_, std::max(Rows() - 1, 0));
}

void Grid::AboutToReset() {
  if (batchDepth_ == 0)
    for (GridListener* l : listeners_) l->GridAboutToReset();
}

void Grid::Reset() {
  if (batchDepth_ == 0)
    for (GridListener* l : listeners_) l->GridReset();
}

void Grid::NotifyCurrent() {
  if (batchDepth_ == 0)
    for (GridListener* l : listeners_) l->CurrentCellChanged();
}

int Grid::ClampRow(int row) const {
  return std::clamp(row, 0, std::max(Rows() - 1, 0));
}
int Grid::ClampCol(int col) const {
  return std::clamp(col, 0, std::max(cols_ - 1, 0));
}

void Grid::SetRows(int rows) {
  rows = std::max(rows, 0);
  if (rows == Rows()) return;
  changed_ = kEveryColumn;
  ++edits_;
  AboutToReset();
  cells_.resize(static_cast<size_t>(rows) * cols_, pool_->Empty());
  // A grid cut down to a small part of its size gives the room back.
  if (cells_.capacity() > 4 * cells_.size() + 1024) cells_.shrink_to_fit();
  if (pool_->Size() > 4 * cells_.size() + 4096) Compact();
  rows_ = rows;
  row_ = ClampRow(row_);
  rowSel_ = ClampRow(rowSel_);
  topRow_ = ClampRow(topRow_);
  Reset();
}

void Grid::Compact() {
  auto pool = std::make_shared<CellPool>();
  for (Cell& cell : cells_) cell = pool->Intern(*cell);
  pool_ = std::move(pool);
}

void Grid::SetCols(int cols) {
  cols = std::max(cols, 0);
  if (cols == cols_) return;
  changed_ = kEveryColumn;
  ++edits_;
  AboutToReset();
  std::vector<Cell> cells(static_cast<size_t>(rows_) * cols, pool_->Empty());
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < std::min(cols, cols_); ++c)
      cells[static_cast<size_t>(r) * cols + c] = cells_[Index(r, c)];
  cells_.swap(cells);
  cols_ = cols;
  widths_.resize(cols_, 0);
  col_ = ClampCol(col_);
  colSel_ = ClampCol(colSel_);
  Reset();
}

void Grid::SetText(int row, int col, std::string_view text) {
  Cell& cell = cells_[Index(row, col)];
  if (*cell == text) return;
  cell = pool_->Intern(text);
  MarkChanged(col);
  ++edits_;
  if (batchDepth_ == 0) NotifyCell(row, col);
}

Grid::CellRow Grid::RowCells(int row) const {
  CellRow cells;
  cells.reserve(cols_);
  for (int c = 0; c < cols_; ++c) cells.push_back(Text(row, c));
  return cells;
}

void Grid::ReplaceRows(const std::vector<CellRow>& rows) {
  auto pool = std::make_shared<CellPool>();
  std::vector<Cell> cells;
  cells.reserve(rows.size() * cols_);
  for (const CellRow& row : rows)
    for (const std::string& text : row) cells.push_back(pool->Intern(text));
  ReplaceCells(std::move(cells), static_cast<int>(rows.size()), std::move(pool));
}

void Grid::ReplaceCells(std::vector<Cell> cells, int rows, std::shared_ptr<CellPool> pool) {
  changed_ = kEveryColumn;
  ++edits_;
  AboutToReset();
  cells_ = std::move(cells);
  pool_ = std::move(pool);
  rows_ = rows;
  row_ = ClampRow(row_);
  rowSel_ = ClampRow(rowSel_);
  topRow_ = ClampRow(topRow_);
  Reset();
}

void Grid::RemoveRows(int first, int count) {
  if (count <= 0) return;
  changed_ = kEveryColumn;
  ++edits_;
  AboutToReset();
  cells_.erase(cells_.begin() + static_cast<size_t>(first) * cols_,
               cells_.begin() + static_cast<size_t>(first + count) * cols_);
  rows_ -= count;
  row_ = ClampRow(row_);
  rowSel_ = ClampRow(rowSel_);
  topRow_ = ClampRow(topRow_);
  Reset();
}

void Grid::SetColWidth(int col, int twips) {
  if (widths_[col] == twips) return;
  widths_[col] = twips;
  MarkChanged(col);
  if (batchDepth_ == 0)
    for (GridListener* l : listeners_) l->ColumnWidthChanged(col);
}

void Grid::SetCurrent(int row, int col) {
  row_ = rowSel_ = ClampRow(row);
  col_ = colSel_ = ClampCol(col);
  NotifyCurrent();
}

void Grid::SetSelection(int row, int col, int rowSel, int colSel) {
  row_ = ClampRow(row);
  col_ = ClampCol(col);
  rowSel_ = ClampRow(rowSel);
  colSel_ = ClampCol(colSel);
  NotifyCurrent();
}

void Grid::SetTopRow(int row) {
  topRow_ = ClampRow(row);
  NotifyCurrent();
}

GridBatch::GridBatch(Grid& grid) : grid_(grid) {
  grid_.AboutToReset();
  ++grid_.batchDepth_;
}

GridBatch::~GridBatch() {
  --grid_.batchDepth_;
  grid_.Reset();
  grid_.NotifyCurrent();
}

}  // namespace quorvin
