#pragma once
// Answers the real modal windows of the running program in the order a test
// expects them: message boxes, the file-open dialog and the holding message
// window. Every window seen is recorded; one that comes out of turn is closed
// and reported as a problem, so that a surprise fails the test instead of
// hanging it.
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QFileDialog;

namespace quorvin::test {

class ModalScript : public QObject {
  Q_OBJECT
 public:
  ModalScript();

  // The next modal window is a message box; press this button.
  void Box(QMessageBox::StandardButton answer);
  // The next modal window is the file-open dialog; type this path and press Enter.
  void File(const QString& path);
  // The next modal window is the holding message window; read it and close it.
  void Holding();
  // The next modal window is the one named `objectName`: `drive` works it as
  // the clerk would, its own boxes answered by steps it adds, and closes it;
  // one it leaves open is closed and reported.
  void Window(const QString& objectName, std::function<void(QWidget*)> drive);

  // What was seen since the last call, one entry per window:
  //   "Critical|Missing BO ID|BO ID is not given in row number 1."
  //   "File|Choose Text FIle"
  //   "Holding|Quorvin v1.0 : Holding Balance Message.|<the message>"
  //   "Window|frmList|Quorvin v1.0 : List of BOs"
  QStringList TakeSeen();
  // Windows out of turn, answers that could not be given, and answers never
  // used; the unused answers are dropped, so that the next step starts afresh.
  QStringList TakeProblems();

 private:
  enum class Kind { Box, File, Holding, Window };
  struct Step {
    Kind kind;
    QMessageBox::StandardButton answer = QMessageBox::NoButton;
    QString path;  // the file to choose, or the window's name
    std::function<void(QWidget*)> drive;
  };
  void Poll();
  void Answer(QWidget* modal, const Step& step);
  void ChooseWhenRead(QFileDialog* dialog, const QString& path);
  void Refuse(QWidget* modal, const QString& why);

  QTimer timer_;
  std::deque<Step> steps_;
  QStringList seen_, problems_;
  QPointer<QWidget> answered_;
  QPointer<QWidget> driving_;
  QPointer<QWidget> choosing_;
};

}  // namespace quorvin::test
