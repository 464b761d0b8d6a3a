// Watching for the program's modal windows, answering each with the next
// scripted step, and closing and reporting any that comes out of turn.
#include "modal_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QtTest>

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
    // As the clerk would: the whole path into the file name box, then Enter.
    // The text is set whole rather than typed, so that the box's completer,
    // which fills in from a folder read in the background, cannot take the Enter.
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    if (!name) {
      Refuse(modal, "has no file name box (a native dialog?)");
      return;
    }
    name->setFocus();
    name->setText(step.path);
    QTest::keyClick(name, Qt::Key_Return);
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

void ModalScript::Refuse(QWidget* modal, const QString& why) {
  problems_ << modal->metaObject()->className() + QString(" \"") + modal->windowTitle() + "\" " +
                   why;
  if (auto* dialog = qobject_cast<QDialog*>(modal))
    dialog->reject();
  else
    modal->close();
}

}  // namespace quorvin::test
