// frmMain: the problems pane, the status line under the grid, the search as
// the clerk types, and Ctrl+G to a row number.
#include <QAction>
#include <QInputDialog>
#include <QStatusBar>
#include <QToolButton>
#include <cmath>

#include "day/entry_grid.h"
#include "ground/numbers.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"

namespace quorvin::gui {

void MainWindow::BuildProblemsPane() {
  problems_ = new ProblemsPane(*controller_, entries_, this);
  addDockWidget(Qt::BottomDockWidgetArea, problems_);

  auto* bar = new QStatusBar(this);
  bar->setObjectName("stbMain");
  bar->setAccessibleName("Status");
  setStatusBar(bar);
  lblNote_ = new QLabel(bar);
  lblNote_->setObjectName("lblNote");
  lblNote_->setAccessibleName("Last step");
  lblStatus_ = new QLabel(bar);
  lblStatus_->setObjectName("lblStatus");
  lblStatus_->setAccessibleName("Rows and totals");
  auto* toggle = new QToolButton(bar);
  toggle->setObjectName("btnProblems");
  toggle->setAccessibleName("Show or hide the problems");
  toggle->setToolTip("Show or hide the problems of the rows (F8).");
  toggle->setAutoRaise(true);
  toggle->setText("Show/Hide Problems (F8)");
  bar->addWidget(lblNote_, 1);
  bar->addPermanentWidget(lblStatus_);
  bar->addPermanentWidget(toggle);

  auto* showProblems = new QAction("Problems", this);
  showProblems->setObjectName("actProblems");
  showProblems->setShortcut(Qt::Key_F8);
  showProblems->setShortcutContext(Qt::WindowShortcut);
  addAction(showProblems);
  connect(showProblems, &QAction::triggered, this, [this] {
    // F8 takes the clerk to the pane; from the pane it goes back to the grid.
    if (problems_->isVisible() && problems_->List()->hasFocus())
      grid_->setFocus();
    else
      problems_->ShowAndFocus();
  });
  connect(toggle, &QToolButton::clicked, this, [this] {
    if (problems_->isVisible())
      problems_->hide();
    else
      problems_->ShowAndFocus();
  });
  auto* goToRow = new QAction("Go to row", this);
  goToRow->setObjectName("actGoToRow");
  goToRow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  goToRow->setShortcutContext(Qt::WindowShortcut);
  addAction(goToRow);
  connect(goToRow, &QAction::triggered, this, &MainWindow::AskGoToRow);

  connect(txtSearch_, &QLineEdit::textEdited, this, [this](const QString& text) {
    controller_->SearchAsTyped(cmbSearch_->currentIndex(), S(text));
  });

  connect(model_, &QAbstractItemModel::dataChanged, problems_, &ProblemsPane::Follow);
  connect(model_, &QAbstractItemModel::modelReset, problems_, &ProblemsPane::Follow);
  connect(dtpPayInOrPayOut_, &QDateEdit::dateChanged, problems_, &ProblemsPane::Follow);
  connect(model_, &GridModel::currentCellChanged, this, &MainWindow::UpdateStatus);
  connect(problems_, &ProblemsPane::refreshed, this, &MainWindow::UpdateStatus);
  problems_->Follow();
}

void MainWindow::UpdateStatus() {
  RowProblems& problems = controller_->Problems();
  auto number = [](double v) { return QString::fromStdString(Grouped(std::llround(v))); };
  const int rows = IsGridEmpty(entries_) ? 0 : entries_.Rows() - entries_.FixedRows();
  const int top = std::min(entries_.Row(), entries_.RowSel());
  const int bottom = std::max(entries_.Row(), entries_.RowSel());
  const int selected = rows == 0 || top < entries_.FixedRows() ? 0 : bottom - top + 1;
  QString text = QString("Rows: %1    Total quantity: %2    Selected: %3 %4, quantity %5    ")
                     .arg(number(rows), number(rows ? problems.TotalQuantity() : 0),
                          number(selected), selected == 1 ? "row" : "rows",
                          number(selected ? problems.QuantityOfRows(top, bottom) : 0));
  text += QString("Problems: %1").arg(number(problems.Total()));
  lblStatus_->setText(text);
  // The line only widens, so that what stands beside it stays put as the numbers change.
  lblStatus_->setMinimumWidth(std::max(lblStatus_->minimumWidth(), lblStatus_->sizeHint().width()));
}

void MainWindow::ShowNote(const std::string& text) {
  if (lblNote_) lblNote_->setText(QDisplay(text));
}

void MainWindow::AskGoToRow() {
  const int last = entries_.Rows() - 1;
  if (last < entries_.FixedRows()) return;
  QInputDialog dialog(this);
  dialog.setObjectName("dlgGoToRow");
  dialog.setAccessibleName("Go to row");
  dialog.setWindowTitle("Go to Row");
  dialog.setLabelText(QString("Row number (1 to %1):").arg(last));
  dialog.setInputMode(QInputDialog::IntInput);
  dialog.setIntRange(1, last);
  dialog.setIntValue(std::max(entries_.Row(), 1));
  if (dialog.exec() != QDialog::Accepted) return;
  if (controller_->GoToRow(dialog.intValue())) grid_->setFocus();
}

}  // namespace quorvin::gui
