#pragma once
// The list window's behaviour, free of any toolkit: one reference list at a
// time in a grid with a fixed header row and serial column, its main file,
// its dated backups and its exchange with the exchange server. The Qt window
// forwards its events here and shows what the ListView calls ask for.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "day/app_context.h"
#include "ground/grid.h"
#include "ground/ports.h"
#include "work/lists/list_backups.h"
#include "work/transfer/ftp_transfer.h"

namespace quorvin {

inline constexpr const char* kListOfBOs = "List of BOs";
inline constexpr const char* kListOfISINs = "List of ISINs";

// The controls of the list window whose key releases matter.
enum class ListControl {
  Form,
  Grid,
  SearchBox,  // txtItem: Insert only
  BtnAdd,
  BtnRemove,
  BtnSave,
  BtnReload,
  BtnLoadBackup,
  BtnClose,
  Other
};

class ListView : public WindowPort {
 public:
  // Shows the kind's item in cmbListOf without running the kind change again.
  virtual void ShowListKind(int comboIndex) = 0;
  virtual void SetSelectLabel(const std::string& text) = 0;
  virtual void SetGridToolTip(const std::string& text) = 0;
  virtual void SetUpdateButton(const std::string& caption, const std::string& tooltip) = 0;
  // Lays the editor over cell (row, col) with this text, selected, focused.
  virtual void ShowEditor(int row, int col, const std::string& text) = 0;
  virtual void HideEditor() = 0;
  virtual void FocusGrid() = 0;
  // Number of grid rows the grid shows at once (at least 1).
  virtual int VisibleRows() const = 0;
  virtual void SelectSearchText() = 0;
  // Every control of the window except the backup panel.
  virtual void SetControlsEnabled(bool enabled) = 0;
  // Opens the panel with its title, or closes it (title unused).
  virtual void ShowBackupPanel(bool open, const std::string& title) = 0;
  // The panel's entries and the selected one (-1: none).
  virtual void ShowBackupEntries(const std::vector<std::string>& entries, int selected) = 0;
};

// The first data row whose cells from column 1 on are all blank, if any.
std::optional<int> FindBlankListRow(const Grid& grid);

class ListController {
 public:
  ListController(AppContext& app, Grid& grid, ListView& view);

  // Where the exchange is; tests point it at an emulator.
  ExchangeEndpoint endpoint;

  // Window opened: the kind of app.listKind, its grid and its main file.
  void Open();
  // cmbListOf item chosen: 0 is the BO list, anything else the ISIN list.
  void ChangeKind(int comboIndex);
  static int ComboIndexOf(const std::string& listKind) { return listKind == "BO" ? 0 : 1; }
  void SetUpListGrid();
  const std::string& MainListFile() const { return mainListFile_; }
  std::string MainListPath() const { return app_.DataPath(mainListFile_); }

  // Editor.
  void StartCellEdit();
  void EditorEnter(const std::string& text);
  void EditorEscape();
  void AbandonEdit();  // scroll, resize, focus lost
  bool Editing() const { return editRow_ >= 0; }

  // Rows and keys.
  void KeyUp(ListControl control, int keyCode);
  void AddRowAndEdit();
  void RemoveRows();

  void Search(const std::string& text);
  void GoToListRow(int row);

  void Save();
  void Reload();

  // Backups.
  void SaveAsBackup();
  void OpenBackupPanel();
  void FillBackupList();
  void SelectBackup(int index);
  void LoadBackup();
  void DeleteBackup();
  void CloseBackupPanel();
  bool BackupPanelOpen() const { return panelOpen_; }
  const std::vector<BackupEntry>& BackupEntries() const { return backups_; }
  int SelectedBackup() const { return selectedBackup_; }

  // Exchange.
  void UpdateList();  // btnUpdateList: send for "BO", receive for "ISIN"
  void SendBOList();
  void ReceiveISINList();
  // A transfer is running: the window must neither start another nor close.
  bool Busy() const { return busy_; }

  // Runs a handler with the error trap every action has: an unexpected
  // failure shows its description and ends the handler.
  void Guard(const std::function<void()>& handler);

 private:
  bool RefuseBlankRow();
  void ShowBackups();
  void EndTransfer(const std::string& savedCaption, const std::string& suffix,
                   const std::string& text, const std::string& title, MsgIcon icon,
                   const std::string& details = {});

  AppContext& app_;
  Grid& grid_;
  ListView& view_;
  std::string mainListFile_ = "BO.txt";
  int editRow_ = -1, editCol_ = -1;
  bool panelOpen_ = false;
  std::vector<BackupEntry> backups_;
  int selectedBackup_ = -1;
  bool busy_ = false;
};

}  // namespace quorvin
