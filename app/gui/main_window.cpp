// The Qt main window: its buttons, entry grid and editors built and wired to
// the main controller, and closing it (and every other window) on exit.
#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSessionManager>
#include <QTimer>
#include <QVBoxLayout>

#include "day/entry_grid.h"
#include "gui/app_shell.h"
#include "gui/list_window.h"
#include "gui/qt_text.h"
#include "gui/ui_style.h"
#include "gui/window_access.h"
#include "gui/window_support.h"

namespace quorvin::gui {
namespace {

// The stored layout of the window's buttons, in tab order.
const QList<QVariantMap>& ButtonLayout() {
  static const QList<QVariantMap> layout = {
      {{"name", "btnSearch"},
       {"caption", "Search"},
       {"tooltip", "Search the entered value in the selected column."}},
      {{"name", "btnAutoFields"},
       {"caption", "Auto-Fill"},
       {"tooltip",
        "Fill the automatic fields i.e. Broker ID, Clearing BOID, Deliver Date, and "
        "Internal Ref. No."}},
      {{"name", "btnSummarize"},
       {"caption", "Summarize"},
       {"tooltip", "Summarize individual BOs ISIN quantities."}},
      {{"name", "btnCheck"}, {"caption", "Check"}, {"tooltip", "Check with holding balance."}},
      {{"name", "btnReport"}, {"caption", "Report"}, {"tooltip", "View a summary report."}},
      {{"name", "btnSave"}, {"caption", "Save"}, {"tooltip", "Save the entered records."}},
      {{"name", "btnReload"},
       {"caption", "Reload"},
       {"tooltip", "Load the records previously saved."}},
      {{"name", "btnLoadFromBTFile"},
       {"caption", "Load Payin"},
       {"tooltip", "Load data from Payin/Payout file."}},
      {{"name", "btnSend"}, {"caption", "Send"}, {"tooltip", "Send the entered records to MGX."}},
      {{"name", "btnList"}, {"caption", "List"}, {"tooltip", "See the list of BOs/ISINs."}},
      {{"name", "btnSettings"}, {"caption", "Settings"}, {"tooltip", "Go to settings."}},
      {{"name", "btnExit"}, {"caption", "Exit"}, {"tooltip", "Exit from the software."}},
  };
  return layout;
}

MainControl ControlOfButton(const QString& name) {
  if (name == "btnAutoFields") return MainControl::BtnAutoFields;
  if (name == "btnList") return MainControl::BtnList;
  if (name == "btnSend") return MainControl::BtnSend;
  if (name == "btnSettings") return MainControl::BtnSettings;
  if (name == "btnExit") return MainControl::BtnExit;
  return MainControl::Other;
}

}  // namespace

MainWindow::MainWindow(AppShell& shell, QWidget* parent)
    : QMainWindow(parent), shell_(shell), entries_(2, kEntryColumns, 1) {
  setObjectName("frmMain");
  setFont(WindowFont());
  measure_ = std::make_unique<QtTextMeasure>(font(), logicalDpiX());
  entries_.SetMeasure(measure_.get());
  model_ = new GridModel(entries_, this);
  holdingView_ = std::make_unique<QtHoldingMessageView>(this);
  controller_ = std::make_unique<MainController>(shell_.Context(), entries_, *this, *holdingView_);
  // Unsaved rows are copied aside every few seconds, so that a program that
  // dies loses nothing typed.
  auto* recovery = new QTimer(this);
  connect(recovery, &QTimer::timeout, this, [this] { controller_->KeepRecoveryCopy(); });
  recovery->start(3000);
  // A desktop session that ends asks first, as Exit does.
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
    if (manager.allowsInteraction()) {
      if (!controller_->ConfirmExit()) manager.cancel();
      manager.release();
    } else {
      controller_->KeepRecoveryCopy();
    }
  });
  BuildControls();
  BuildEditors();
  WireButtons();
  BuildProblemsPane();
  controller_->SetUpMainWindow();
  SetUpKeyboardAndLabels(*this);
  resize(1100, 680);
}

MainWindow::~MainWindow() {
  // The widgets and the model read the grid: they go before it does.
  delete takeCentralWidget();
  delete model_;
}

void MainWindow::BuildControls() {
  auto* central = new QWidget(this);
  setCentralWidget(central);

  kindFrame_ = new QGroupBox(central);
  kindFrame_->setObjectName("framePayInPayOutOptions");
  kindFrame_->setToolTip("Select Pay In or Pay Out.");
  kindLayout_ = new QGridLayout(kindFrame_);
  kindLayout_->setContentsMargins(8, 4, 8, 4);
  kindLayout_->setVerticalSpacing(2);
  optPayIn_ = new QRadioButton("Pay In Date :", kindFrame_);
  optPayIn_->setObjectName("optPayIn");
  optPayIn_->setToolTip("Select for Pay In entries.");
  optPayOut_ = new QRadioButton("Pay Out Date :", kindFrame_);
  optPayOut_->setObjectName("optPayOut");
  optPayOut_->setToolTip("Select for Pay Out entries.");
  dtpPayInOrPayOut_ = new QDateEdit(kindFrame_);
  dtpPayInOrPayOut_->setObjectName("dtpPayInOrPayOut");
  dtpPayInOrPayOut_->setToolTip("Enter the date. It will be also used as delivery date.");
  dtpPayInOrPayOut_->setLocale(QLocale::c());
  dtpPayInOrPayOut_->setDisplayFormat("dd-MMM-yyyy");
  dtpPayInOrPayOut_->setCalendarPopup(true);
  dtpPayInOrPayOut_->setMinimumWidth(120);
  kindLayout_->addWidget(optPayIn_, 0, 0);
  kindLayout_->addWidget(optPayOut_, 1, 0);
  kindLayout_->addWidget(dtpPayInOrPayOut_, 0, 1);
  kindLayout_->setRowMinimumHeight(0, dtpPayInOrPayOut_->sizeHint().height());
  kindLayout_->setRowMinimumHeight(1, dtpPayInOrPayOut_->sizeHint().height());

  chkFreeEntry_ = new QCheckBox("Free Entry", central);
  chkFreeEntry_->setObjectName("chkFreeEntry");
  chkFreeEntry_->setToolTip("Check to enter anything anywhere in the above table.");

  txtSearch_ = new QLineEdit(central);
  txtSearch_->setObjectName("txtSearch");
  txtSearch_->setToolTip("Enter the value to find.");
  txtSearch_->setMinimumWidth(180);
  cmbSearch_ = new QComboBox(central);
  cmbSearch_->setObjectName("cmbSearch");
  cmbSearch_->setToolTip("Select the column name to find in.");
  for (const auto& [title, column] : MainController::SearchColumns()) cmbSearch_->addItem(Q(title));
  cmbSearch_->setCurrentIndex(0);

  grid_ = new GridView(model_, measure_.get(), central);
  grid_->setObjectName("flxEntries");

  for (const QVariantMap& bag : ButtonLayout()) {
    AppButton* button = CreateButton(central, bag);
    buttons_.insert(bag.value("name").toString(), button);
  }

  auto* top = new QHBoxLayout;
  top->addWidget(kindFrame_);
  top->addSpacing(12);
  top->addWidget(chkFreeEntry_);
  top->addStretch(1);
  auto* findLabel = new QLabel("Find :", central);
  top->addWidget(findLabel);
  top->addWidget(txtSearch_);
  top->addWidget(cmbSearch_);
  top->addWidget(buttons_["btnSearch"]->Widget());

  auto* bottom = new QHBoxLayout;
  for (const char* name : {"btnLoadFromBTFile", "btnAutoFields", "btnSummarize", "btnCheck",
                           "btnReport", "btnSave", "btnReload", "btnSend"})
    bottom->addWidget(buttons_[name]->Widget());
  bottom->addStretch(1);
  for (const char* name : {"btnList", "btnSettings", "btnExit"})
    bottom->addWidget(buttons_[name]->Widget());

  auto* layout = new QVBoxLayout(central);
  layout->addLayout(top);
  layout->addWidget(grid_, 1);
  layout->addLayout(bottom);

  mnuCopyCell_ = new QMenu(this);
  mnuCopyCell_->setObjectName("mnuCopyCell");
  QAction* copy = mnuCopyCell_->addAction("Copy");
  copy->setObjectName("mnuCopy");
  QAction* paste = mnuCopyCell_->addAction("Paste");
  paste->setObjectName("mnuPaste");
  QAction* remove = mnuCopyCell_->addAction("Delete");
  remove->setObjectName("mnuDelete");
  connect(copy, &QAction::triggered, this, [this] { controller_->CopyCell(); });
  connect(paste, &QAction::triggered, this, [this] { controller_->PasteCell(); });
  connect(remove, &QAction::triggered, this, [this] { controller_->DeleteRows(); });

  connect(optPayIn_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) controller_->ChangeKind(kPayIn);
  });
  connect(optPayOut_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) controller_->ChangeKind(kPayOut);
  });
  for (QWidget* w : {static_cast<QWidget*>(optPayIn_), static_cast<QWidget*>(optPayOut_)})
    w->installEventFilter(this);
  txtSearch_->installEventFilter(this);

  connect(grid_, &GridView::enterPressed, this,
          [this] { controller_->BeginCellEdit(EditGesture::Enter); });
  connect(grid_, &GridView::cellDoubleClicked, this,
          [this] { controller_->BeginCellEdit(EditGesture::DoubleClick); });
  connect(grid_, &GridView::keyReleased, this,
          [this](int code) { controller_->KeyUp(MainControl::Grid, code); });
  connect(grid_, &GridView::rightButtonPressed, this,
          [this](const QPoint& at) { mnuCopyCell_->popup(at); });
  connect(grid_, &GridView::scrolled, this, [this] { controller_->AbandonEdits(); });
}

void MainWindow::WireButtons() {
  for (auto it = buttons_.begin(); it != buttons_.end(); ++it) {
    MainControl control = ControlOfButton(it.key());
    connect(it.value(), &AppButton::keyReleased, this,
            [this, control](int code) { controller_->KeyUp(control, code); });
  }
  connect(buttons_["btnSearch"], &AppButton::clicked, this,
          [this] { controller_->Search(cmbSearch_->currentIndex(), S(txtSearch_->text())); });
  connect(buttons_["btnAutoFields"], &AppButton::clicked, this,
          [this] { controller_->AutoFields(); });
  connect(buttons_["btnSave"], &AppButton::clicked, this, [this] { controller_->Save(); });
  connect(buttons_["btnReload"], &AppButton::clicked, this, [this] { controller_->Reload(); });
  connect(buttons_["btnLoadFromBTFile"], &AppButton::clicked, this,
          [this] { controller_->LoadTradeFile(); });
  connect(buttons_["btnReport"], &AppButton::clicked, this, [this] { controller_->Report(); });
  connect(buttons_["btnSummarize"], &AppButton::clicked, this,
          [this] { controller_->Summarize(); });
  connect(buttons_["btnCheck"], &AppButton::clicked, this, [this] { controller_->CheckHolding(); });
  connect(buttons_["btnList"], &AppButton::clicked, this, [this] {
    shell_.Context().listKind = "BO";
    ListWindow window(shell_.Context(), this);
    window.exec();
  });
  connect(buttons_["btnSend"], &AppButton::clicked, this, [this] { controller_->Send(); });
  connect(buttons_["btnSettings"], &AppButton::clicked, this,
          [this] { shell_.ShowSettingsWindow(this); });
  connect(buttons_["btnExit"], &AppButton::clicked, this, &QWidget::close);
}

void MainWindow::EndSession() {
  controller_->KeepRecoveryCopy();
  endingSession_ = true;
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!endingSession_ && !controller_->ConfirmExit()) {
    event->ignore();
    return;
  }
  // Unloading the main window unloads every other window and ends the program.
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != this && w->isVisible()) w->close();
  shell_.Placement().Save(this);
  event->accept();
  QApplication::quit();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (controller_) controller_->AbandonEdits();
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
  // Keys released while a control has the focus reach the window too; only
  // those of the window itself count here.
  QWidget* focus = focusWidget();
  if (!event->isAutoRepeat() && (focus == nullptr || focus == this || focus == centralWidget()))
    if (int code = LegacyKeyCode(event->key())) controller_->KeyUp(MainControl::Form, code);
  QMainWindow::keyReleaseEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease && (watched == optPayIn_ || watched == optPayOut_)) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!key->isAutoRepeat())
      if (int code = LegacyKeyCode(key->key()))
        controller_->KeyUp(watched == optPayIn_ ? MainControl::OptPayIn : MainControl::OptPayOut,
                           code);
  }
  if (event->type() == QEvent::KeyPress && watched == txtSearch_) {
    // Typing searches as it goes (see BuildProblemsPane); Enter searches as the button does.
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      controller_->Search(cmbSearch_->currentIndex(), S(txtSearch_->text()));
      return true;
    }
  }
  if (event->type() == QEvent::KeyPress && (watched == txtEditor_ || watched == dtpDate_))
    return EditorKey(watched, static_cast<QKeyEvent*>(event));
  if (event->type() == QEvent::FocusOut && (watched == txtEditor_ || watched == dtpDate_)) {
    auto reason = static_cast<QFocusEvent*>(event)->reason();
    // A message box or the calendar pop-up takes the focus for a moment; only a
    // real move elsewhere ends the edit.
    if (!handlingEnter_ && reason != Qt::ActiveWindowFocusReason &&
        reason != Qt::PopupFocusReason) {
      QWidget* to = QApplication::focusWidget();
      if (!(watched == dtpDate_ && to && dtpDate_->isAncestorOf(to)))
        static_cast<QWidget*>(watched)->hide();
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

std::string MainWindow::Caption() const {
  return S(CaptionOf(windowTitle()));
}
void MainWindow::SetCaption(const std::string& caption) {
  setWindowTitle(ShownCaption(Q(caption)));
}

void MainWindow::SetWaitCursor(bool wait) {
  gui::SetWaitCursor(wait);
}

void MainWindow::ProcessPendingEvents() {
  gui::ProcessPendingEvents();
}

void MainWindow::SetWindowEnabled(bool enabled) {
  // A disabled window drops the focus; the clerk's place comes back with it,
  // so that the keyboard goes on from the button that started the work.
  if (!enabled && focusWidget()) focusBeforeDisabled_ = focusWidget();
  setEnabled(enabled);
  if (enabled && focusBeforeDisabled_) {
    if (focusBeforeDisabled_->isVisible()) focusBeforeDisabled_->setFocus(Qt::OtherFocusReason);
    focusBeforeDisabled_ = nullptr;
  }
  repaint();
}

}  // namespace quorvin::gui
