// Watching for the program's modal windows, answering each with the next
// scripted step, and closing and reporting any that comes out of turn.
#include "modal_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QtTest>

#include <memory>

namespace quorvin::test {
namespace {

QString IconName(QMessageBox::Icon icon) {
  switch (icon) {
    case QMessageBox::Critical:
      return "Critical";
    case QMessageBox::Question:
      return "Question";
    case QMessageBox::Information:
      return "Information";
    case QMessageBox::Warning:
      return "Warning";
    default:
      return "NoIcon";
  }
}

}  // namespace

ModalScript::ModalScript() {
  // Polled: a modal window opens only once the code under test gets there,
  // inside its own event loop.
  connect(&timer_, &QTimer::timeout, this, &ModalScript::Poll);
  timer_.start(20);
}

void ModalScript::Box(QMessageBox::StandardButton answer) {
  steps_.push_back({Kind::Box, answer, {}, {}});
}

void ModalScript::File(const QString& path) {
  steps_.push_back({Kind::File, QMessageBox::NoButton, path, {}});
}

void ModalScript::Holding() {
  steps_.push_back({Kind::Holding, QMessageBox::NoButton, {}, {}});
}

void ModalScript::Window(const QString& objectName, std::function<void(QWidget*)> drive) {
  steps_.push_back({Kind::Window, QMessageBox::NoButton, objectName, std::move(drive)});
}

QStringList ModalScript::TakeSeen() {
  QStringList seen = seen_;
  seen_.clear();
  return seen;
}

QStringList ModalScript::TakeProblems() {
  QStringList problems = problems_;
  problems_.clear();
  for (const Step& step : steps_)
    problems << QString("not used: a %1 step")
                    .arg(step.kind == Kind::Box       ? "message box"
                         : step.kind == Kind::File    ? "file dialog"
                         : step.kind == Kind::Holding ? "holding message"
                                                      : "window");
  steps_.clear();
  return problems;
}

void ModalScript::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  // A long import shows its progress modally; that is the program's own business.
  if (!modal || !modal->isVisible() || qobject_cast<QProgressDialog*>(modal)) return;
  if (modal == driving_) return;  // between the boxes of a window being driven
  if (modal == choosing_) return;  // a file dialog still reading its folder
  if (modal == answered_) {
    Refuse(modal, "still open after its answer");
    return;
  }
  answered_ = modal;

  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    seen_ << IconName(box->icon()) + "|" + box->windowTitle() + "|" + box->text();
  } else if (qobject_cast<QFileDialog*>(modal)) {
    seen_ << "File|" + modal->windowTitle();
  } else if (modal->objectName() == "frmHoldingMessage") {
    auto* text = modal->findChild<QPlainTextEdit*>("txtMessage");
    seen_ << "Holding|" + modal->windowTitle() + "|" + (text ? text->toPlainText() : "?");
  } else if (!steps_.empty() && steps_.front().kind == Kind::Window &&
             modal->objectName() == steps_.front().path) {
    seen_ << "Window|" + modal->objectName() + "|" + modal->windowTitle();
  } else {
    seen_ << "Other|" + modal->objectName() + "|" + modal->windowTitle();
    Refuse(modal, "a window no step expects");
    return;
  }

  if (steps_.empty()) {
    Refuse(modal, "came after the last step");
    return;
  }
  Step step = steps_.front();
  steps_.pop_front();
  Answer(modal, step);
}

void ModalScript::Answer(QWidget* modal, const Step& step) {
  auto* box = qobject_cast<QMessageBox*>(modal);
  auto* dialog = qobject_cast<QFileDialog*>(modal);
  if (step.kind == Kind::Box && box) {
    if (QAbstractButton* button = box->button(step.answer))
      button->click();
    else
      Refuse(modal, "has not the button to press");
  } else if (step.kind == Kind::File && dialog) {
    ChooseWhenRead(dialog, step.path);
  } else if (step.kind == Kind::Holding && modal->objectName() == "frmHoldingMessage") {
    modal->close();
  } else if (step.kind == Kind::Window && modal->objectName() == step.path) {
    // Driven from the window's own event loop, so that this poll returns and
    // can answer the boxes the window opens.
    QPointer<QWidget> window = modal;
    QTimer::singleShot(0, this, [this, window, drive = step.drive] {
      driving_ = window;
      if (window) drive(window);
      driving_ = nullptr;
      if (window && window->isVisible()) Refuse(window, "left open by its step");
    });
  } else {
    Refuse(modal, "is not the window the step expects");
  }
}

void ModalScript::ChooseWhenRead(QFileDialog* dialog, const QString& path) {
  auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
  auto* model = dialog->findChild<QFileSystemModel*>();
  if (!name || !model) {
    Refuse(dialog, "has no file name box (a native dialog?)");
    return;
  }
  // As the clerk would: the whole path into the file name box, then Enter. The
  // dialog reads its folder in the background and, once read, selects the file
  // it was opened on; a name given before that can lose to it, so the answer
  // waits for the folder (or a while, for a folder read before it was watched).
  // The text is set whole rather than typed, so that the box's completer cannot
  // take the Enter.
  QPointer<QLineEdit> box = name;
  choosing_ = dialog;  // not yet answered: the poll leaves it alone
  auto choose = [this, box, path, done = std::make_shared<bool>(false)] {
    if (*done || !box) return;
    *done = true;
    choosing_ = nullptr;
    box->setFocus();
    box->setText(path);
    QTest::keyClick(box, Qt::Key_Return);
  };
  const QModelIndex root = model->index(dialog->directory().absolutePath());
  if (root.isValid() && model->rowCount(root) > 0) {
    QTimer::singleShot(0, name, choose);
    return;
  }
  connect(model, &QFileSystemModel::directoryLoaded, name, [name, choose] {
    QTimer::singleShot(0, name, choose);
  });
  QTimer::singleShot(2000, name, choose);
}

void ModalScript::Refuse(QWidget* modal, const QString& why) {
  problems_ << modal->metaObject()->className() + QString(" \"") + modal->windowTitle() + "\" " +
                   why;
  if (auto* dialog = qobject_cast<QDialog*>(modal))
    dialog->reject();
  else
    modal->close();
}

}  // namespace quorvin::test
