#pragma once
// The main window's behaviour, free of any toolkit: the kind switch, the
// in-cell editors, the row keys, the pop-up menu, the search and the buttons
// that work on the entry grid. The Qt window forwards its events here and
// shows what the MainView calls ask for.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "day/app_context.h"
#include "ground/grid.h"
#include "ground/ports.h"
#include "ground/text_files.h"
#include "windows/row_problems.h"
#include "work/checks/holding_check.h"
#include "work/entry/cell_editing.h"
#include "work/transfer/ftp_transfer.h"

namespace quorvin {

// The controls of the main window whose key releases matter.
enum class MainControl {
  Form,
  Grid,
  OptPayIn,
  OptPayOut,
  BtnAutoFields,
  BtnList,
  BtnSend,
  BtnSettings,
  BtnExit,
  Other
};

inline constexpr int kKeyInsert = 45;
inline constexpr int kKeyDelete = 46;

class MainView : public WindowPort {
 public:
  // Selects the option button of the kind (without running its handler) and
  // moves the settlement date picker beside it.
  virtual void ShowKind(const std::string& kind) = 0;
  virtual void FocusKindOption(const std::string& kind) = 0;
  virtual void SetGridToolTip(const std::string& text) = 0;
  virtual void SetLoadButtonCaption(const std::string& caption) = 0;
  virtual void SetCheckEnabled(bool enabled) = 0;
  // Lays the text editor over cell (row, col) with this text, selected, focused.
  virtual void ShowTextEditor(int row, int col, const std::string& text) = 0;
  // Lays the date picker over the cell; a date of nullopt keeps the picker's value.
  virtual void ShowDatePicker(int row, int col, std::optional<Date> date) = 0;
  virtual void SetEditorText(const std::string& text) = 0;
  virtual void HideEditors() = 0;
  virtual void FocusGrid() = 0;
  virtual void SetWindowEnabled(bool enabled) = 0;
  virtual Date SettlementDate() const = 0;
  virtual void SetSettlementDate(const Date& date) = 0;
  virtual bool FreeEntry() const = 0;
  // A long piece of work tells how far it has got; shown only when it lasts.
  virtual void ShowProgress(const std::string& what, int percent) = 0;
  virtual void HideProgress() = 0;
  // A line in the window that tells what the last step did ("9,904 rows from
  // 20,000 lines"); stays until the next one.
  virtual void ShowNote(const std::string& text) { (void)text; }
};

class MainController {
 public:
  MainController(AppContext& app, Grid& entries, MainView& view, HoldingMessageView& holdingView);

  static const std::vector<std::pair<std::string, int>>& SearchColumns();

  // Where Send uploads: the exchange baked into the build; tests point it at an emulator.
  ExchangeEndpoint endpoint;

  void SetUpMainWindow();
  void ChangeKind(const std::string& kind);
  bool KindChangeRefused() const { return kindChangeRefused_; }
  void SetKindChangeRefused(bool refused) { kindChangeRefused_ = refused; }

  // Editors.
  void BeginCellEdit(std::optional<EditGesture> gesture);  // nullopt: open whatever the column
  void EditorEnter(const std::string& text);
  void EditorEscape();
  void DatePickerChanged(const Date& date);
  void DatePickerEnter(const Date& date);
  void DatePickerEscape();
  void AbandonEdits();  // scroll, resize, focus lost

  // Keys and menu.
  void KeyUp(MainControl control, int keyCode);
  void CopyCell();
  void PasteCell();
  void DeleteRows();
  void Search(int searchColumnIndex, const std::string& text);

  // Buttons.
  void AutoFields();
  void Save();
  void Reload();
  void LoadTradeFile();
  void Report();
  void Summarize();
  void CheckHolding();
  void Send();

  // Unsaved work. The rows changed since the last Save, Reload or load:
  bool HasUnsavedChanges() const { return grid_.Edits() != cleanEdits_; }
  // Exit, closing the window: asks when rows would be lost; true when the
  // program may end (the recovery copy then goes).
  bool ConfirmExit();
  // Called every few seconds: keeps a copy of unsaved rows in the data
  // folder, so that a program that dies loses nothing typed.
  void KeepRecoveryCopy();
  // At start: offers the rows a program that ended without saving left.
  void OfferRecovery();

  // Every problem of the rows, for the settlement date shown and the holding
  // report used last for this day and kind.
  RowProblems& Problems();
  // The same, as last asked for: for the view that reads the published list
  // line by line, without looking at the date or the report again.
  const RowProblems& ListedProblems() const { return *problems_; }
  // Makes the cell of the problem (a line of the published list) current.
  void GoToProblem(int index);
  // Makes data row n current, keeping the column; false when there is no such row.
  bool GoToRow(int n);
  // The search as the clerk types: moves to the first row from the current
  // one whose cell holds the text, and stays put when none does.
  void SearchAsTyped(int searchColumnIndex, const std::string& text);

  // Runs a handler with the error trap every button has: an unexpected
  // failure shows its description and ends the handler.
  void Guard(const std::function<void()>& handler);

 private:
  void ApplyKind(const std::string& kind);
  // "10-Dec-2026 PI": the key under which the holding report is remembered.
  std::string HoldingDayKey() const;
  // Puts the report remembered for this day and kind (or none) into use.
  void RefreshHoldingReport();
  // The rows now match what is on disk (or need not be kept): no question on
  // leaving, no recovery copy.
  void MarkClean();
  // This window has just loaded or saved the day's file: a later Save asks
  // when someone else wrote it in between.
  void RememberDayFile();
  void DropRecoveryCopy();
  // Tells the clerk and returns true when a setting is blank.
  bool RefuseIncompleteSettings();

  AppContext& app_;
  Grid& grid_;
  MainView& view_;
  HoldingMessageView& holdingView_;
  std::uint64_t cleanEdits_ = 0;
  std::string dayFile_;                  // the day's file this window last loaded or saved
  std::optional<FileTime> dayFileTime_;  // and when it was written then
  std::string recoveryPath_;             // the recovery copy written last
  std::uint64_t recoveryEdits_ = 0;      // of these rows
  std::string savedCaption_;             // the caption a long handler restores
  bool kindChangeRefused_ = false;
  int copiedRow_ = 0, copiedCol_ = 0;
  int editRow_ = -1, editCol_ = -1;
  std::unique_ptr<RowProblems> problems_;
  std::string reportPath_;              // the holding report in use by problems_
  std::optional<FileTime> reportTime_;  // as written when it was read
  std::string typedSearch_;             // the text the last typed search found
  int typedRow_ = -1;                   // and the row it found it in
};

}  // namespace quorvin
