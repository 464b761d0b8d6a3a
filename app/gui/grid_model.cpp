#include "gui/grid_model.h"

#include <algorithm>
#include <limits>

#include "gui/qt_text.h"

namespace quorvin::gui {

QtTextMeasure::QtTextMeasure(const QFont& font, int dpi)
    : metrics_(font), dpi_(dpi > 0 ? dpi : 96) {
  // maxWidth() can undershoot for fonts with fallbacks; measure the widest Latin-1 glyph too.
  int widest = metrics_.maxWidth();
  for (int c = 32; c < 256; ++c) widest = std::max(widest, metrics_.horizontalAdvance(QChar(c)));
  maxTwips_ = widest * 1440 / dpi_ + 1;
}

int QtTextMeasure::WidthTwips(std::string_view text) const {
  QString q = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  // In 64 bits: a cell of a few hundred thousand characters would overflow int.
  long long twips = static_cast<long long>(metrics_.horizontalAdvance(q)) * 1440 / dpi_;
  return static_cast<int>(std::min<long long>(twips, std::numeric_limits<int>::max()));
}

GridModel::GridModel(Grid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {
  grid_.SetListener(this);
}

GridModel::~GridModel() {
  grid_.SetListener(nullptr);
}

int GridModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return std::max(grid_.Rows() - grid_.FixedRows(), 0);
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.Cols();
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  int row = GridRow(index.row());
  if (!grid_.Valid(row, index.column())) return {};
  return Q(grid_.Text(row, index.column()));
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + grid_.FixedRows();
  if (grid_.FixedRows() < 1 || section < 0 || section >= grid_.Cols()) return {};
  return Q(grid_.Text(0, section));
}

void GridModel::GridAboutToReset() {
  if (resetting_) return;
  resetting_ = true;
  beginResetModel();
}

void GridModel::GridReset() {
  if (!resetting_) beginResetModel();
  resetting_ = false;
  endResetModel();
  emit gridReset();
}

void GridModel::CellChanged(int row, int col) {
  if (row < grid_.FixedRows()) {
    emit headerDataChanged(Qt::Horizontal, col, col);
    return;
  }
  QModelIndex i = index(TableRow(row), col);
  emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

void GridModel::ColumnWidthChanged(int col) {
  emit columnWidthChanged(col);
}

void GridModel::CurrentCellChanged() {
  emit currentCellChanged();
}

}  // namespace quorvin::gui
