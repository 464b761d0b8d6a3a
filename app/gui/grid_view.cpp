// Keeping the table view and the grid's current cell, selection and top row
// in step, and passing the clerk's keys and clicks on to the window.
#include "gui/grid_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

namespace quorvin::gui {

int LegacyKeyCode(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Escape:
      return 27;
    default:
      return 0;
  }
}

GridView::GridView(GridModel* model, const QtTextMeasure* measure, QWidget* parent)
    : QTableView(parent), model_(model), measure_(measure) {
  setModel(model_);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setWordWrap(false);
  setAlternatingRowColors(true);
  verticalHeader()->setVisible(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  connect(model_, &GridModel::columnWidthChanged, this, [this](int col) {
    setColumnWidth(col, measure_->TwipsToPixels(model_->CoreGrid().ColWidth(col)));
  });
  connect(model_, &GridModel::gridReset, this, [this] {
    ApplyColumnWidths();
    PullFromGrid();
  });
  connect(model_, &GridModel::currentCellChanged, this, &GridView::PullFromGrid);
  ApplyColumnWidths();
}

void GridView::ApplyColumnWidths() {
  const Grid& grid = model_->CoreGrid();
  for (int c = 0; c < grid.Cols(); ++c)
    setColumnWidth(c, measure_->TwipsToPixels(grid.ColWidth(c)));
}

QRect GridView::CellRect(int row, int col) {
  executeDelayedItemsLayout();
  return visualRect(model_->index(model_->TableRow(row), col));
}

void GridView::PullFromGrid() {
  if (syncing_) return;
  syncing_ = true;
  const Grid& grid = model_->CoreGrid();
  int fixed = grid.FixedRows();
  if (grid.Rows() > fixed) {
    auto idx = [&](int r, int c) {
      return model_->index(model_->TableRow(std::max(r, fixed)), std::max(c, 0));
    };
    QModelIndex current = idx(grid.Row(), grid.Col());
    QItemSelection range(
        idx(std::min(grid.Row(), grid.RowSel()), std::min(grid.Col(), grid.ColSel())),
        idx(std::max(grid.Row(), grid.RowSel()), std::max(grid.Col(), grid.ColSel())));
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    selectionModel()->select(range, QItemSelectionModel::ClearAndSelect);
    if (grid.TopRow() != lastTopRow_) {
      lastTopRow_ = grid.TopRow();
      executeDelayedItemsLayout();
      updateGeometries();
      scrollTo(idx(grid.TopRow(), grid.Col()), QAbstractItemView::PositionAtTop);
    }
  }
  syncing_ = false;
}

void GridView::PushToGrid() {
  if (syncing_) return;
  QModelIndex current = currentIndex();
  if (!current.isValid()) return;
  syncing_ = true;
  Grid& grid = model_->CoreGrid();
  // The clerk drags from an anchor to the current cell: the flex grid's Row/Col
  // is the anchor and RowSel/ColSel the moving end.
  int rowSel = model_->GridRow(current.row()), colSel = current.column();
  int row = rowSel, col = colSel;
  for (const QItemSelectionRange& r : selectionModel()->selection()) {
    if (!r.contains(current)) continue;
    int top = model_->GridRow(r.top()), bottom = model_->GridRow(r.bottom());
    row = rowSel == top ? bottom : top;
    col = colSel == r.left() ? r.right() : r.left();
    break;
  }
  grid.SetSelection(row, col, rowSel, colSel);
  syncing_ = false;
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  PushToGrid();
}

void GridView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  QTableView::selectionChanged(selected, deselected);
  PushToGrid();
}

void GridView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    emit enterPressed();
    return;
  }
  QTableView::keyPressEvent(event);
}

void GridView::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat())
    if (int code = LegacyKeyCode(event->key())) emit keyReleased(code);
  QTableView::keyReleaseEvent(event);
}

void GridView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    emit rightButtonPressed(event->globalPosition().toPoint());
    return;
  }
  QTableView::mousePressEvent(event);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableView::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
    emit cellDoubleClicked();
}

void GridView::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  if (!syncing_) {
    Grid& grid = model_->CoreGrid();
    int top = model_->GridRow(rowAt(0));
    if (rowAt(0) >= 0 && top != grid.TopRow()) {
      lastTopRow_ = top;
      syncing_ = true;
      grid.SetTopRow(top);
      syncing_ = false;
    }
  }
  emit scrolled();
}

}  // namespace quorvin::gui
