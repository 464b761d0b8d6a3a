#pragma once
// frmMain: the day's pay-in or pay-out rows in the entry grid, the kind and
// settlement date, and the buttons of the day's work.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMap>
#include <QMenu>
#include <QPointer>
#include <QProgressDialog>
#include <QRadioButton>
#include <memory>

#include "gui/button_factory.h"
#include "gui/grid_model.h"
#include "gui/grid_view.h"
#include "gui/holding_message_window.h"
#include "gui/problems_pane.h"
#include "windows/main_controller.h"

namespace quorvin::gui {

class AppShell;

class MainWindow : public QMainWindow, public MainView {
  Q_OBJECT
 public:
  explicit MainWindow(AppShell& shell, QWidget* parent = nullptr);
  ~MainWindow() override;

  Grid& Entries() { return entries_; }
  MainController& Controller() { return *controller_; }
  AppButton* Button(const QString& name) const { return buttons_.value(name); }

  // The session ends (or the program is asked to end): no question can be
  // answered, so the unsaved rows stay in their recovery copy for the next start.
  void EndSession();

  // WindowPort
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  void SetWaitCursor(bool wait) override;
  void ProcessPendingEvents() override;
  // MainView
  void ShowKind(const std::string& kind) override;
  void FocusKindOption(const std::string& kind) override;
  void SetGridToolTip(const std::string& text) override;
  void SetLoadButtonCaption(const std::string& caption) override;
  void SetCheckEnabled(bool enabled) override;
  void ShowTextEditor(int row, int col, const std::string& text) override;
  void ShowDatePicker(int row, int col, std::optional<Date> date) override;
  void SetEditorText(const std::string& text) override;
  void HideEditors() override;
  void FocusGrid() override;
  void SetWindowEnabled(bool enabled) override;
  Date SettlementDate() const override;
  void SetSettlementDate(const Date& date) override;
  bool FreeEntry() const override;
  void ShowProgress(const std::string& what, int percent) override;
  void HideProgress() override;
  void ShowNote(const std::string& text) override;

  ProblemsPane* Problems() const { return problems_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool endingSession_ = false;
  void BuildControls();
  void BuildEditors();
  void BuildProblemsPane();
  void UpdateStatus();
  void AskGoToRow();
  void WireButtons();
  void PlaceOverCell(QWidget* editor, int row, int col);
  bool EditorKey(QObject* watched, QKeyEvent* key);

  AppShell& shell_;
  Grid entries_;
  std::unique_ptr<QtTextMeasure> measure_;
  GridModel* model_ = nullptr;
  GridView* grid_ = nullptr;
  std::unique_ptr<QtHoldingMessageView> holdingView_;
  std::unique_ptr<MainController> controller_;

  QGroupBox* kindFrame_ = nullptr;
  QGridLayout* kindLayout_ = nullptr;
  QRadioButton* optPayIn_ = nullptr;
  QRadioButton* optPayOut_ = nullptr;
  QDateEdit* dtpPayInOrPayOut_ = nullptr;
  QCheckBox* chkFreeEntry_ = nullptr;
  QLineEdit* txtSearch_ = nullptr;
  QComboBox* cmbSearch_ = nullptr;
  QLineEdit* txtEditor_ = nullptr;
  QDateEdit* dtpDate_ = nullptr;
  QMenu* mnuCopyCell_ = nullptr;
  QPointer<QProgressDialog> progress_;
  QPointer<QWidget> focusBeforeDisabled_;  // while SetWindowEnabled(false) holds
  QMap<QString, AppButton*> buttons_;
  ProblemsPane* problems_ = nullptr;
  QLabel* lblStatus_ = nullptr;
  QLabel* lblNote_ = nullptr;
  bool settingPicker_ = false;
  bool handlingEnter_ = false;
};

}  // namespace quorvin::gui
