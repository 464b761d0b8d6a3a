// Tests that the holding message window shows the failing rows read-only in
// a fixed-pitch font, and stays open modally until closed.
#include "gui/holding_message_window.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

#include "ground/version.h"
#include "gui/qt_text.h"

using quorvin::gui::HoldingMessageWindow;
using quorvin::gui::QtHoldingMessageView;

class HoldingMessageWindowTest : public QObject {
  Q_OBJECT

 private:
  // The text box of the modal window open now, or null.
  static QPlainTextEdit* OpenMessageBox() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal->objectName() != "frmHoldingMessage") return nullptr;
    return modal->findChild<QPlainTextEdit*>("txtMessage");
  }

 private slots:
  void showsTheMessageReadOnlyInAFixedPitchFont() {
    HoldingMessageWindow window("1204 MGA holding balance missing.\r\n\xE9 line two\r\n");
    QCOMPARE(window.objectName(), QString("frmHoldingMessage"));
    QCOMPARE(window.windowTitle(),
             quorvin::gui::Q(quorvin::WindowCaption(" : Holding Balance Message.")));
    QVERIFY(window.windowTitle().endsWith(" : Holding Balance Message."));
    auto* text = window.findChild<QPlainTextEdit*>("txtMessage");
    QVERIFY(text);
    QCOMPARE(window.findChildren<QPlainTextEdit*>().size(), 1);
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->toPlainText(),
             QString::fromLatin1("1204 MGA holding balance missing.\n\xE9 line two\n"));
    QCOMPARE(text->font().pointSizeF(), 8.25);
    QFontMetrics metrics(text->font());  // every character as wide as any other
    QCOMPARE(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W'));
    QCOMPARE(metrics.horizontalAdvance('.'), metrics.horizontalAdvance('M'));
  }

  void viewShowsEachMessageModallyUntilClosed() {
    QWidget owner;
    QtHoldingMessageView view(&owner);
    for (const char* message : {"first\r\n", "second\r\n"}) {
      QString seen;
      QTimer::singleShot(0, [&] {
        if (QPlainTextEdit* text = OpenMessageBox()) {
          seen = text->toPlainText();
          text->window()->close();
        }
      });
      view.ShowModal(message);  // returns only once the window is closed
      QCOMPARE(seen, QString(message).replace("\r\n", "\n"));
      QVERIFY(!QApplication::activeModalWidget());
    }
  }

  void cleanup() {
    while (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  }
};

QTEST_MAIN(HoldingMessageWindowTest)
#include "holding_message_window_test.moc"
