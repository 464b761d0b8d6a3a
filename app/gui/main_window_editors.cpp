// frmMain: the in-cell editors and the parts of the window the controller sets.
#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/window_support.h"

namespace quorvin::gui {
namespace {

QDate ToQDate(const Date& d) {
  return QDate(d.year, d.month, d.day);
}
Date FromQDate(const QDate& d) {
  return Date{d.year(), d.month(), d.day()};
}

}  // namespace

void MainWindow::BuildEditors() {
  txtEditor_ = new QLineEdit(grid_->viewport());
  txtEditor_->setObjectName("txtEditor");
  txtEditor_->setToolTip("Type the value and press ENTER.");
  txtEditor_->setFrame(false);
  txtEditor_->hide();
  txtEditor_->installEventFilter(this);

  dtpDate_ = new QDateEdit(grid_->viewport());
  dtpDate_->setObjectName("dtpDate");
  dtpDate_->setToolTip("Type in the date and press ENTER moving the focus onto the checkbox.");
  dtpDate_->setLocale(QLocale::c());
  dtpDate_->setDisplayFormat("dd-MMM-yyyy");
  dtpDate_->setCalendarPopup(true);
  dtpDate_->setFrame(false);
  dtpDate_->setDate(QDate::currentDate());
  dtpDate_->hide();
  dtpDate_->installEventFilter(this);
  connect(dtpDate_, &QDateEdit::dateChanged, this, [this](const QDate& date) {
    if (!settingPicker_ && dtpDate_->isVisible()) {
      controller_->DatePickerChanged(FromQDate(date));
      PlaceOverCell(dtpDate_, entries_.Row(), entries_.Col());
    }
  });
}

bool MainWindow::EditorKey(QObject* watched, QKeyEvent* key) {
  bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  bool escape = key->key() == Qt::Key_Escape;
  if (!enter && !escape) return false;
  handlingEnter_ = true;
  if (watched == txtEditor_) {
    if (enter)
      controller_->EditorEnter(S(txtEditor_->text()));
    else
      controller_->EditorEscape();
  } else {
    if (enter)
      controller_->DatePickerEnter(FromQDate(dtpDate_->date()));
    else
      controller_->DatePickerEscape();
  }
  handlingEnter_ = false;
  return true;
}

void MainWindow::PlaceOverCell(QWidget* editor, int row, int col) {
  QRect place = grid_->CellRect(row, col);
  // The date picker needs room for the whole date and its button: over a
  // narrower cell it reaches over the next one, and stays inside the grid.
  // (The picker's own hint leaves the last digit under its button: a digit more.)
  const int needed = editor->sizeHint().width() + editor->fontMetrics().horizontalAdvance('0');
  if (editor == dtpDate_ && place.width() < needed) {
    place.setWidth(needed);
    place.moveLeft(std::max(0, std::min(place.left(), grid_->viewport()->width() - place.width())));
  }
  editor->setGeometry(place);
}

void MainWindow::ShowKind(const std::string& kind) {
  bool payIn = kind == kPayIn;
  QSignalBlocker blockIn(optPayIn_), blockOut(optPayOut_);
  optPayIn_->setChecked(payIn);
  optPayOut_->setChecked(!payIn);
  // The settlement date stands beside the selected option.
  kindLayout_->removeWidget(dtpPayInOrPayOut_);
  kindLayout_->addWidget(dtpPayInOrPayOut_, payIn ? 0 : 1, 1);
}

void MainWindow::FocusKindOption(const std::string& kind) {
  (kind == kPayIn ? optPayIn_ : optPayOut_)->setFocus();
}

void MainWindow::SetGridToolTip(const std::string& text) {
  grid_->setToolTip(Q(text));
}

void MainWindow::SetLoadButtonCaption(const std::string& caption) {
  buttons_["btnLoadFromBTFile"]->SetCaption(Q(caption));
}

void MainWindow::SetCheckEnabled(bool enabled) {
  buttons_["btnCheck"]->SetEnabled(enabled);
}

void MainWindow::ShowTextEditor(int row, int col, const std::string& text) {
  grid_->scrollTo(model_->index(model_->TableRow(row), col));
  PlaceOverCell(txtEditor_, row, col);
  HideCellEditor(dtpDate_, grid_);
  txtEditor_->setText(Q(text));
  txtEditor_->show();
  txtEditor_->raise();
  txtEditor_->selectAll();
  txtEditor_->setFocus();
}

void MainWindow::ShowDatePicker(int row, int col, std::optional<Date> date) {
  grid_->scrollTo(model_->index(model_->TableRow(row), col));
  PlaceOverCell(dtpDate_, row, col);
  if (date) {
    settingPicker_ = true;
    dtpDate_->setDate(ToQDate(*date));
    settingPicker_ = false;
  }
  HideCellEditor(txtEditor_, grid_);
  dtpDate_->show();
  dtpDate_->raise();
  dtpDate_->setFocus();
}

void MainWindow::SetEditorText(const std::string& text) {
  txtEditor_->setText(Q(text));
}

void MainWindow::HideEditors() {
  HideCellEditor(txtEditor_, grid_);
  HideCellEditor(dtpDate_, grid_);
}

void MainWindow::FocusGrid() {
  grid_->setFocus();
}

Date MainWindow::SettlementDate() const {
  return FromQDate(dtpPayInOrPayOut_->date());
}

void MainWindow::SetSettlementDate(const Date& date) {
  dtpPayInOrPayOut_->setDate(ToQDate(date));
  settingPicker_ = true;
  dtpDate_->setDate(ToQDate(date));
  settingPicker_ = false;
}

bool MainWindow::FreeEntry() const {
  return chkFreeEntry_->isChecked();
}

}  // namespace quorvin::gui

namespace quorvin::gui {

void MainWindow::ShowProgress(const std::string& what, int percent) {
  if (!progress_) {
    progress_ = new QProgressDialog(Q(what), QString(), 0, 100, this);
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(500);
    progress_->setAutoClose(false);
  }
  progress_->setLabelText(Q(what));
  progress_->setValue(percent);
}

void MainWindow::HideProgress() {
  if (progress_) progress_->deleteLater();
}

}  // namespace quorvin::gui
