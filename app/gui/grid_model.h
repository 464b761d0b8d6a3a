#pragma once
// The Qt face of a core Grid: row 0 of the grid (its fixed header row) is the
// table's header, grid rows 1.. are the table's rows 0... No cell is copied.
#include <QAbstractTableModel>
#include <QFont>
#include <QFontMetrics>

#include "shell/grid.h"

namespace quorvin::gui {

// Text widths in twips for the font of the window that holds a grid.
class QtTextMeasure : public TextMeasure {
 public:
  explicit QtTextMeasure(const QFont& font, int dpi);
  int WidthTwips(std::string_view text) const override;
  int MaxCharWidthTwips() const override { return maxTwips_; }
  int TwipsToPixels(int twips) const { return twips * dpi_ / 1440; }

 private:
  QFontMetrics metrics_;
  int dpi_;
  int maxTwips_;
};

class GridModel : public QAbstractTableModel, public GridListener {
  Q_OBJECT
 public:
  explicit GridModel(Grid& grid, QObject* parent = nullptr);
  ~GridModel() override;

  Grid& CoreGrid() const { return grid_; }
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Grid rows are table rows + the fixed rows.
  int GridRow(int tableRow) const { return tableRow + grid_.FixedRows(); }
  int TableRow(int gridRow) const { return gridRow - grid_.FixedRows(); }

 signals:
  void columnWidthChanged(int col);
  void currentCellChanged();
  void gridReset();

 private:
  void GridAboutToReset() override;
  void GridReset() override;
  void CellChanged(int row, int col) override;
  void ColumnWidthChanged(int col) override;
  void CurrentCellChanged() override;

  Grid& grid_;
  bool resetting_ = false;
};

}  // namespace quorvin::gui
