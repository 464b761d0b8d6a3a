// Turning a grid into its "~"-joined text and back: saving it, loading it
// and widening each column to fit what was loaded.
#include "ground/grid_text.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>

#include "ground/errors.h"
#include "ground/text.h"
#include "ground/text_files.h"

namespace quorvin {
namespace {

// Width plus margin, stopping at the largest width rather than overflowing.
int WithMargin(int width, int marginTwips) {
  return static_cast<int>(
      std::min<long long>(static_cast<long long>(width) + marginTwips, TextMeasure::kMaxTwips));
}

// Whether a CR LF pair may be in the text: a CR no later than the last
// character but one.
bool MayHoldCrLf(std::string_view cell) {
  if (cell.size() < 2) return false;
  if (cell.size() > 16) return std::memchr(cell.data(), '\r', cell.size() - 1) != nullptr;
  for (size_t i = 0; i + 1 < cell.size(); ++i)
    if (cell[i] == '\r') return true;
  return false;
}

// Out is a std::string or a TextSink.
template <typename Out>
void AppendWithoutCrLf(Out& out, std::string_view cell) {
  if (!MayHoldCrLf(cell)) {
    out.append(cell);
    return;
  }
  size_t start = 0;
  for (;;) {
    size_t at = cell.find(kCrLf, start);
    if (at == std::string_view::npos) break;
    out.append(cell.substr(start, at - start));
    start = at + 2;
  }
  out.append(cell.substr(start));
}

// Writing the text fetches every cell's text 8 rows ahead.
constexpr int kCellsAhead = 8;

// About the size of the grid's text, from its first rows; the text grows
// past it if need be.
size_t ExpectedTextSize(const Grid& grid) {
  const int sample = std::min(grid.Rows(), 64);
  if (sample == 0) return 0;
  size_t bytes = 0;
  for (int r = 0; r < sample; ++r)
    for (int c = 0; c < grid.Cols(); ++c) bytes += grid.Text(r, c).size() + 1;
  return bytes / sample * grid.Rows() * 5 / 4 + 64;
}

}  // namespace

void MeasureAndWiden(Grid& grid, int row, int col, int marginTwips) {
  int needed = WithMargin(grid.Measure().WidthTwips(grid.Text(row, col)), marginTwips);
  if (grid.ColWidth(col) < needed) grid.SetColWidth(col, needed);
}

namespace {

template <typename Out>
void AppendGridText(Out& out, const Grid& grid) {
  // Cells that point to the same text hold the same text: the last one of
  // each column found without a CR LF pair needs no second look.
  std::vector<Cell> plain(grid.Cols(), nullptr);
  std::vector<int> columns(grid.Cols());
  std::iota(columns.begin(), columns.end(), 0);
  for (int r = 0; r < grid.Rows(); ++r) {
    FetchRowsAhead(grid, r, kCellsAhead, columns, columns);
    if (r) out.append(kCrLf);
    for (int c = 0; c < grid.Cols(); ++c) {
      if (c) out.append(1, '~');
      const Cell cell = grid.CellAt(r, c);
      if (cell == plain[c]) {
        out.append(*cell);
      } else {
        if (!MayHoldCrLf(*cell)) plain[c] = cell;
        AppendWithoutCrLf(out, *cell);
      }
    }
  }
}

}  // namespace

std::string GridToText(const Grid& grid) {
  std::string out;
  out.reserve(ExpectedTextSize(grid));
  AppendGridText(out, grid);
  return out;
}

bool SaveGridText(Dialogs& dialogs, const Grid& grid, const std::string& path) {
  try {
    WriteTextFileFrom(path, [&grid](TextSink& sink) { AppendGridText(sink, grid); });
    return true;
  } catch (const AppError& e) {
    ShowErrorDescription(dialogs, e.Description());
    return false;
  }
}

void ResetToOneBlankRow(Grid& grid) {
  GridBatch batch(grid);
  grid.SetRows(2);
  grid.SetText(1, 0, "1");
  for (int c = 1; c < grid.Cols(); ++c) grid.SetText(1, c, "");
}

namespace {

// The grid's rows as read from the text: rows 0 and 1 start from what the
// reset grid holds there (a short line keeps their other cells), every other
// row starts blank. Lines not reached when a line fails stay blank rows.
// Widening is tracked per column and applied once: the widest cell wins,
// exactly as widening cell by cell in row order would end.
class GridTextReader {
 public:
  explicit GridTextReader(Grid& grid) : grid_(grid), cols_(grid.Cols()), widths_(cols_) {
    for (int c = 0; c < cols_; ++c) widths_[c] = grid.ColWidth(c);
    maxChar_ = grid.Measure().MaxCharWidthTwips();
  }

  void Read(std::string_view text) {
    const size_t lines = static_cast<size_t>(CountCrLf(text)) + 1;
    cells_.reserve(lines * cols_);
    start_ = {grid_.RowCells(0), grid_.RowCells(1)};
    try {
      size_t lineStart = 0;
      for (size_t i = 0; i < lines; ++i) {
        size_t end = text.find(kCrLf, lineStart);
        std::string_view line = text.substr(
            lineStart, end == std::string_view::npos ? std::string_view::npos : end - lineStart);
        AddRow(i < 2 ? &start_[i] : nullptr);
        ReadLine(i, line, cells_.data() + i * cols_);
        lineStart = end + 2;
      }
    } catch (...) {
      Finish(lines);
      throw;
    }
    Finish(lines);
  }

 private:
  static long CountCrLf(std::string_view text) {
    long n = 0;
    for (size_t at = text.find(kCrLf); at != std::string_view::npos; at = text.find(kCrLf, at + 2))
      ++n;
    return n;
  }

  // A blank row, or the given one's cells.
  void AddRow(const Grid::CellRow* from) {
    ++rows_;
    if (from)
      for (const std::string& text : *from) cells_.push_back(pool_->Intern(text));
    else
      cells_.resize(cells_.size() + cols_, pool_->Empty());
  }

  void ReadLine(size_t index, std::string_view line, Cell* row) {
    if (line.empty()) return;
    size_t fieldStart = 0;
    for (int j = 0;; ++j) {
      if (j >= cols_)
        throw AppError("Line " + std::to_string(index + 1) + " has more cells than the " +
                       std::to_string(cols_) + " columns of the list");
      size_t tilde = line.find('~', fieldStart);
      std::string_view field =
          line.substr(fieldStart, tilde == std::string_view::npos ? std::string_view::npos
                                                                  : tilde - fieldStart);
      row[j] = pool_->Intern(TrimView(field));
      Widen(j, *row[j]);
      if (tilde == std::string_view::npos) return;
      fieldStart = tilde + 1;
    }
  }

  void Widen(int col, const std::string& cell) {
    if (static_cast<long long>(cell.size()) * maxChar_ + kWidenMargin <= widths_[col]) return;
    widths_[col] =
        std::max(widths_[col], WithMargin(grid_.Measure().WidthTwips(cell), kWidenMargin));
  }

  void Finish(size_t lines) {
    while (rows_ < std::min<size_t>(lines, 2)) AddRow(&start_[rows_]);
    rows_ = std::max(lines, rows_);
    cells_.resize(rows_ * cols_, pool_->Empty());
    grid_.ReplaceCells(std::move(cells_), static_cast<int>(rows_), std::move(pool_));
    for (int c = 0; c < cols_; ++c) grid_.SetColWidth(c, widths_[c]);
  }

  Grid& grid_;
  int cols_;
  std::vector<int> widths_;
  long long maxChar_;
  std::shared_ptr<CellPool> pool_ = std::make_shared<CellPool>();
  std::vector<Cell> cells_;  // row after row
  size_t rows_ = 0;
  std::vector<Grid::CellRow> start_;
};

}  // namespace

bool LoadGridText(Dialogs& dialogs, const std::string& path, Grid& grid) {
  std::string failure;
  {
    GridBatch batch(grid);
    ResetToOneBlankRow(grid);
    try {
      GridTextReader(grid).Read(ReadTextFile(path));
    } catch (const AppError& e) {
      failure = e.Description();
    }
  }
  if (failure.empty()) return true;
  dialogs.Message("Tried to read file: " + path + "\r\nError Description: " + failure,
                  "Error loading file into list.", MsgIcon::Critical, MsgButtons::Ok);
  return false;
}

}  // namespace quorvin
