// Setting up the demo install for the widget tests, and answering the next
// message box once it opens.
#include "gui_support.h"

#include <QApplication>
#include <QTimer>
#include <filesystem>

namespace quorvin::test {

DemoInstall::DemoInstall() {
  for (const auto& entry : std::filesystem::directory_iterator(QUORVIN_DEMO_DATA)) {
    auto ext = entry.path().extension().string();
    if (ext == ".txt" || ext == ".TXT")
      std::filesystem::copy_file(entry.path(), data_.Path() + entry.path().filename().string());
  }
  program_.Write("Quorvin.ini",
                 "Broker ID : 204513\r\nClearing BOID : 1204510000067342\r\nDefault BOID Format "
                 ": 1204510000000000\r\nBackup Location : " +
                     data_.Path());
}

void AnswerNextBox(QMessageBox::StandardButton button, QStringList* seen) {
  // Poll until the box is up: it opens only when the code under test gets there.
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, button, seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    timer->stop();
    timer->deleteLater();
    if (seen) seen->append(box->windowTitle() + "|" + box->text());
    if (QAbstractButton* b = box->button(button))
      b->click();
    else
      box->reject();
  });
  timer->start(20);
}

}  // namespace quorvin::test
