#pragma once
// The Qt face of a core Grid: row 0 of the grid (its fixed header row) is the
// table's header, grid rows 1.. are the table's rows 0... No cell is copied.
#include <QAbstractTableModel>
#include <QFont>
#include <QFontMetrics>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "ground/grid.h"

namespace quorvin::gui {

// Text widths in twips for the font of the window that holds a grid.
//
// Loading a day widens the columns to fit hundreds of thousands of cells, and
// shaping a text with the font costs microseconds. Widths are remembered per
// text, and a text whose digits may be told apart only by their value (every
// digit as wide as the others and kerned alike against its neighbours, which
// is checked against the font) is remembered under one key for all its digits:
// a serial number, a quantity or a BOID then costs a lookup. The width is the
// one the font gives for the text itself, to the pixel.
class QtTextMeasure : public TextMeasure {
 public:
  explicit QtTextMeasure(const QFont& font, int dpi);
  int WidthTwips(std::string_view text) const override;
  int MaxCharWidthTwips() const override { return maxTwips_; }
  int TwipsToPixels(int twips) const { return twips * dpi_ / 1440; }

  // The width the font gives, measured now, remembering nothing.
  int MeasuredTwips(std::string_view text) const;
  // True when the font lets texts share a width whatever their digits.
  bool DigitsShareWidths() const;
  // Past this many texts the remembered widths are forgotten and start again.
  static constexpr size_t kMaxRemembered = 1 << 18;

 private:
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  // The key `text` is remembered under: its digits all '0' where that keeps
  // its width; else the text itself.
  std::string_view Key(std::string_view text) const;
  void CheckDigits() const;

  QFontMetrics metrics_;
  QFontMetricsF exact_;
  int dpi_;
  int maxTwips_;
  mutable std::unordered_map<std::string, int, TextHash, std::equal_to<>> widths_;
  // The last texts measured, by where their bytes lie: rows in a row mostly
  // repeat the cells above them, which lie in one place in the grid's pool.
  // A slot counts only when its text is the same, wherever it came from.
  struct Recent {
    std::string text;
    int twips = -1;
  };
  static constexpr int kRecentBits = 10;
  mutable std::array<Recent, 1 << kRecentBits> recent_;
  // Widths of texts of digits only, by length, once the digits share widths.
  mutable std::array<int, 33> digitRuns_;
  mutable std::string key_;
  // Per byte: may stand beside a digit without the digit's value changing the
  // width. Checked on the first text with a digit.
  mutable bool digitsChecked_ = false;
  mutable bool digitsShare_ = false;
  mutable std::array<bool, 256> digitNeighbour_{};
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
