// The list controller: switching between the BO and ISIN lists, editing,
// adding, removing and searching rows, saving, reloading and the exchange.
#include "windows/list_window.h"

#include <exception>

#include "day/row_operations.h"
#include "ground/errors.h"
#include "ground/grid_text.h"
#include "ground/text.h"
#include "ground/version.h"
#include "windows/main_controller.h"

namespace quorvin {
namespace {

struct ListColumn {
  const char* title;
  int extraTwips;
};

const std::vector<ListColumn>& ColumnsOf(const std::string& kind) {
  // The BO name gets room to spare: names are long and the column is read most.
  static const std::vector<ListColumn> bo = {
      {"S/N", 200}, {"BO ID", 200}, {"BO Name", 2000}, {"Client Code", 200}};
  static const std::vector<ListColumn> isin = {
      {"S/N", 200}, {"ISIN Code", 200}, {"ISIN Name", 200}, {"Scrip ID", 200}, {"Scrip Code", 200}};
  return kind == "BO" ? bo : isin;
}

}  // namespace

std::optional<int> FindBlankListRow(const Grid& grid) {
  for (int r = grid.FixedRows(); r < grid.Rows(); ++r) {
    bool blank = true;
    for (int c = 1; c < grid.Cols() && blank; ++c) blank = TrimView(grid.Text(r, c)).empty();
    if (blank) return r;
  }
  return std::nullopt;
}

ListController::ListController(AppContext& app, Grid& grid, ListView& view)
    : endpoint(app.exchange), app_(app), grid_(grid), view_(view) {}

void ListController::Guard(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    view_.SetWaitCursor(false);
    ShowErrorDescription(app_.dialogs, e);
  }
}

void ListController::Open() {
  if (app_.listKind != "ISIN") app_.listKind = "BO";
  SetUpListGrid();
  ChangeKind(ComboIndexOf(app_.listKind));
}

void ListController::ChangeKind(int comboIndex) {
  AbandonEdit();
  app_.listKind = comboIndex == 0 ? "BO" : "ISIN";
  SetUpListGrid();
  Guard([&] { LoadGridText(app_.dialogs, MainListPath(), grid_); });
}

void ListController::SetUpListGrid() {
  const std::string& kind = app_.listKind;
  const auto& columns = ColumnsOf(kind);
  {
    GridBatch batch(grid_);
    grid_.SetRows(2);
    grid_.SetCols(static_cast<int>(columns.size()));
    for (int c = 0; c < grid_.Cols(); ++c) {
      grid_.SetText(0, c, columns[c].title);
      grid_.SetText(1, c, c == 0 ? "1" : "");
      grid_.SetColWidth(c, grid_.Measure().WidthTwips(columns[c].title) + columns[c].extraTwips);
    }
    grid_.SetCurrent(1, 1);
    grid_.SetTopRow(1);
  }
  view_.ShowListKind(ComboIndexOf(kind));
  view_.SetCaption(WindowCaption(" : List of " + kind + "s"));
  view_.SetSelectLabel("Select " + kind + " :");
  view_.SetGridToolTip("List of " + kind +
                       "s. Press INSERT key to add a new row or DELETE key to remove the "
                       "selected row(s).");
  if (kind == "BO") {
    view_.SetUpdateButton("Send",
                          "Send the list of BOs to MGX. These BOs will be included in the holding "
                          "reports you receive from MGX.");
  } else {
    view_.SetUpdateButton("Receive", "Get the latest list of ISINs from MGX.");
  }
  mainListFile_ = kind + ".txt";
}

void ListController::StartCellEdit() {
  int row = grid_.Row(), col = grid_.Col();
  // The header row and the serial column are fixed: the serial always equals the row.
  if (row < grid_.FixedRows() || col < 1 || !grid_.Valid(row, col)) return;
  editRow_ = row;
  editCol_ = col;
  view_.ShowEditor(row, col, grid_.Text(row, col));
}

void ListController::EditorEnter(const std::string& typed) {
  if (!grid_.Valid(editRow_, editCol_)) return;
  Guard([&] {
    std::string text = Trim(typed);
    // The list files have no escaping: a "~" would split the cell when the
    // file is read back and shift every later field of the row.
    if (text.find('~') != std::string::npos) {
      app_.dialogs.Message("The character ~ cannot be used in a list.", kAppTitle,
                           MsgIcon::Critical, MsgButtons::Ok);
      return;
    }
    if (editCol_ == 1 && app_.listKind == "BO") {
      const std::string& format = app_.settings.DefaultBOIDFormat;
      if (text.size() > format.size()) {
        app_.dialogs.Message(
            "BOID length can not be greater than " + std::to_string(format.size()) + ".", kAppTitle,
            MsgIcon::Critical, MsgButtons::Ok);
        return;
      }
      if (!text.empty()) text = format.substr(0, format.size() - text.size()) + text;
    }
    grid_.SetText(editRow_, editCol_, text);
    int top = grid_.TopRow();
    WidenColumn(grid_, editRow_, editCol_, kWidenMargin);
    editRow_ = editCol_ = -1;
    view_.HideEditor();
    view_.FocusGrid();
    grid_.SetTopRow(top);
  });
}

void ListController::EditorEscape() {
  editRow_ = editCol_ = -1;
  view_.HideEditor();
  view_.FocusGrid();
}

void ListController::AbandonEdit() {
  editRow_ = editCol_ = -1;
  view_.HideEditor();
}

void ListController::KeyUp(ListControl control, int keyCode) {
  if (control == ListControl::Other || panelOpen_ || busy_) return;
  if (keyCode == kKeyInsert) {
    AddRowAndEdit();
  } else if (keyCode == kKeyDelete && control != ListControl::SearchBox) {
    RemoveRows();
  }
}

void ListController::AddRowAndEdit() {
  Guard([&] {
    AbandonEdit();
    AddRow(grid_);
    StartCellEdit();
  });
}

void ListController::RemoveRows() {
  Guard([&] {
    AbandonEdit();
    DeleteSelectedRows(app_.dialogs, grid_);
  });
}

void ListController::Search(const std::string& typed) {
  std::string needle = Trim(typed);
  if (needle.empty()) return;
  Guard([&] {
    for (int r = grid_.FixedRows(); r < grid_.Rows(); ++r) {
      for (int c = 1; c < grid_.Cols(); ++c) {
        if (grid_.Text(r, c).find(needle) != std::string::npos) {
          GoToListRow(r);
          view_.SelectSearchText();
          return;
        }
      }
    }
    app_.dialogs.Message("There is no such " + app_.listKind + " in the list.", "BO Not Found.",
                         MsgIcon::Critical, MsgButtons::Ok);
    view_.SelectSearchText();
  });
}

void ListController::GoToListRow(int row) {
  if (!grid_.Valid(row, 0)) return;
  int visible = std::max(view_.VisibleRows(), 1);
  if (row < grid_.TopRow() || row >= grid_.TopRow() + visible) grid_.SetTopRow(row);
  grid_.SetSelection(row, 0, row, std::min(2, grid_.Cols() - 1));
}

bool ListController::RefuseBlankRow() {
  std::optional<int> blank = FindBlankListRow(grid_);
  if (!blank) return false;
  app_.dialogs.Message("Blank row (row number " + std::to_string(*blank) + ") cannot be saved.",
                       "Blank Row Found.", MsgIcon::Critical, MsgButtons::Ok);
  SelectWholeRow(grid_, *blank);
  return true;
}

void ListController::Save() {
  Guard([&] {
    AbandonEdit();
    if (RefuseBlankRow()) return;
    std::string path = MainListPath();
    if (!SaveGridText(app_.dialogs, grid_, path)) return;
    app_.dialogs.Message("Saved successfully.", "Saved.", MsgIcon::Information, MsgButtons::Ok);
    if (app_.listKind == "BO")
      app_.lists.LoadBOList(path);
    else
      app_.lists.LoadISINList(path);
  });
}

void ListController::Reload() {
  Guard([&] {
    AbandonEdit();
    if (app_.dialogs.Message("Are you sure to reload the list?", "Reload Confirmation",
                             MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
      return;
    LoadGridText(app_.dialogs, MainListPath(), grid_);
  });
}

void ListController::UpdateList() {
  if (busy_ || panelOpen_) return;
  AbandonEdit();
  if (app_.listKind == "BO")
    SendBOList();
  else
    ReceiveISINList();
}

}  // namespace quorvin
