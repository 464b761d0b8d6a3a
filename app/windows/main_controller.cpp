// The main controller: the kind switch, cell and date editing, the row keys
// and search, and the day's buttons from Auto-Fill to Send.
#include "windows/main_controller.h"

#include <algorithm>
#include <exception>

#include "day/entry_grid.h"
#include "day/instruction_files.h"
#include "day/row_operations.h"
#include "ground/errors.h"
#include "ground/grid_text.h"
#include "ground/numbers.h"
#include "ground/text.h"
#include "ground/text_files.h"
#include "ground/version.h"
#include "work/checks/holding_file.h"
#include "work/checks/sort_summary.h"
#include "work/entry/auto_fill.h"
#include "work/import/trade_import.h"
#include "work/reports/instruction_reports.h"
#include "work/transfer/ftp_transfer.h"
#include "work/transfer/send_instructions.h"

namespace quorvin {
namespace {

// "1 row", "9,904 rows".
std::string Counted(size_t n, const std::string& what) {
  return Grouped(static_cast<long long>(n)) + " " + what + (n == 1 ? "" : "s");
}

}  // namespace

MainController::MainController(AppContext& app, Grid& entries, MainView& view,
                               HoldingMessageView& holdingView)
    : endpoint(app.exchange),
      app_(app),
      grid_(entries),
      view_(view),
      holdingView_(holdingView),
      problems_(std::make_unique<RowProblems>(app, entries)) {}

const std::vector<std::pair<std::string, int>>& MainController::SearchColumns() {
  static const std::vector<std::pair<std::string, int>> columns = {
      {"Client Code", col::kClientCode}, {"BO ID", col::kBOID},
      {"BO Name", col::kBOName},         {"Scrip ID", col::kScripID},
      {"ISIN Code", col::kISINCode},     {"ISIN Name", col::kISINName}};
  return columns;
}

void MainController::Guard(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    view_.SetWaitCursor(false);
    ShowErrorDescription(app_.dialogs, e);
  }
}

void MainController::SetUpMainWindow() {
  if (!app_.settings.BackupLocation.empty())
    DeleteLeftoverTransferFiles(app_.settings.BackupLocation);
  SetUpEntryGrid(grid_);
  grid_.SetCurrent(1, 1);
  kindChangeRefused_ = false;
  ChangeKind(kPayIn);
  view_.SetSettlementDate(app_.clock.Today());
  MarkClean();
}

void MainController::ChangeKind(const std::string& kind) {
  const std::string other = kind == kPayIn ? kPayOut : kPayIn;
  if (app_.instructionKind == other && !IsGridEmpty(grid_)) {
    if (app_.dialogs.Message("Unsaved data will be lost.\r\nAre you sure to continue?",
                             "Confirm Loading", MsgIcon::Question,
                             MsgButtons::YesNo) != MsgAnswer::Yes) {
      kindChangeRefused_ = true;
      ApplyKind(other);
      view_.FocusKindOption(other);
      return;
    }
    ClearEntryGrid(grid_);
  }
  ApplyKind(kind);
  if (IsGridEmpty(grid_)) MarkClean();
}

void MainController::ApplyKind(const std::string& kind) {
  const bool payIn = kind == kPayIn;
  app_.instructionKind = kind;
  app_.kindCode = payIn ? "PI" : "PO";
  view_.SetCaption(WindowCaption(" : " + kind));
  view_.SetGridToolTip(kind +
                       " entries. Press INSERT key to add a new row or DELETE key to remove the "
                       "selected row(s).");
  view_.ShowKind(kind);
  view_.SetLoadButtonCaption(payIn ? "Load Payin" : "Load Payout");
  view_.SetCheckEnabled(payIn);
  problems_->KindChanged();
}

void MainController::BeginCellEdit(std::optional<EditGesture> gesture) {
  int row = grid_.Row(), col = grid_.Col();
  if (row < grid_.FixedRows() || !grid_.Valid(row, col)) return;
  if (gesture && !IsEditableColumn(col, *gesture, view_.FreeEntry())) return;
  editRow_ = row;
  editCol_ = col;
  if (IsDateColumn(col)) {
    view_.ShowDatePicker(row, col, InitialPickerDate(grid_, row, col));
  } else {
    view_.ShowTextEditor(row, col, InitialEditorText(grid_, row, col));
  }
}

void MainController::EditorEnter(const std::string& text) {
  if (!grid_.Valid(editRow_, editCol_)) return;
  Guard([&] {
    EditOutcome outcome = FinishCellEdit(app_, grid_, editRow_, editCol_, text, view_.FreeEntry());
    view_.SetEditorText(outcome.editorText);
    if (!outcome.written) return;
    int top = grid_.TopRow();
    view_.HideEditors();
    view_.FocusGrid();
    grid_.SetTopRow(top);
  });
}

void MainController::EditorEscape() {
  view_.HideEditors();
  view_.FocusGrid();
}

void MainController::DatePickerChanged(const Date& date) {
  if (!grid_.Valid(editRow_, editCol_)) return;
  WriteDateCell(grid_, editRow_, editCol_, date);
}

void MainController::DatePickerEnter(const Date& date) {
  view_.HideEditors();
  if (grid_.Valid(editRow_, editCol_)) WriteDateCell(grid_, editRow_, editCol_, date);
  view_.FocusGrid();
}

void MainController::DatePickerEscape() {
  view_.HideEditors();
}

void MainController::AbandonEdits() {
  view_.HideEditors();
}

void MainController::KeyUp(MainControl control, int keyCode) {
  if (keyCode != kKeyInsert && keyCode != kKeyDelete) return;
  if (control == MainControl::Other) return;
  Guard([&] {
    if (keyCode == kKeyDelete) {
      DeleteSelectedRows(app_.dialogs, grid_);
      return;
    }
    AddRow(grid_);
    grid_.SetCol(col::kTradeDate);
    if (control != MainControl::BtnExit) BeginCellEdit(EditGesture::Enter);
  });
}

void MainController::CopyCell() {
  copiedRow_ = grid_.Row();
  copiedCol_ = grid_.Col();
}

void MainController::PasteCell() {
  // Before any Copy the remembered cell is the header row: nothing to paste.
  if (copiedRow_ < grid_.FixedRows()) return;
  Guard([&] { quorvin::PasteCell(grid_, copiedRow_, copiedCol_, !view_.FreeEntry()); });
}

void MainController::DeleteRows() {
  Guard([&] { DeleteSelectedRows(app_.dialogs, grid_); });
}

void MainController::Search(int searchColumnIndex, const std::string& text) {
  const auto& columns = SearchColumns();
  if (searchColumnIndex < 0 || searchColumnIndex >= static_cast<int>(columns.size())) return;
  // The row the typing found is the one asked for: Enter keeps it, the next Enter moves on.
  if (typedRow_ == grid_.Row() && typedSearch_ == text && !text.empty()) {
    typedRow_ = -1;
    return;
  }
  typedRow_ = -1;
  Guard([&] { SearchRows(app_.dialogs, grid_, columns[searchColumnIndex].second, text); });
}

void MainController::SearchAsTyped(int searchColumnIndex, const std::string& text) {
  const auto& columns = SearchColumns();
  typedRow_ = -1;
  if (searchColumnIndex < 0 || searchColumnIndex >= static_cast<int>(columns.size())) return;
  if (TrimView(text).empty()) return;
  Guard([&] {
    int row = FindRowFrom(grid_, columns[searchColumnIndex].second, text,
                          std::max(grid_.Row(), grid_.FixedRows()));
    if (row < 0) return;
    SelectWholeRow(grid_, row);
    typedSearch_ = text;
    typedRow_ = row;
  });
}

bool MainController::GoToRow(int n) {
  if (n < grid_.FixedRows() || n >= grid_.Rows()) return false;
  grid_.SetCurrent(n, grid_.Col());
  return true;
}

RowProblems& MainController::Problems() {
  problems_->SetSettlementDate(view_.SettlementDate());
  RefreshHoldingReport();
  return *problems_;
}

void MainController::GoToProblem(int index) {
  const std::optional<Problem> line = problems_->At(index);
  if (!line) return;
  const Problem p = *line;
  if (!grid_.Valid(p.row, p.col)) return;
  view_.HideEditors();
  grid_.SetCurrent(p.row, p.col);
  view_.FocusGrid();
}

std::string MainController::HoldingDayKey() const {
  return FormatDisplayDate(view_.SettlementDate()) + " " + app_.kindCode;
}

void MainController::RefreshHoldingReport() {
  auto it = app_.holdingFiles.find(HoldingDayKey());
  if (it == app_.holdingFiles.end()) {
    if (problems_->HasHoldingReport()) problems_->UseHoldingReport(nullptr);
    reportPath_.clear();
    return;
  }
  std::optional<FileTime> time = LastWriteTime(it->second);
  if (it->second == reportPath_ && time == reportTime_ && problems_->HasHoldingReport()) return;
  reportPath_ = it->second;
  reportTime_ = time;
  try {
    problems_->UseHoldingReport(std::make_shared<const HoldingFile>(ReadTextFile(reportPath_)));
  } catch (const std::exception&) {
    problems_->UseHoldingReport(nullptr);  // gone or unreadable: the next Check tells the clerk
  }
}

void MainController::AutoFields() {
  Guard([&] {
    SortEntries(app_, grid_);
    AutoFill(app_, grid_, view_.SettlementDate());
  });
}

// Settings that did not load (an empty Quorvin.ini, say) would put the day's
// file, the report or the upload in no known place under a broker of no name.
bool MainController::RefuseIncompleteSettings() {
  const Settings& s = app_.settings;
  if (!s.BrokerID.empty() && !s.ClearingBOID.empty() && !s.DefaultBOIDFormat.empty() &&
      !s.BackupLocation.empty())
    return false;
  app_.dialogs.Message(
      "The settings are incomplete." + std::string(kCrLf) +
          "Give the Broker ID, Clearing BOID, BOID Format and Backup Location in Settings.",
      "Settings incomplete", MsgIcon::Critical, MsgButtons::Ok);
  return true;
}

void MainController::Save() {
  if (RefuseIncompleteSettings()) return;
  Guard([&] {
    const bool known = InstructionFilePath(app_, view_.SettlementDate()) == dayFile_;
    if (!SaveInstructions(app_, grid_, view_.SettlementDate(), known ? dayFileTime_ : std::nullopt))
      return;
    RememberDayFile();
    MarkClean();
  });
}

void MainController::Reload() {
  Guard([&] {
    if (!ReloadInstructions(app_, grid_, view_.SettlementDate())) return;
    view_.ShowNote(Counted(IsGridEmpty(grid_) ? 0 : grid_.Rows() - grid_.FixedRows(), "row") +
                   " loaded from " + FileNameOf(InstructionFilePath(app_, view_.SettlementDate())) +
                   ".");
    RememberDayFile();
    MarkClean();
  });
}

}  // namespace quorvin

namespace quorvin {

void MainController::LoadTradeFile() {
  auto path =
      app_.dialogs.OpenFile("Choose Text FIle", "Text files (*.TXT)|*.TXT|All Files (*.*)|*.*", 1,
                            app_.settings.BackupLocation);
  if (!path) return;
  TradeFileName name = ParseTradeFileName(FileNameOf(*path));
  if (name.kind.empty()) {
    app_.dialogs.Message("Unknown file name format.", "Invalid File", MsgIcon::Critical,
                         MsgButtons::Ok);
    return;
  }
  const std::string fileName = FileNameOf(*path);
  std::optional<TradeFileShape> shape;
  try {
    shape = ScanTradeFile(*path);
  } catch (const std::exception&) {
    // Unreadable: the import below tells the clerk why.
  }
  if (shape && shape->tradeLines == 0) {
    app_.dialogs.Message(fileName +
                             " is not a trade file: none of its lines holds the fields of a "
                             "trade, separated by \"|\"." +
                             std::string(kCrLf) + "Nothing was loaded; the rows shown are kept.",
                         "Not a Trade File", MsgIcon::Critical, MsgButtons::Ok);
    return;
  }
  // With rows on the grid the kind change asks anyway; an empty grid would
  // change kind without a word.
  if (app_.instructionKind != name.kind && IsGridEmpty(grid_) &&
      app_.dialogs.Message(fileName + " is a " + name.kind + " file, and the window shows " +
                               app_.instructionKind + "." + std::string(kCrLf) + "Switch to " +
                               name.kind + " and load it?",
                           "Switch to " + name.kind, MsgIcon::Question,
                           MsgButtons::YesNoDefaultNo) != MsgAnswer::Yes)
    return;
  if (name.settlementDate) view_.SetSettlementDate(*name.settlementDate);
  // Selecting the option that is already selected runs nothing.
  if (app_.instructionKind != name.kind) ChangeKind(name.kind);
  if (kindChangeRefused_) {
    kindChangeRefused_ = false;
    return;
  }
  view_.SetWindowEnabled(false);
  view_.SetWaitCursor(true);
  Guard([&] {
    auto progress = [this](int percent) { view_.ShowProgress("Loading trades...", percent); };
    // Rows the clerk chose to keep are left as they stand, unsorted too.
    if (ImportTrades(app_, grid_, *path, TradeSide(app_), progress)) {
      SortEntries(app_, grid_);
      MarkClean();  // the rows are the trade file's: loading it again gives them back
      const int rows = grid_.Rows() - grid_.FixedRows();
      view_.ShowNote(Counted(rows, "row") + " (the " + (TradeSide(app_) == "S" ? "sells" : "buys") +
                     ") loaded from " + Counted(shape ? shape->lines : 0, "line") + " of " +
                     fileName + ".");
    }
  });
  view_.HideProgress();
  view_.SetWaitCursor(false);
  view_.SetWindowEnabled(true);
}

void MainController::Report() {
  if (RefuseIncompleteSettings()) return;
  Guard([&] {
    if (app_.instructionKind == kPayIn)
      PrintPayInReport(app_, grid_);
    else
      PrintPayOutReport(app_, grid_);
  });
}

}  // namespace quorvin

namespace quorvin {

void MainController::Summarize() {
  Guard([&] { SummarizeWithConfirmation(app_, grid_); });
}

void MainController::Send() {
  if (RefuseIncompleteSettings()) return;
  app_.holdingDay = HoldingDayKey();
  SendInstructions(app_, grid_, view_, holdingView_, view_.SettlementDate(), savedCaption_,
                   endpoint);
  // A send that got as far as saving the day leaves nothing unsaved.
  Guard([&] {
    const std::string path = InstructionFilePath(app_, view_.SettlementDate());
    if (LastWriteTime(path) && ReadTextFile(path) == GridToText(grid_)) {
      RememberDayFile();
      MarkClean();
    }
  });
}

void MainController::CheckHolding() {
  app_.holdingDay = HoldingDayKey();
  Guard([&] { CheckHoldingClicked(app_, grid_, view_, holdingView_, savedCaption_); });
  RefreshHoldingReport();
}

}  // namespace quorvin
