// Draws a sheet of every Glimmet style in every look (up, hovered, down,
// disabled, focused; without and with a picture) for each colour scheme, and
// saves it as a PNG. A tool of the project: run it (offscreen or under
// xvfb-run) and look at the result.
//
//   glimmet_gallery OUTPUT.png [scheme ...]     schemes 1 to 4, all by default
//
// Any screen size does: the rows are drawn one after the other on the screen.
#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "glimmet.h"

namespace {

constexpr int kW = 96, kH = 28, kGapX = 8, kGapY = 8, kLabelW = 120, kHeaderH = 22;
const char* kLooks[] = {"up", "hovered", "down", "disabled", "focused"};

// The sheet the buttons stand on: a pattern, so "Transparent" shows its capture.
class Sheet : public QWidget {
 public:
  using QWidget::QWidget;
  static void PaintPattern(QPainter& p, const QRect& r) {
    p.fillRect(r, QColor(236, 233, 216));
    p.setPen(QColor(214, 208, 190));
    for (int x = r.left() - r.height(); x < r.right(); x += 6)
      p.drawLine(x, r.bottom(), x + r.height(), r.top());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    PaintPattern(p, rect());
  }
};

// A 16 x 16 bitmap on the mask colour: a green disc with a dark rim and a light spot.
QImage TestPicture() {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(QColor(192, 192, 192));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const int dx = 2 * x - 15, dy = 2 * y - 15, r2 = dx * dx + dy * dy;
      if (r2 <= 196) image.setPixelColor(x, y, QColor(0, 90, 20));
      if (r2 <= 144) image.setPixelColor(x, y, QColor(40, 170, 60));
      if ((x - 5) * (x - 5) + (y - 5) * (y - 5) <= 3)
        image.setPixelColor(x, y, QColor(230, 255, 230));
    }
  return image;
}

void Drive(Glimmet* b, int look) {
  switch (look) {
    case 1: {  // hovered: the cursor over the button, then a move without buttons
      QCursor::setPos(b->mapToGlobal(QPoint(kW / 2, kH / 2)));
      QMouseEvent move(QEvent::MouseMove, QPointF(kW / 2, kH / 2),
                       b->mapToGlobal(QPointF(kW / 2, kH / 2)), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
      QApplication::sendEvent(b, &move);
      break;
    }
    case 2: {
      QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), b->mapToGlobal(QPointF(5, 5)),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(b, &press);
      break;
    }
    case 3:
      b->SetEnabled(false);
      break;
    case 4: {
      QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
      QApplication::sendEvent(b, &in);
      break;
    }
    default:
      break;
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString output =
      argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("glimmet-gallery.png");
  QList<int> schemes;
  for (int i = 2; i < argc; ++i) schemes << QString::fromLocal8Bit(argv[i]).toInt();
  if (schemes.isEmpty()) schemes = {1, 2, 3, 4};

  const auto types = Glimmet::EnumMembers(QStringLiteral("ButtonTypes"));
  const int cols = 10, rowsPerScheme = static_cast<int>(types.size());
  const int sheetW = kLabelW + cols * (kW + kGapX) + kGapX;
  const int sheetH = static_cast<int>(schemes.size()) * (kHeaderH + rowsPerScheme * (kH + kGapY)) +
                     kHeaderH + kGapY;

  Sheet sheet;
  sheet.resize(sheetW, sheetH);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(11);
  sheet.setFont(font);
  sheet.show();
  QApplication::processEvents();

  QImage out(sheetW, sheetH, QImage::Format_RGB32);
  QPainter p(&out);
  Sheet::PaintPattern(p, out.rect());
  p.setFont(font);
  p.setPen(Qt::black);
  for (int c = 0; c < cols; ++c)
    p.drawText(QRect(kLabelW + kGapX + c * (kW + kGapX), 2, kW, kHeaderH), Qt::AlignCenter,
               QString::fromLatin1(kLooks[c % 5]) + (c >= 5 ? " +pic" : ""));

  const QImage picture = TestPicture();
  int top = kHeaderH;
  for (int scheme : schemes) {
    QFont bold = font;
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(QRect(4, top, sheetW, kHeaderH), Qt::AlignVCenter,
               "ColorScheme " + Glimmet::EnumMemberName("ColorTypes", scheme));
    p.setFont(font);
    top += kHeaderH;
    for (int row = 0; row < rowsPerScheme; ++row) {
      const int y = top + row * (kH + kGapY);
      // The sheet is taller than most screens: it is moved up so that the row
      // being drawn stands on the screen, where the cursor can hover over it.
      sheet.move(0, -std::max(0, y - kHeaderH));
      QApplication::processEvents();
      p.drawText(QRect(4, y, kLabelW, kH), Qt::AlignVCenter, types[row].first);
      for (int c = 0; c < cols; ++c) {
        const int x = kLabelW + kGapX + c * (kW + kGapX);
        GlimmetPropertyBag bag{{"btype", types[row].second},
                               {"tx", "&Save"},
                               {"coltype", scheme},
                               {"bcol", QColor(90, 130, 200)},
                               {"bcolo", QColor(120, 170, 235)},
                               {"fcol", QColor(255, 255, 255)},
                               {"fcolo", QColor(255, 240, 120)}};
        if (c >= 5) bag.WriteProperty("picn", picture);
        Glimmet* b = CreateGlimmet(&sheet, QStringLiteral("btn"), bag);
        b->setGeometry(x, y, kW, kH);
        b->show();
        Drive(b, c % 5);
        p.save();
        p.setClipRegion(b->ButtonRegion().translated(x, y));
        p.drawImage(x, y, b->Surface());
        p.restore();
        delete b;
      }
    }
    top += rowsPerScheme * (kH + kGapY);
  }
  p.end();
  if (!out.save(output)) return 1;
  return 0;
}
