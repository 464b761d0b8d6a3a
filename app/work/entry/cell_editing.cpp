// Which cells the clerk may edit, the text or date an editor opens with, and
// what Enter writes back, a short BOID completed from the default format.
#include "work/entry/cell_editing.h"

#include "day/entry_grid.h"
#include "ground/grid_text.h"
#include "ground/numbers.h"
#include "ground/text.h"
#include "ground/version.h"

namespace quorvin {
namespace {

void Put(Grid& grid, int row, int col, std::string text) {
  grid.SetText(row, col, std::move(text));
  WidenColumn(grid, row, col, kWidenMargin);
}

}  // namespace

bool IsDateColumn(int col) {
  return col == col::kTradeDate || col == col::kDeliveryDate;
}

bool IsEditableColumn(int col, EditGesture gesture, bool freeEntry) {
  if (gesture == EditGesture::DoubleClick) {
    if (freeEntry) return col >= 3 && col <= 11;
    return col == 3 || col == 4 || col == 5 || col == 6 || col == 8 || col == 9 || col == 11;
  }
  if (freeEntry) return col >= 0 && col <= 12;
  return col == 2 || col == 3 || col == 4 || col == 5 || col == 6 || col == 8 || col == 9 ||
         col == 11;
}

std::string InitialEditorText(const Grid& grid, int row, int col) {
  const std::string& text = grid.Text(row, col);
  if (!TrimView(text).empty()) return text;
  return row >= 2 ? grid.Text(row - 1, col) : std::string();
}

std::optional<Date> InitialPickerDate(const Grid& grid, int row, int col) {
  std::optional<Date> date = ParseDate(grid.Text(row, col));
  if (row >= 1 && grid.Valid(row - 1, col))
    if (auto above = ParseDate(grid.Text(row - 1, col))) date = above;
  return date;
}

std::string CompleteBOID(const std::string& typed, const std::string& boidTemplate) {
  if (typed.size() >= boidTemplate.size()) return typed;
  return boidTemplate.substr(0, boidTemplate.size() - typed.size()) + typed;
}

EditOutcome FinishCellEdit(AppContext& app, Grid& grid, int row, int col, const std::string& text,
                           bool freeEntry) {
  EditOutcome out;
  std::string t = Trim(text);
  out.editorText = t;
  const ReferenceLists& lists = app.lists;
  switch (col) {
    case col::kBOID: {
      const std::string& boidTemplate = app.settings.DefaultBOIDFormat;
      if (t.size() > boidTemplate.size()) {
        app.dialogs.Message(
            "BOID length can not be greater than " + std::to_string(boidTemplate.size()) + ".",
            kAppTitle, MsgIcon::Critical, MsgButtons::Ok);
        return out;
      }
      if (t.empty()) {
        Put(grid, row, col::kBOName, "");
        Put(grid, row, col::kClientCode, "");
        break;
      }
      t = CompleteBOID(t, boidTemplate);
      out.editorText = t;
      if (!freeEntry) {
        Put(grid, row, col::kBOName, lists.FindBOName(t));
        Put(grid, row, col::kClientCode, lists.FindClientCode(t));
      }
      break;
    }
    case col::kClientCode:
      if (freeEntry) break;
      if (t.empty()) {
        Put(grid, row, col::kBOID, "");
        Put(grid, row, col::kBOName, "");
      } else {
        Put(grid, row, col::kBOID, lists.FindBOIDByClientCode(t));
        Put(grid, row, col::kBOName, lists.FindBOName(grid.Text(row, col::kBOID)));
      }
      break;
    case col::kScripID:
      if (freeEntry) break;
      if (t.empty()) {
        Put(grid, row, col::kISINCode, "");
        Put(grid, row, col::kISINName, "");
      } else {
        Put(grid, row, col::kISINCode, lists.FindISINByScripID(t));
        Put(grid, row, col::kISINName, lists.FindISINName(grid.Text(row, col::kISINCode)));
      }
      break;
    case col::kISINCode:
      if (freeEntry) break;
      if (t.empty()) {
        Put(grid, row, col::kScripID, "");
        Put(grid, row, col::kISINName, "");
      } else {
        Put(grid, row, col::kISINName, lists.FindISINName(t));
        Put(grid, row, col::kScripID, lists.FindScripID(t));
      }
      break;
    case col::kQuantity:
      t = RemoveAll(t, ",");
      out.editorText = t;
      if (!t.empty() && !IsNumeric(t)) {
        app.dialogs.Message("Quantity must be numeric.", "Invalid Entry.", MsgIcon::Critical,
                            MsgButtons::Ok);
        return out;
      }
      break;
    default:
      break;
  }
  Put(grid, row, col, t);
  out.written = true;
  return out;
}

void WriteDateCell(Grid& grid, int row, int col, const Date& date) {
  Put(grid, row, col, FormatDisplayDate(date));
}

}  // namespace quorvin
