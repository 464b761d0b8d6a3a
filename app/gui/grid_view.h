#pragma once
// A QTableView over a GridModel that keeps the core grid's current cell,
// selection and top row in step with what the clerk sees, and reports the
// gestures the windows react to.
#include <QTableView>

#include "gui/grid_model.h"

namespace quorvin::gui {

class GridView : public QTableView {
  Q_OBJECT
 public:
  GridView(GridModel* model, const QtTextMeasure* measure, QWidget* parent = nullptr);

  GridModel* Model() const { return model_; }
  // The cell rectangle of grid cell (row, col) in viewport coordinates.
  QRect CellRect(int row, int col);
  void ApplyColumnWidths();

 signals:
  void enterPressed();
  void cellDoubleClicked();
  void keyReleased(int keyCode);
  void rightButtonPressed(const QPoint& globalPos);
  void scrolled();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

 private:
  void PullFromGrid();  // the core moved the current cell or the selection
  void PushToGrid();    // the clerk did
  GridModel* model_;
  const QtTextMeasure* measure_;
  bool syncing_ = false;
  int lastTopRow_ = -1;
};

// Key codes of the original keyboard interface for the keys the windows use.
int LegacyKeyCode(int qtKey);

}  // namespace quorvin::gui
