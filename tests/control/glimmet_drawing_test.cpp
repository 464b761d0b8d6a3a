// Pixels of rendered buttons and the compositor: pixels of rendered buttons, with
// the expected colours computed here from the drawing formulas.
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTest>
#include <cmath>

#include "glimmet.h"
#include "glimmet_blit.h"

using namespace glimmet;

namespace {

// ShiftColor, written out again for the expectations.
QColor Shifted(QColor c, int a, bool blue) {
  auto clampTo = [a](int v) { return a > 0 ? std::min(v, 255) : a < 0 ? std::max(v, 0) : v; };
  const int b = blue ? c.blue() + (c.blue() * a) / 192 : c.blue() + a;
  return QColor(clampTo(c.red() + a), clampTo(c.green() + a), clampTo(b));
}

// "Force Standard": a palette that does not depend on the machine.
const QColor kFace(192, 192, 192), kShadow(128, 128, 128), kLight(223, 223, 223), kDark(0, 0, 0),
    kHigh(255, 255, 255);
const QColor kX(240, 240, 240);  // XpFaceColor = Shift(face, +48, blue proportional)

}  // namespace

class DrawingTest : public QObject {
  Q_OBJECT

  QWidget* form_ = nullptr;

  Glimmet* Make(int type, int w, int h, GlimmetPropertyBag bag = {}) {
    bag.WriteProperty("btype", type);
    if (!bag.Contains("coltype")) bag.WriteProperty("coltype", 3);
    if (!bag.Contains("tx")) bag.WriteProperty("tx", "");
    Glimmet* g = CreateGlimmet(form_, "btn", bag);
    g->setGeometry(10, 10, w, h);
    g->show();
    return g;
  }
  static QColor At(Glimmet* g, int x, int y) { return QColor(g->Surface().pixel(x, y)); }
  void Hover(Glimmet* g) {
    QCursor::setPos(g->mapToGlobal(QPoint(g->width() / 2, g->height() / 2)));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), g->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(g, &move);
    QVERIFY(g->IsHovering());
  }
  static void Focus(Glimmet* g) {
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(g, &in);
  }

 private slots:
  void init() {
    form_ = new QWidget;
    form_->resize(400, 200);
    form_->show();
    QCursor::setPos(form_->mapToGlobal(QPoint(390, 190)));
  }
  void cleanup() {
    delete form_;
    form_ = nullptr;
  }

  void windowsXpUp() {
    const int w = 60, h = 24;
    Glimmet* g = Make(3, w, h);
    QCOMPARE(g->Palette().XpFaceColor, Rgb(240, 240, 240));
    for (QPoint p : {QPoint(5, 0), QPoint(0, 10), QPoint(w - 1, 10), QPoint(5, h - 1)})
      QCOMPARE(At(g, p.x(), p.y()), QColor(0, 60, 115));
    for (QPoint p : {QPoint(1, 1), QPoint(1, h - 2), QPoint(w - 2, 1), QPoint(w - 2, h - 2)})
      QCOMPARE(At(g, p.x(), p.y()), QColor(16, 77, 123));
    // Gradient rows: Shift(X, -(25 / H) * y rounded to even), blue proportional.
    const float step = 25.0f / h;
    for (int y = 3; y <= h - 4; ++y) {
      const int a = static_cast<int>(std::nearbyint(-step * static_cast<float>(y)));
      QCOMPARE(At(g, 20, y), Shifted(kX, a, true));
      QCOMPARE(At(g, w - 5, y), Shifted(kX, a, true));
    }
    // The plain shaded edges.
    QCOMPARE(At(g, 10, h - 2), Shifted(kX, -48, true));
    QCOMPARE(At(g, 10, h - 3), Shifted(kX, -32, true));
    QCOMPARE(At(g, w - 2, 10), Shifted(kX, -36, true));
    QCOMPARE(At(g, w - 3, 10), Shifted(kX, -24, true));
    QCOMPARE(At(g, 10, 1), Shifted(kX, 16, true));
    QCOMPARE(At(g, 10, 2), Shifted(kX, 10, true));
    QCOMPARE(At(g, 1, 10), Shifted(kX, -5, true));
    QCOMPARE(At(g, 2, 10), Shifted(kX, -10, true));
    // The window shape cuts three pixels off each corner.
    QVERIFY(!g->ButtonRegion().contains(QPoint(1, 0)));
    QVERIFY(g->ButtonRegion().contains(QPoint(1, 1)));
  }

  void windowsXpRings() {
    const int w = 60, h = 24;
    Glimmet* g = Make(3, w, h);
    Hover(g);
    QCOMPARE(At(g, 1, 10), QColor(255, 178, 49));
    QCOMPARE(At(g, w - 2, 10), QColor(255, 178, 49));
    QCOMPARE(At(g, 10, h - 3), QColor(255, 178, 49));
    QCOMPARE(At(g, 10, h - 2), QColor(231, 150, 0));
    QCOMPARE(At(g, 10, 1), QColor(255, 243, 206));
    QCOMPARE(At(g, 10, 2), QColor(255, 219, 140));
    QCOMPARE(At(g, 2, 10), QColor(255, 203, 107));
    QCOMPARE(At(g, w - 3, 10), QColor(255, 203, 107));
    QCOMPARE(At(g, 0, 10), QColor(0, 60, 115));

    Glimmet* f = Make(3, w, h);
    Focus(f);
    QCOMPARE(At(f, 1, 10), QColor(140, 174, 231));
    QCOMPARE(At(f, 10, h - 2), QColor(107, 130, 239));
    QCOMPARE(At(f, 10, 1), QColor(206, 231, 255));
    QCOMPARE(At(f, 10, 2), QColor(189, 215, 247));
    QCOMPARE(At(f, 2, 10), QColor(181, 209, 240));
    QCOMPARE(At(f, w - 3, 10), QColor(181, 209, 240));
    // No focus rectangle without ShowFocusRect: the plain edges.
    f->SetShowFocusRect(false);
    QCOMPARE(At(f, 1, 10), Shifted(kX, -5, true));
    // The default button wears that ring without the focus; with it, the
    // dotted rectangle shows the focus too.
    Glimmet* d = Make(3, w, h);
    d->SetDisplayAsDefault(true);
    const GlimmetRect fr = d->FocusRect();
    auto topEdge = [&] {
      QList<QColor> line;
      for (int x = fr.left; x < fr.right; ++x) line << At(d, x, fr.top);
      return line;
    };
    const QList<QColor> unfocused = topEdge();
    QCOMPARE(At(d, 1, 10), QColor(140, 174, 231));
    Focus(d);
    QCOMPARE(At(d, 1, 10), QColor(140, 174, 231));
    const QList<QColor> focused = topEdge();
    int dots = 0;
    for (int i = 0; i < focused.size(); ++i) dots += focused[i] != unfocused[i] ? 1 : 0;
    QCOMPARE(dots, (fr.right - fr.left + 1) / 2);
  }

  void windowsXpDownAndDisabled() {
    const int w = 60, h = 24;
    Glimmet* g = Make(3, w, h);
    g->Redraw(2, false);
    const QColor d = Shifted(kX, -32, true);
    const float step = 25.0f / h;
    for (int y = 3; y <= h - 4; ++y) {
      const int r = h - y;
      const int a = static_cast<int>(std::nearbyint(-step * static_cast<float>(r)));
      QCOMPARE(At(g, 20, y), Shifted(d, a, true));
    }
    QCOMPARE(At(g, 5, 0), QColor(0, 60, 115));
    QCOMPARE(At(g, 1, 1), QColor(16, 77, 123));
    QCOMPARE(At(g, 10, h - 2), Shifted(d, 16, true));
    QCOMPARE(At(g, 10, h - 3), Shifted(d, 10, true));
    QCOMPARE(At(g, w - 2, 10), Shifted(d, 5, true));
    QCOMPARE(At(g, w - 3, 10), kX);
    QCOMPARE(At(g, 10, 1), Shifted(d, -32, true));
    QCOMPARE(At(g, 10, 2), Shifted(d, -24, true));
    QCOMPARE(At(g, 1, 10), Shifted(d, -32, true));
    QCOMPARE(At(g, 2, 10), Shifted(d, -22, true));

    g->SetEnabled(false);
    QCOMPARE(At(g, 20, 10), Shifted(kX, -24, true));
    QCOMPARE(At(g, 5, 0), Shifted(kX, -84, true));
    QCOMPARE(At(g, 0, 10), Shifted(kX, -84, true));
    QCOMPARE(At(g, 1, 1), Shifted(kX, -72, true));
    QCOMPARE(At(g, w - 2, h - 2), Shifted(kX, -72, true));
  }

  void softBevelHalvesTheGradient() {
    const int h = 24;
    Glimmet* g = Make(3, 60, h, {{"soft", true}});
    const QColor x = Shifted(kFace, 24, true);  // +48 halved
    QCOMPARE(At(g, 10, 2), Shifted(x, 10 / 2, true));
    const float step = 25.0f / h;
    const int a = static_cast<int>(std::nearbyint(-step * 12.0f));
    QCOMPARE(At(g, 20, 12), Shifted(x, a / 2, true));
  }

  void windows16Bevel() {
    const int w = 40, h = 20, r = w - 2, b = h - 2;
    Glimmet* g = Make(1, w, h);
    QCOMPARE(At(g, 0, 5), kDark);
    QCOMPARE(At(g, 5, 0), kDark);
    QCOMPARE(At(g, 1, 5), kHigh);
    QCOMPARE(At(g, 5, 1), kHigh);
    QCOMPARE(At(g, r, 5), kShadow);
    QCOMPARE(At(g, 5, b), kShadow);
    QCOMPARE(At(g, 1, b), kShadow);  // step 2 overwrites (e, B)
    QCOMPARE(At(g, 2, 5), kHigh);
    QCOMPARE(At(g, 5, 2), kHigh);
    QCOMPARE(At(g, r - 1, 5), kShadow);
    QCOMPARE(At(g, 5, b - 1), kShadow);
    QCOMPARE(At(g, 3, 5), kFace);
    g->Redraw(2, false);
    QCOMPARE(At(g, 1, 5), kShadow);
    QCOMPARE(At(g, r, 5), kHigh);
    QCOMPARE(At(g, 1, b), kHigh);
    QCOMPARE(At(g, 0, 5), kDark);
  }

  void windows32Bevel() {
    const int w = 40, h = 20;
    Glimmet* g = Make(2, w, h);
    QCOMPARE(At(g, 0, 5), kHigh);
    QCOMPARE(At(g, 5, 0), kHigh);
    QCOMPARE(At(g, w - 1, 5), kDark);
    QCOMPARE(At(g, 5, h - 1), kDark);
    QCOMPARE(At(g, 0, h - 1), kDark);
    QCOMPARE(At(g, 1, 5), kLight);
    QCOMPARE(At(g, 5, 1), kLight);
    QCOMPARE(At(g, w - 2, 5), kShadow);
    QCOMPARE(At(g, 5, h - 2), kShadow);
    QCOMPARE(At(g, 1, h - 2), kShadow);
    QCOMPARE(At(g, 2, 5), kFace);
    g->Redraw(2, false);  // down: DarkShadow, Highlight, Shadow, Light
    QCOMPARE(At(g, 0, 5), kDark);
    QCOMPARE(At(g, w - 1, 5), kHigh);
    QCOMPARE(At(g, 1, 5), kShadow);
    QCOMPARE(At(g, w - 2, 5), kLight);
    // Focus alone is not the default button: the plain bevel, no dotted rectangle.
    g->Redraw(0, false);
    Focus(g);
    QCOMPARE(At(g, 0, 5), kHigh);
    QCOMPARE(At(g, 1, 5), kLight);
    QCOMPARE(At(g, 4, 4), kFace);
    // Marked as the container's default: inset bevel, black frame, dotted focus.
    g->SetDisplayAsDefault(true);
    QCOMPARE(At(g, 0, 5), kDark);
    QCOMPARE(At(g, 1, 5), kHigh);
    QCOMPARE(At(g, w - 2, 5), kDark);
    QCOMPARE(At(g, 2, 5), kLight);
    const GlimmetRect fr = g->FocusRect();
    QCOMPARE(fr, (GlimmetRect{4, 4, w - 4, h - 4}));
    int dots = 0;
    for (int x = fr.left; x < fr.right; ++x) dots += At(g, x, fr.top) != kFace ? 1 : 0;
    QCOMPARE(dots, (fr.right - fr.left + 1) / 2);
    g->Redraw(2, false);  // down and default: two frames
    QCOMPARE(At(g, 0, 5), kDark);
    QCOMPARE(At(g, 1, 5), kShadow);
    QCOMPARE(At(g, w - 2, 5), kShadow);
    // Disabled: the plain bevel.
    g->SetEnabled(false);
    QCOMPARE(At(g, 0, 5), kHigh);
    QCOMPARE(At(g, w - 1, 5), kDark);
  }

  void simpleFlatBevel() {
    const int w = 40, h = 20;
    Glimmet* g = Make(7, w, h);
    QCOMPARE(At(g, 0, 5), kHigh);
    QCOMPARE(At(g, 5, 0), kHigh);
    QCOMPARE(At(g, w - 1, 5), kShadow);
    QCOMPARE(At(g, 5, h - 1), kShadow);
    QCOMPARE(At(g, 1, 5), kFace);  // outer only
    QCOMPARE(At(g, w - 2, 5), kFace);
    g->Redraw(2, false);
    QCOMPARE(At(g, 0, 5), kShadow);
    QCOMPARE(At(g, w - 1, 5), kHigh);
  }

  void ovalFlat() {
    const int w = 60, h = 24;
    Glimmet* g = Make(13, w, h);
    QVERIFY(!g->ButtonRegion().contains(QPoint(0, 0)));
    QVERIFY(!g->ButtonRegion().contains(QPoint(w - 1, h - 1)));
    QVERIFY(g->ButtonRegion().contains(QPoint(w / 2, h / 2)));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) QCOMPARE(At(g, x, y), kFace);  // up: pen and fill in Face
    g->Redraw(2, false);
    QCOMPARE(At(g, w / 2, h / 2), Shifted(kFace, -32, false));
    QCOMPARE(At(g, w / 2, 1), kDark);
    QCOMPARE(At(g, w / 2, h - 2), kDark);
    QCOMPARE(At(g, 2, 2), kFace);  // outside the ellipse
  }

  void outOfRangeStylePaintsFaceOnly() {
    for (int type : {10, 0, 15, -3}) {
      Glimmet* g = Make(type, 40, 20, {{"tx", "Text"}});
      for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) QCOMPARE(At(g, x, y), kFace);
    }
  }

  void captionInTextColour() {
    Glimmet* g = Make(2, 80, 24, {{"tx", "Save"}});
    const QRect caption = g->CaptionRect().ToQRect();
    int dark = 0, outside = 0;
    for (int y = 2; y < 22; ++y)
      for (int x = 2; x < 78; ++x) {
        const QColor c = At(g, x, y);
        if (c.red() + c.green() + c.blue() < 150)
          (caption.adjusted(-1, -1, 1, 1).contains(x, y) ? dark : outside)++;
      }
    QVERIFY(dark > 10);
    QCOMPARE(outside, 0);
    // Disabled: embossed grey (caption style 3), no black.
    g->SetEnabled(false);
    QCOMPARE(g->CaptionStyle(), 3);
    for (int y = 2; y < 22; ++y)
      for (int x = 2; x < 78; ++x) QVERIFY(At(g, x, y) != kDark);
  }

  void pictures() {
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    red.setPixelColor(0, 0, QColor(192, 192, 192));  // mask colour
    const int w = 40, h = 20, px = (w - 4) / 2, py = (h - 4) / 2;
    // Windows XP disabled: greyscale moved by (1, 1); grey of red is 76.
    Glimmet* xp = Make(3, w, h, {{"picn", red}});
    QCOMPARE(xp->PictureRect(), QRect(px, py, 4, 4));
    QVERIFY(At(xp, px, py) != QColor(192, 192, 192));  // the mask colour is not drawn
    QCOMPARE(At(xp, px + 2, py + 2), QColor(255, 0, 0));
    xp->SetEnabled(false);
    QCOMPARE(At(xp, px + 2, py + 2), QColor(76, 76, 76));
    QCOMPARE(At(xp, px + 1, py + 1), Shifted(kX, -24, true));  // the masked corner
    QCOMPARE(At(xp, px, py + 2), Shifted(kX, -24, true));
    // Windows 16 disabled: dark silhouette in Highlight at (1, 1), then Shadow at (0, 0).
    Glimmet* w16 = Make(1, w, h, {{"picn", red}});
    w16->SetEnabled(false);
    QCOMPARE(At(w16, px + 1, py + 1), kShadow);
    QCOMPARE(At(w16, px + 4, py + 4), kHigh);
    QCOMPARE(At(w16, px, py), kFace);
    // Mask colour off: the grey corner is drawn too.
    Glimmet* plain = Make(2, w, h, {{"picn", red}, {"umcol", false}});
    QCOMPARE(At(plain, px, py), QColor(192, 192, 192));
    plain->SetMaskColor(Rgb(255, 0, 0));
    plain->SetUseMaskColor(true);
    QCOMPARE(At(plain, px + 2, py + 2), kFace);  // now red is the mask
    QCOMPARE(At(plain, px, py), QColor(192, 192, 192));
    // Greyscale when up, and the picture moved by (1, 1) when down.
    Glimmet* grey = Make(2, w, h, {{"picn", red}, {"ngrey", true}});
    QCOMPARE(At(grey, px + 2, py + 2), QColor(76, 76, 76));
    grey->Redraw(2, false);
    QCOMPARE(At(grey, px + 4, py + 4), QColor(255, 0, 0));
    QCOMPARE(At(grey, px + 1, py + 1), kFace);  // the masked corner
    QCOMPARE(At(grey, px, py + 2), kFace);
  }

  void blitPicture() {
    QImage source(5, 1, QImage::Format_RGB32);
    const QColor colours[] = {QColor(192, 192, 192), QColor(255, 0, 0), QColor(50, 50, 50),
                              QColor(250, 250, 250), QColor(128, 128, 129)};
    for (int i = 0; i < 5; ++i) source.setPixelColor(i, 0, colours[i]);
    auto run = [&](BlitOptions o, int x = 0) {
      QImage surface(5, 1, QImage::Format_RGB32);
      surface.fill(QColor(0, 0, 255));
      BlitPicture(surface, x, 0, 5, 1, source, o);
      QList<QColor> out;
      for (int i = 0; i < 5; ++i) out << surface.pixelColor(i, 0);
      return out;
    };
    const QColor blue(0, 0, 255), green(0, 255, 0);
    BlitOptions o;
    QCOMPARE(run(o), (QList<QColor>{blue, colours[1], colours[2], colours[3], colours[4]}));
    o.useMaskColor = false;
    QCOMPARE(run(o)[0], colours[0]);
    o = {};
    o.colour = Rgb(0, 255, 0);
    QCOMPARE(run(o), (QList<QColor>{blue, green, green, green, green}));
    o.darkOnly = true;  // R+G+B above 384 keeps the destination: 750 and 385
    QCOMPARE(run(o), (QList<QColor>{blue, green, green, blue, blue}));
    o = {};
    o.greyscale = true;  // 0.3*128 = 38.4 -> 38; 38 + 75.52 + 14.19 = 127.71 -> 128
    QCOMPARE(run(o), (QList<QColor>{blue, QColor(76, 76, 76), QColor(50, 50, 50),
                                    QColor(250, 250, 250), QColor(128, 128, 128)}));
    o = {};
    o.fade = true;  // (2 * source + destination) / 3
    QCOMPARE(run(o)[1], QColor(170, 0, 85));
    QCOMPARE(run(o)[2], QColor(33, 33, 118));
    o = {};
    QCOMPARE(run(o, -2), (QList<QColor>{colours[2], colours[3], colours[4], blue, blue}));
    QImage surface(5, 1, QImage::Format_RGB32);
    surface.fill(Qt::blue);
    BlitPicture(surface, 0, 0, 0, 1, source, {});
    QCOMPARE(surface.pixelColor(1, 0), blue);
  }

  void iconIsDrawnOnTheMaskColour() {
    QImage withAlpha(6, 6, QImage::Format_ARGB32);
    withAlpha.fill(Qt::transparent);
    withAlpha.setPixelColor(3, 3, QColor(0, 0, 200));
    const QImage source = PictureSource(withAlpha, 6, 6, Rgb(192, 192, 192));
    QCOMPARE(source.pixelColor(0, 0), QColor(192, 192, 192));
    QCOMPARE(source.pixelColor(3, 3), QColor(0, 0, 200));
  }

  void checkBoxValuePaintsDown() {
    Glimmet* g = Make(2, 40, 20);
    g->SetCheckBoxBehaviour(true);
    g->SetValue(true);
    QCOMPARE(g->DrawState(), 2);
    QCOMPARE(At(g, 0, 5), kDark);
    g->Redraw(0, true);
    QCOMPARE(g->DrawState(), 2);
    g->SetValue(false);
    QCOMPARE(g->DrawState(), 0);
  }

  void repaintOnlyWhenSomethingChanged() {
    Glimmet* g = Make(3, 40, 20);
    const qint64 key = g->Surface().cacheKey();
    g->Redraw(0, false);
    g->Redraw(0, false);
    QCOMPARE(g->Surface().cacheKey(), key);
    g->Redraw(0, true);
    QVERIFY(g->Surface().cacheKey() != key);
  }

  void customHoverSwapsBackOverForOnePaint() {
    Glimmet* g =
        Make(7, 40, 20, {{"coltype", 2}, {"bcol", Rgb(10, 20, 30)}, {"bcolo", Rgb(200, 100, 50)}});
    QCOMPARE(At(g, 10, 10), QColor(10, 20, 30));
    Hover(g);
    QCOMPARE(At(g, 10, 10), QColor(200, 100, 50));
    QCOMPARE(g->BackColor(), Rgb(10, 20, 30));
    QCOMPARE(g->Palette().FaceColor, Rgb(10, 20, 30));
  }

  void useWindowsIgnoresBackColor() {
    Glimmet* g = Make(7, 40, 20, {{"coltype", 1}});
    const QImage before = g->Surface().copy();
    g->SetBackColor(Rgb(1, 2, 3));
    QCOMPARE(g->Surface(), before);
  }

  void transparentShowsTheParent() {
    QPalette p = form_->palette();
    p.setColor(QPalette::Window, QColor(200, 30, 40));
    form_->setPalette(p);
    form_->setAutoFillBackground(true);
    Glimmet* g = Make(11, 40, 20);
    QCOMPARE(At(g, 20, 10), QColor(200, 30, 40));
    QCOMPARE(At(g, 0, 0), QColor(200, 30, 40));
  }

  void everyStyleInEveryLookDrawsItsFrame() {
    // Each style's down look differs from its up look, and disabled differs
    // from up, except where the design draws them alike.
    for (const auto& [name, type] : Glimmet::EnumMembers("ButtonTypes")) {
      Glimmet* g = Make(type, 60, 24, {{"tx", "Go"}});
      const QImage up = g->Surface().copy();
      g->Redraw(2, false);
      const QImage down = g->Surface().copy();
      g->SetEnabled(false);
      const QImage disabled = g->Surface().copy();
      QVERIFY2(up != down, qPrintable(name));
      QVERIFY2(up != disabled, qPrintable(name));
      delete g;
    }
  }
};

QTEST_MAIN(DrawingTest)
#include "glimmet_drawing_test.moc"
