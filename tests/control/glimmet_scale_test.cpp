// A Glimmet on a screen of scale 2 (the test sets the scale itself): drawn at
// device pixels, its caption sharp, its frame where the scale-1 look has it.
#include <QApplication>
#include <QTest>

#include "glimmet.h"

class ScaleTest : public QObject {
  Q_OBJECT

 private slots:
  void captionIsDrawnAtDevicePixels() {
    QWidget window;
    window.resize(200, 60);
    Glimmet* g = CreateGlimmet(&window, "btnSend", {{"btype", 3}, {"tx", "Send"}});
    g->setGeometry(10, 10, 80, 24);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(g->devicePixelRatioF(), 2.0);
    const QImage shown = g->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(160, 48));
    QCOMPARE(shown, g->Surface().convertToFormat(QImage::Format_RGB32));

    // The "Windows XP" frame RGB(0,60,115) covers the 2 x 2 block of each of
    // its pixels, and the corner RGB(16,77,123) the block at (1, 1).
    for (QPoint at : {QPoint(4, 0), QPoint(4, 1), QPoint(0, 20), QPoint(159, 20), QPoint(80, 47)})
      QCOMPARE(QColor(shown.pixel(at)), QColor(0, 60, 115));
    for (QPoint at : {QPoint(2, 2), QPoint(3, 3)})
      QCOMPARE(QColor(shown.pixel(at)), QColor(16, 77, 123));

    // A caption enlarged from scale 1 would be uniform in every aligned 2 x 2
    // block; one drawn at device pixels has edges inside the blocks.
    const QRect caption = g->CaptionRect().ToQRect();
    int split = 0;
    for (int y = caption.top(); y < caption.bottom(); ++y)
      for (int x = caption.left(); x < caption.right(); ++x) {
        const QRgb p = shown.pixel(2 * x, 2 * y);
        if (shown.pixel(2 * x + 1, 2 * y) != p || shown.pixel(2 * x, 2 * y + 1) != p ||
            shown.pixel(2 * x + 1, 2 * y + 1) != p)
          ++split;
      }
    QVERIFY2(split > 10, qPrintable(QString("%1 split blocks").arg(split)));
  }
};

// The scale is set here, not by the caller: Wine passes no QT_* variable on.
int main(int argc, char* argv[]) {
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  ScaleTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "glimmet_scale_test.moc"
