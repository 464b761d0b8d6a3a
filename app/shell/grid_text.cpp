#include "shell/grid_text.h"

#include "shell/errors.h"
#include "shell/text.h"
#include "shell/text_files.h"

namespace quorvin {
namespace {

void AppendWithoutCrLf(std::string& out, const std::string& cell) {
  size_t start = 0;
  for (;;) {
    size_t at = cell.find(kCrLf, start);
    if (at == std::string::npos) break;
    out.append(cell, start, at - start);
    start = at + 2;
  }
  out.append(cell, start, std::string::npos);
}

}  // namespace

void WidenColumn(Grid& grid, int row, int col, int marginTwips) {
  const std::string& text = grid.Text(row, col);
  const TextMeasure& measure = grid.Measure();
  int current = grid.ColWidth(col);
  // A text that could not be wider than the column even at the widest glyph
  // needs no measuring; this keeps bulk loads fast.
  long long bound = static_cast<long long>(text.size()) * measure.MaxCharWidthTwips() + marginTwips;
  if (bound <= current) return;
  int needed = measure.WidthTwips(text) + marginTwips;
  if (current < needed) grid.SetColWidth(col, needed);
}

std::string GridToText(const Grid& grid) {
  std::string out;
  for (int r = 0; r < grid.Rows(); ++r) {
    if (r) out += kCrLf;
    const auto& cells = grid.RowCells(r);
    for (int c = 0; c < grid.Cols(); ++c) {
      if (c) out += '~';
      AppendWithoutCrLf(out, cells[c]);
    }
  }
  return out;
}

bool SaveGridText(Dialogs& dialogs, const Grid& grid, const std::string& path) {
  try {
    WriteTextFile(path, GridToText(grid));
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

void LoadGridText(Dialogs& dialogs, const std::string& path, Grid& grid) {
  std::string failure;
  {
    GridBatch batch(grid);
    ResetToOneBlankRow(grid);
    try {
      std::string text = ReadTextFile(path);
      std::string_view all(text);
      size_t lineCount = 1;
      for (size_t at = all.find(kCrLf); at != std::string_view::npos; at = all.find(kCrLf, at + 2))
        ++lineCount;
      grid.SetRows(static_cast<int>(lineCount));
      size_t start = 0;
      for (int i = 0; i < static_cast<int>(lineCount); ++i) {
        size_t end = all.find(kCrLf, start);
        if (end == std::string_view::npos) end = all.size();
        std::string_view line = all.substr(start, end - start);
        start = end + 2;
        if (line.empty()) continue;
        size_t fieldStart = 0;
        for (int j = 0;; ++j) {
          size_t tilde = line.find('~', fieldStart);
          if (j >= grid.Cols())
            throw AppError("Line " + std::to_string(i + 1) + " has more cells than the " +
                           std::to_string(grid.Cols()) + " columns of the list");
          std::string_view field =
              line.substr(fieldStart, tilde == std::string_view::npos ? std::string_view::npos
                                                                      : tilde - fieldStart);
          grid.SetText(i, j, std::string(TrimView(field)));
          WidenColumn(grid, i, j, kWidenMargin);
          if (tilde == std::string_view::npos) break;
          fieldStart = tilde + 1;
        }
      }
    } catch (const AppError& e) {
      failure = e.Description();
    }
  }
  if (!failure.empty())
    dialogs.Message("Tried to read file: " + path + "\r\nError Description: " + failure,
                    "Error loading file into list.", MsgIcon::Critical, MsgButtons::Ok);
}

}  // namespace quorvin
