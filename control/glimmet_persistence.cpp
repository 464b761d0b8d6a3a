// new instance, load and save through the property bag.
#include <QApplication>
#include <QColor>

#include "glimmet_blit.h"
#include "glimmet_state.h"

using namespace glimmet;

namespace {

qint32 ToLong(const QVariant& v) {
  return static_cast<qint32>(v.toLongLong());
}

bool ToBool(const QVariant& v) {
  if (v.typeId() == QMetaType::QString) {
    const QString s = v.toString().trimmed();
    if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
    if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
    return s.toLongLong() != 0;
  }
  return v.toBool();
}

// A colour as an OLE colour: a number, a QColor, or text as "&H8000000F&",
// "#rrggbb" or a decimal number.
OleColor ToColor(const QVariant& v) {
  if (v.typeId() == QMetaType::QColor) return FromQColor(v.value<QColor>());
  if (v.typeId() == QMetaType::QString) {
    QString s = v.toString().trimmed();
    if (s.startsWith(QLatin1Char('#'))) return FromQColor(QColor(s));
    if (s.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
      s = s.mid(2);
      if (s.endsWith(QLatin1Char('&'))) s.chop(1);
      return static_cast<OleColor>(s.toULongLong(nullptr, 16));
    }
    return static_cast<OleColor>(s.toLongLong() & 0xFFFFFFFF);
  }
  return static_cast<OleColor>(v.toLongLong() & 0xFFFFFFFF);
}

QFont ToFont(const QVariant& v, const QFont& fallback) {
  if (v.typeId() == QMetaType::QFont) return v.value<QFont>();
  if (v.typeId() == QMetaType::QString) {
    QFont f = fallback;
    if (f.fromString(v.toString())) return f;
  }
  return fallback;
}

QVariant ToPicture(const QVariant& v) {
  if (!v.isValid() || v.isNull()) return {};
  if (v.typeId() == QMetaType::QString && v.toString().isEmpty()) return {};
  return v;
}

}  // namespace

void Glimmet::InitProperties() {
  auto& s = *d;
  s.enabled = s.showFocusRect = s.useMaskColor = true;
  s.caption = objectName();
  setFont(parentWidget() ? parentWidget()->font() : QApplication::font());
  s.buttonType = Windows32;
  s.colorScheme = UseWindows;
  ComputePalette();
  s.backColor = s.backOver = s.pal.FaceColor;
  s.maskColor = 0xC0C0C0;
  s.foreColor = s.foreOver = s.pal.TextColor;
  LayoutCaption();
}

void Glimmet::ReadProperties(const GlimmetPropertyBag& bag) {
  auto& s = *d;
  const QPalette system = QApplication::palette();
  s.buttonType = ToLong(bag.ReadProperty(QStringLiteral("BTYPE"), 2));
  s.caption = bag.ReadProperty(QStringLiteral("TX"), QString()).toString();
  s.enabled = ToBool(bag.ReadProperty(QStringLiteral("ENAB"), true));
  setFont(ToFont(bag.ReadProperty(QStringLiteral("FONT"), font()), font()));
  s.colorScheme = ToLong(bag.ReadProperty(QStringLiteral("COLTYPE"), 1));
  s.showFocusRect = ToBool(bag.ReadProperty(QStringLiteral("FOCUSR"), true));
  s.backColor =
      ToColor(bag.ReadProperty(QStringLiteral("BCOL"), SystemColorFrom(system, kButtonFace)));
  s.backOver = ToColor(bag.ReadProperty(QStringLiteral("BCOLO"), s.backColor));
  s.foreColor =
      ToColor(bag.ReadProperty(QStringLiteral("FCOL"), SystemColorFrom(system, kButtonText)));
  s.foreOver = ToColor(bag.ReadProperty(QStringLiteral("FCOLO"), s.foreColor));
  s.maskColor = ToColor(bag.ReadProperty(QStringLiteral("MCOL"), 0xC0C0C0));
  s.mousePointer = static_cast<qint16>(ToLong(bag.ReadProperty(QStringLiteral("MPTR"), 0)));
  s.mouseIcon = ToPicture(bag.ReadProperty(QStringLiteral("MICON")));
  ApplyMousePointer();
  s.pictureNormal = ToPicture(bag.ReadProperty(QStringLiteral("PICN")));
  s.pictureOver = ToPicture(bag.ReadProperty(QStringLiteral("PICH")));
  s.useMaskColor = ToBool(bag.ReadProperty(QStringLiteral("UMCOL"), true));
  s.softBevel = ToBool(bag.ReadProperty(QStringLiteral("SOFT"), false));
  s.picturePosition = ToLong(bag.ReadProperty(QStringLiteral("PICPOS"), 0));
  s.useGreyscale = ToBool(bag.ReadProperty(QStringLiteral("NGREY"), false));
  s.specialEffect = ToLong(bag.ReadProperty(QStringLiteral("FX"), 0));
  SetHandPointer(ToBool(bag.ReadProperty(QStringLiteral("HAND"), false)));
  s.checkBoxBehaviour = ToBool(bag.ReadProperty(QStringLiteral("CHECK"), false));
  s.value = ToBool(bag.ReadProperty(QStringLiteral("VALUE"), false));
  QWidget::setEnabled(s.enabled);
  MeasurePicture();
  LayoutCaption();
  UpdateAccessKey();
}

void Glimmet::WriteProperties(GlimmetPropertyBag& bag) const {
  const auto& s = *d;
  auto colour = [](OleColor c) { return QVariant::fromValue<quint32>(c); };
  bag.WriteProperty(QStringLiteral("BTYPE"), QVariant::fromValue<qint32>(s.buttonType));
  bag.WriteProperty(QStringLiteral("TX"), s.caption);
  bag.WriteProperty(QStringLiteral("ENAB"), s.enabled);
  bag.WriteProperty(QStringLiteral("FONT"), font());
  bag.WriteProperty(QStringLiteral("COLTYPE"), QVariant::fromValue<qint32>(s.colorScheme));
  bag.WriteProperty(QStringLiteral("FOCUSR"), s.showFocusRect);
  bag.WriteProperty(QStringLiteral("BCOL"), colour(s.backColor));
  bag.WriteProperty(QStringLiteral("BCOLO"), colour(s.backOver));
  bag.WriteProperty(QStringLiteral("FCOL"), colour(s.foreColor));
  bag.WriteProperty(QStringLiteral("FCOLO"), colour(s.foreOver));
  bag.WriteProperty(QStringLiteral("MCOL"), colour(s.maskColor));
  bag.WriteProperty(QStringLiteral("MPTR"), QVariant::fromValue<qint16>(s.mousePointer));
  bag.WriteProperty(QStringLiteral("MICON"), s.mouseIcon);
  bag.WriteProperty(QStringLiteral("PICN"), s.pictureNormal);
  bag.WriteProperty(QStringLiteral("PICH"), s.pictureOver);
  bag.WriteProperty(QStringLiteral("UMCOL"), s.useMaskColor);
  bag.WriteProperty(QStringLiteral("SOFT"), s.softBevel);
  bag.WriteProperty(QStringLiteral("PICPOS"), QVariant::fromValue<qint32>(s.picturePosition));
  bag.WriteProperty(QStringLiteral("NGREY"), s.useGreyscale);
  bag.WriteProperty(QStringLiteral("FX"), QVariant::fromValue<qint32>(s.specialEffect));
  bag.WriteProperty(QStringLiteral("HAND"), s.handPointer);
  bag.WriteProperty(QStringLiteral("CHECK"), s.checkBoxBehaviour);
  bag.WriteProperty(QStringLiteral("VALUE"), s.value);
}
