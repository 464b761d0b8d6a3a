// Geometry and access keys: focus insets, window shapes,
// caption layout with word breaking, picture placement.
#include "glimmet_geometry.h"

#include <QFontMetrics>
#include <QTest>

#include "glimmet.h"

using namespace glimmet;

class GeometryTest : public QObject {
  Q_OBJECT

  static QFont TestFont() {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(12);
    return f;
  }

 private slots:
  void focusInsets() {
    QCOMPARE(FocusRectFor(2, 100, 30), (GlimmetRect{4, 4, 96, 26}));
    QCOMPARE(FocusRectFor(3, 100, 30), (GlimmetRect{4, 4, 96, 26}));
    for (int type = 7; type <= 13; ++type)
      QCOMPARE(FocusRectFor(type, 100, 30), (GlimmetRect{3, 3, 97, 27}));
    QCOMPARE(FocusRectFor(14, 100, 30), (GlimmetRect{6, 6, 96, 26}));
    QCOMPARE(FocusRectFor(99, 100, 30), (GlimmetRect{4, 4, 96, 26}));
  }

  void regions() {
    const int w = 40, h = 20;
    QCOMPARE(BuildRegion(2, w, h), QRegion(0, 0, w, h));
    QCOMPARE(BuildRegion(9, w, h), QRegion(0, 0, w, h));
    const QRegion r1 = BuildRegion(1, w, h);
    for (QPoint p : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
      QVERIFY(!r1.contains(p));
    QVERIFY(r1.contains(QPoint(1, 0)) && r1.contains(QPoint(0, 1)));
    QCOMPARE(BuildRegion(14, w, h), r1);
    const QRegion r5 = BuildRegion(5, w, h);
    QVERIFY(!r5.contains(QPoint(0, h - 1)) && !r5.contains(QPoint(w - 1, 0)));
    QVERIFY(r5.contains(QPoint(0, 0)) && r5.contains(QPoint(w - 1, h - 1)));
    // XP and Mac: three pixels off each corner.
    const QRegion r3 = BuildRegion(3, w, h);
    QCOMPARE(BuildRegion(4, w, h), r3);
    int missing = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) missing += r3.contains(QPoint(x, y)) ? 0 : 1;
    QCOMPARE(missing, 12);
    for (QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(w - 2, 0), QPoint(w - 1, 0),
                     QPoint(w - 1, 1), QPoint(0, h - 1), QPoint(1, h - 1), QPoint(0, h - 2),
                     QPoint(w - 2, h - 1), QPoint(w - 1, h - 1), QPoint(w - 1, h - 2)})
      QVERIFY(!r3.contains(p));
    QVERIFY(r3.contains(QPoint(1, 1)) && r3.contains(QPoint(2, 0)));
  }

  void ovalRegionIsTheInscribedEllipse() {
    const QRegion r = BuildRegion(13, 60, 20);
    QVERIFY(r.contains(QPoint(30, 10)));
    QVERIFY(r.contains(QPoint(30, 0)) && r.contains(QPoint(30, 19)));
    QVERIFY(r.contains(QPoint(0, 10)) && r.contains(QPoint(59, 10)));
    for (QPoint p : {QPoint(0, 0), QPoint(59, 0), QPoint(0, 19), QPoint(59, 19), QPoint(5, 2)})
      QVERIFY(!r.contains(p));
    // Points are inside exactly when they satisfy the ellipse equation (allowing the rim).
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 60; ++x) {
        const double e = std::pow((x + 0.5 - 30) / 30.0, 2) + std::pow((y + 0.5 - 10) / 10.0, 2);
        if (e < 0.8) QVERIFY(r.contains(QPoint(x, y)));
        if (e > 1.2) QVERIFY(!r.contains(QPoint(x, y)));
      }
  }

  void captionCentredAndMeasured() {
    const QFont f = TestFont();
    const QFontMetrics fm(f);
    const int tw = fm.horizontalAdvance("Save"), th = fm.height();
    const CaptionLayout l = LayoutCaption("&Save", f, 120, 32, 0, 0, 0, {});
    QCOMPARE(l.start.left, 1);
    QCOMPARE(l.start.top, 1);
    QVERIFY(qAbs(l.textWidth - tw) <= 1);
    QCOMPARE(l.textHeight, th);
    // R = (1, 1, 1 + tw, 1 + th); dx = (120 - R.right) / 2, dy = (32 - R.bottom) / 2.
    const int right = 1 + l.textWidth, bottom = 1 + l.textHeight;
    const GlimmetRect expected{1 + (120 - right) / 2, 1 + (32 - bottom) / 2,
                               right + (120 - right) / 2, bottom + (32 - bottom) / 2};
    QCOMPARE(l.captionRect, expected);
    QCOMPARE(l.pressedCaptionRect, (GlimmetRect{expected.left + 1, expected.top + 1,
                                                expected.right + 1, expected.bottom + 1}));
  }

  void captionBreaksWords() {
    const QFont f = TestFont();
    const QFontMetrics fm(f);
    const CaptionLayout wide = LayoutCaption("Load Payin", f, 200, 60, 4, 0, 0, {});
    QCOMPARE(wide.textHeight, fm.height());
    // Too narrow for both words: two lines, as wide as the wider word.
    const int narrow = fm.horizontalAdvance("Payin") + 8;
    const CaptionLayout l = LayoutCaption("Load Payin", f, narrow, 60, 4, 0, 0, {});
    QCOMPARE(l.textHeight, 2 * fm.height());
    QVERIFY(l.textWidth <= narrow - 3);
    QVERIFY(l.textWidth >= fm.horizontalAdvance("Payin") - 1);
  }

  void pictureShiftsTheCaption() {
    const QFont f = TestFont();
    // cbLeft: R starts right of the picture; the picture sits left of the caption.
    CaptionLayout l = LayoutCaption("Save", f, 120, 32, 0, 16, 16, {});
    QCOMPARE(l.start, (GlimmetRect{17, 1, 118, 30}));
    QPoint at = PlacePicture("Save", 0, l.captionRect, 120, 32, 16, 16);
    QCOMPARE(at, QPoint(l.captionRect.left - 20, 8));
    // cbRight.
    l = LayoutCaption("Save", f, 120, 32, 1, 16, 16, {});
    QCOMPARE(l.start, (GlimmetRect{1, 1, 102, 30}));
    const int right = 1 + l.textWidth;
    QCOMPARE(l.captionRect.left, 1 + (120 - right - 16 - 4) / 2);
    QCOMPARE(PlacePicture("Save", 1, l.captionRect, 120, 32, 16, 16),
             QPoint(l.captionRect.right + 4, 8));
    // cbTop and cbBottom.
    l = LayoutCaption("Save", f, 80, 60, 2, 16, 16, {});
    QCOMPARE(PlacePicture("Save", 2, l.captionRect, 80, 60, 16, 16),
             QPoint(32, l.captionRect.top - 18));
    l = LayoutCaption("Save", f, 80, 60, 3, 16, 16, {});
    QCOMPARE(l.captionRect.top, 1 + (60 - (1 + l.textHeight) - 16 - 4) / 2);
    QCOMPARE(PlacePicture("Save", 3, l.captionRect, 80, 60, 16, 16),
             QPoint(32, l.captionRect.bottom + 2));
    // A position outside the enumeration keeps the previous R.
    const GlimmetRect previous{5, 6, 50, 20};
    QCOMPARE(LayoutCaption("Save", f, 80, 60, 9, 16, 16, previous).start, previous);
  }

  void emptyCaptionCentresThePicture() {
    for (int position = 0; position <= 4; ++position) {
      QCOMPARE(PlacePicture("", position, {}, 120, 32, 16, 16), QPoint(52, 8));
      QCOMPARE(PlacePicture("   ", position, {}, 120, 32, 16, 16), QPoint(52, 8));
    }
    QCOMPARE(PlacePicture("Save", 4, {}, 121, 33, 16, 16), QPoint(52, 8));
  }

  void accessKeys_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::newRow("&Save") << "&Save"
                           << "s";
    QTest::newRow("Save && Exit") << "Save && Exit"
                                  << "";
    QTest::newRow("A && &B") << "A && &B"
                             << "b";
    QTest::newRow("A&&B") << "A&&B"
                          << "";
    QTest::newRow("X&") << "X&"
                        << "";
    QTest::newRow("E&xit") << "E&xit"
                           << "x";
    QTest::newRow("&") << "&"
                       << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("no ampersand") << "Save"
                                  << "";
    QTest::newRow("&&&") << "&&&"
                         << "";
    QTest::newRow("A&&&B") << "A&&&B"
                           << "b";
    QTest::newRow("&&x&") << "&&x&"
                          << "";
    QTest::newRow("a&&b&c&d") << "a&&b&c&d"
                              << "c";
    QTest::newRow("&&a&&&b") << "&&a&&&b"
                             << "";
  }
  void accessKeys() {
    QFETCH(QString, caption);
    QFETCH(QString, key);
    QCOMPARE(AccessKeyOf(caption), key);
    Glimmet g;
    g.SetCaption(caption);
    QCOMPARE(g.AccessKeys(), key);
  }
};

QTEST_MAIN(GeometryTest)
#include "glimmet_geometry_test.moc"
