#include "shell/grid.h"

#include <algorithm>

namespace quorvin {

Grid::Grid(int rows, int cols, int fixedRows)
    : cells_(std::max(rows, 0), CellRow(std::max(cols, 0))),
      widths_(std::max(cols, 0), 0),
      cols_(std::max(cols, 0)),
      fixedRows_(fixedRows) {
  row_ = rowSel_ = topRow_ = std::min(fixedRows_, std::max(Rows() - 1, 0));
}

void Grid::AboutToReset() {
  if (batchDepth_ == 0 && listener_) listener_->GridAboutToReset();
}

void Grid::Reset() {
  if (batchDepth_ == 0 && listener_) listener_->GridReset();
}

void Grid::NotifyCurrent() {
  if (batchDepth_ == 0 && listener_) listener_->CurrentCellChanged();
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
  AboutToReset();
  cells_.resize(rows, CellRow(cols_));
  row_ = ClampRow(row_);
  rowSel_ = ClampRow(rowSel_);
  topRow_ = ClampRow(topRow_);
  Reset();
}

void Grid::SetCols(int cols) {
  cols = std::max(cols, 0);
  if (cols == cols_) return;
  AboutToReset();
  cols_ = cols;
  for (CellRow& r : cells_) r.resize(cols_);
  widths_.resize(cols_, 0);
  col_ = ClampCol(col_);
  colSel_ = ClampCol(colSel_);
  Reset();
}

void Grid::SetText(int row, int col, std::string text) {
  std::string& cell = cells_[row][col];
  if (cell == text) return;
  cell = std::move(text);
  if (batchDepth_ == 0 && listener_) listener_->CellChanged(row, col);
}

void Grid::ReplaceRows(std::vector<CellRow> rows) {
  AboutToReset();
  cells_ = std::move(rows);
  row_ = ClampRow(row_);
  rowSel_ = ClampRow(rowSel_);
  topRow_ = ClampRow(topRow_);
  Reset();
}

void Grid::RemoveRows(int first, int count) {
  if (count <= 0) return;
  AboutToReset();
  cells_.erase(cells_.begin() + first, cells_.begin() + first + count);
  row_ = ClampRow(row_);
  rowSel_ = ClampRow(rowSel_);
  topRow_ = ClampRow(topRow_);
  Reset();
}

void Grid::SetColWidth(int col, int twips) {
  if (widths_[col] == twips) return;
  widths_[col] = twips;
  if (batchDepth_ == 0 && listener_) listener_->ColumnWidthChanged(col);
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
