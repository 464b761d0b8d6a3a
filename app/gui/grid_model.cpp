// Measuring cell texts in twips with the window's font, and the table model
// that passes the grid's cells and change notices on to Qt.
#include "gui/grid_model.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "gui/qt_text.h"

namespace quorvin::gui {

QtTextMeasure::QtTextMeasure(const QFont& font, int dpi)
    : metrics_(font), exact_(font), dpi_(dpi > 0 ? dpi : 96) {
  digitRuns_.fill(-1);
  // maxWidth() can undershoot for fonts with fallbacks; measure the widest Latin-1 glyph too.
  int widest = metrics_.maxWidth();
  for (int c = 32; c < 256; ++c) widest = std::max(widest, metrics_.horizontalAdvance(QChar(c)));
  maxTwips_ = widest * 1440 / dpi_ + 1;
}

int QtTextMeasure::MeasuredTwips(std::string_view text) const {
  QString q = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  // In 64 bits: a cell of a few hundred thousand characters would overflow int.
  long long twips = static_cast<long long>(metrics_.horizontalAdvance(q)) * 1440 / dpi_;
  return static_cast<int>(std::min<long long>(twips, std::numeric_limits<int>::max()));
}

int QtTextMeasure::WidthTwips(std::string_view text) const {
  // Long texts are rare and would only fill the memory.
  if (text.size() > 256) return MeasuredTwips(text);
  // Serial numbers, quantities and BOIDs: all digits, as wide as their length.
  if (!text.empty() && text.size() < digitRuns_.size() &&
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
      DigitsShareWidths()) {
    int& twips = digitRuns_[text.size()];
    if (twips < 0) twips = MeasuredTwips(text);
    return twips;
  }
  const uint64_t at = reinterpret_cast<uintptr_t>(text.data()) * 0x9E3779B97F4A7C15ull;
  Recent& recent = recent_[at >> (64 - kRecentBits)];
  if (recent.twips >= 0 && recent.text == text) return recent.twips;
  const std::string_view key = Key(text);
  int twips;
  if (auto it = widths_.find(key); it != widths_.end()) {
    twips = it->second;
  } else {
    twips = MeasuredTwips(text);
    if (widths_.size() >= kMaxRemembered) widths_.clear();
    widths_.emplace(key, twips);
  }
  recent.text.assign(text);
  recent.twips = twips;
  return twips;
}

bool QtTextMeasure::DigitsShareWidths() const {
  CheckDigits();
  return digitsShare_;
}

void QtTextMeasure::CheckDigits() const {
  if (digitsChecked_) return;
  digitsChecked_ = true;
  // Measured as texts, shaped as a cell's text is, to the 64th of a pixel.
  auto width = [this](QChar a, QChar b) {
    const QChar pair[2] = {a, b};
    return exact_.horizontalAdvance(QString(pair, 2));
  };
  // A single character is measured on its own path: both must agree.
  const qreal digit = exact_.horizontalAdvance(QStringLiteral("0"));
  const int digitPixels = metrics_.horizontalAdvance(QChar('0'));
  for (char d = '1'; d <= '9'; ++d)
    if (exact_.horizontalAdvance(QString(QChar(d))) != digit ||
        metrics_.horizontalAdvance(QChar(d)) != digitPixels)
      return;
  // A pair's width is the two advances and their kerning: a neighbour whose
  // pairs with every digit are equally wide, on either side, kerns alike
  // against all of them. Printable ASCII only; other bytes keep their own key.
  for (int c = 32; c < 127; ++c) {
    const QChar n(c);
    const qreal left = width(n, QChar('0')), right = width(QChar('0'), n);
    bool alike = true;
    for (char d = '1'; d <= '9' && alike; ++d)
      alike = width(n, QChar(d)) == left && width(QChar(d), n) == right;
    digitNeighbour_[c] = alike;
  }
  // Digits side by side: each must be a safe neighbour of the others.
  for (char d = '0'; d <= '9'; ++d)
    if (!digitNeighbour_[static_cast<unsigned char>(d)]) return;
  digitsShare_ = true;
}

std::string_view QtTextMeasure::Key(std::string_view text) const {
  bool digits = false;
  for (char ch : text)
    if (ch >= '0' && ch <= '9') {
      digits = true;
      break;
    }
  if (!digits || !DigitsShareWidths()) return text;
  key_.assign(text);
  for (char& ch : key_) {
    if (!digitNeighbour_[static_cast<unsigned char>(ch)]) return text;
    if (ch >= '0' && ch <= '9') ch = '0';
  }
  return key_;
}

GridModel::GridModel(Grid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {
  grid_.AddListener(this);
}

GridModel::~GridModel() {
  grid_.RemoveListener(this);
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
