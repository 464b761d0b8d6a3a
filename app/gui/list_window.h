#pragma once
// frmList: one reference list in a grid, with its backups and its exchange
// with the exchange server. Modal over the main window.
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <memory>

#include "gui/button_factory.h"
#include "gui/grid_model.h"
#include "gui/grid_view.h"
#include "windows/list_window.h"

namespace quorvin::gui {

class ListWindow : public QDialog, public ListView {
  Q_OBJECT
 public:
  // Shows the list of app.listKind ("BO" or "ISIN"); run it with exec().
  ListWindow(AppContext& app, QWidget* parent = nullptr);
  ~ListWindow() override;

  Grid& List() { return grid_; }
  ListController& Controller() { return *controller_; }
  AppButton* Button(const QString& name) const { return buttons_.value(name); }

  // WindowPort
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  void SetWaitCursor(bool wait) override;
  void ProcessPendingEvents() override;
  // ListView
  void ShowListKind(int comboIndex) override;
  void SetSelectLabel(const std::string& text) override;
  void SetGridToolTip(const std::string& text) override;
  void SetUpdateButton(const std::string& caption, const std::string& tooltip) override;
  void ShowEditor(int row, int col, const std::string& text) override;
  void HideEditor() override;
  void FocusGrid() override;
  int VisibleRows() const override;
  void SelectSearchText() override;
  void SetControlsEnabled(bool enabled) override;
  void ShowBackupPanel(bool open, const std::string& title) override;
  void ShowBackupEntries(const std::vector<std::string>& entries, int selected) override;

 public slots:
  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void BuildBackupPanel();
  void WireButtons();
  bool EditorKey(QKeyEvent* key);

  Grid grid_;
  std::unique_ptr<QtTextMeasure> measure_;
  GridModel* model_ = nullptr;
  GridView* flxList_ = nullptr;
  std::unique_ptr<ListController> controller_;

  QComboBox* cmbListOf_ = nullptr;
  QLabel* lblSelect_ = nullptr;
  QLineEdit* txtItem_ = nullptr;
  QLineEdit* txtEditor_ = nullptr;
  QGroupBox* frameBackup_ = nullptr;
  QLabel* lblTitleBackup_ = nullptr;
  QListWidget* lstBackups_ = nullptr;
  QMap<QString, AppButton*> buttons_;
  bool handlingEnter_ = false;
};

}  // namespace quorvin::gui
