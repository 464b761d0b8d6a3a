// property getters and setters with their side effects.
#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <functional>

#include "glimmet_accessible.h"
#include "glimmet_blit.h"
#include "glimmet_geometry.h"
#include "glimmet_state.h"

using namespace glimmet;

void Glimmet::Notify(const char* name) {
  emit PropertyChanged(QString::fromLatin1(name));
}

qint32 Glimmet::ButtonType() const {
  return d->buttonType;
}
void Glimmet::SetButtonType(qint32 value) {
  d->buttonType = value;
  if (value == JavaMetal && !d->userMode)
    SetFontBold(true);
  else if (value == Transparent && d->redrawEnabled)
    CaptureBackground();
  SizeChanged();
  Notify("ButtonType");
}

QString Glimmet::Caption() const {
  return d->caption;
}
void Glimmet::SetCaption(const QString& value) {
  d->caption = value;
  UpdateAccessKey();
  LayoutCaption();
  Redraw(0, true);
  Notify("Caption");
  glimmet::AccessibleNameChanged(this);
}

bool Glimmet::Enabled() const {
  return d->enabled;
}
void Glimmet::SetEnabled(bool value) {
  const bool changed = d->enabled != value;
  d->enabled = value;
  Redraw(0, true);
  QWidget::setEnabled(value);
  Notify("Enabled");
  if (changed) {
    QAccessible::State disabled;
    disabled.disabled = true;
    glimmet::AccessibleStateChanged(this, disabled);
  }
}

QFont Glimmet::Font() const {
  return font();
}
void Glimmet::SetFont(const QFont& value) {
  setFont(value);
  LayoutCaption();
  Redraw(0, true);
  Notify("Font");
}

qint32 Glimmet::ColorScheme() const {
  return d->colorScheme;
}
void Glimmet::SetColorScheme(qint32 value) {
  d->colorScheme = value;
  ComputePalette();
  Redraw(0, true);
  Notify("ColorScheme");
}

bool Glimmet::ShowFocusRect() const {
  return d->showFocusRect;
}
void Glimmet::SetShowFocusRect(bool value) {
  d->showFocusRect = value;
  Redraw(d->drawState, true);
  Notify("ShowFocusRect");
}

OleColor Glimmet::BackColor() const {
  return d->backColor;
}
void Glimmet::SetBackColor(OleColor value) {
  d->backColor = value;
  if (!d->userMode) d->backOver = value;
  ComputePalette();
  Redraw(d->drawState, true);
  Notify("BackColor");
}

OleColor Glimmet::ForeColor() const {
  return d->foreColor;
}
void Glimmet::SetForeColor(OleColor value) {
  d->foreColor = value;
  if (!d->userMode) d->foreOver = value;
  ComputePalette();
  Redraw(d->drawState, true);
  Notify("ForeColor");
}

OleColor Glimmet::BackOver() const {
  return d->backOver;
}
void Glimmet::SetBackOver(OleColor value) {
  d->backOver = value;
  ComputePalette();
  Redraw(d->drawState, true);
  Notify("BackOver");
}

OleColor Glimmet::ForeOver() const {
  return d->foreOver;
}
void Glimmet::SetForeOver(OleColor value) {
  d->foreOver = value;
  ComputePalette();
  Redraw(d->drawState, true);
  Notify("ForeOver");
}

OleColor Glimmet::MaskColor() const {
  return d->maskColor;
}
void Glimmet::SetMaskColor(OleColor value) {
  d->maskColor = value;
  ComputePalette();
  Redraw(d->drawState, true);
  Notify("MaskColor");
}

bool Glimmet::SoftBevel() const {
  return d->softBevel;
}
void Glimmet::SetSoftBevel(bool value) {
  d->softBevel = value;
  ComputePalette();
  Redraw(d->drawState, true);
  Notify("SoftBevel");
}

qint16 Glimmet::MousePointer() const {
  return d->mousePointer;
}
void Glimmet::SetMousePointer(qint16 value) {
  d->mousePointer = value;
  ApplyMousePointer();
  Notify("MousePointer");
}

QVariant Glimmet::MouseIcon() const {
  return d->mouseIcon;
}
void Glimmet::SetMouseIcon(const QVariant& value) {
  d->mouseIcon = value;
  ApplyMousePointer();  // an unusable icon is ignored, as the original ignores its errors
  Notify("MouseIcon");
}

void Glimmet::ApplyMousePointer() {
  static const Qt::CursorShape shapes[] = {
      Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
      Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
      Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
      Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor};
  const int pointer = d->mousePointer;
  if (pointer == 0) {
    unsetCursor();
  } else if (pointer == 99) {
    const QVariant& icon = d->mouseIcon;
    if (icon.typeId() == QMetaType::QCursor)
      setCursor(icon.value<QCursor>());
    else if (icon.typeId() == QMetaType::QPixmap && !icon.value<QPixmap>().isNull())
      setCursor(QCursor(icon.value<QPixmap>()));
    else if (icon.typeId() == QMetaType::QImage && !icon.value<QImage>().isNull())
      setCursor(QCursor(QPixmap::fromImage(icon.value<QImage>())));
    else if (icon.typeId() == QMetaType::QIcon && !icon.value<QIcon>().isNull())
      setCursor(QCursor(icon.value<QIcon>().pixmap(32, 32)));
    else
      unsetCursor();
  } else if (pointer > 0 && pointer < 16) {
    setCursor(shapes[pointer]);
  } else {
    unsetCursor();
  }
}

bool Glimmet::HandPointer() const {
  return d->handPointer;
}
void Glimmet::SetHandPointer(bool value) {
  d->handPointer = value;
  if (value) {
    // The library's hand cursor (resource 101 of the original).
    d->mouseIcon = QVariant::fromValue(QCursor(Qt::PointingHandCursor));
    d->mousePointer = 99;
  } else {
    d->mouseIcon = QVariant();
    d->mousePointer = 1;
  }
  ApplyMousePointer();
  Notify("HandPointer");
}

QVariant Glimmet::PictureNormal() const {
  return d->pictureNormal;
}
void Glimmet::SetPictureNormal(const QVariant& value) {
  d->pictureNormal = value;
  MeasurePicture();
  LayoutCaption();
  Redraw(d->drawState, true);
  Notify("PictureNormal");
}

QVariant Glimmet::PictureOver() const {
  return d->pictureOver;
}
void Glimmet::SetPictureOver(const QVariant& value) {
  d->pictureOver = value;
  if (d->isHovering) Redraw(d->drawState, true);
  Notify("PictureOver");
}

bool Glimmet::UseMaskColor() const {
  return d->useMaskColor;
}
void Glimmet::SetUseMaskColor(bool value) {
  d->useMaskColor = value;
  if (d->pictureNormal.isValid()) Redraw(d->drawState, true);
  Notify("UseMaskColor");
}

bool Glimmet::UseGreyscale() const {
  return d->useGreyscale;
}
void Glimmet::SetUseGreyscale(bool value) {
  d->useGreyscale = value;
  if (d->pictureNormal.isValid()) Redraw(d->drawState, true);
  Notify("UseGreyscale");
}

qint32 Glimmet::PicturePosition() const {
  return d->picturePosition;
}
void Glimmet::SetPicturePosition(qint32 value) {
  d->picturePosition = value;
  Notify("PicturePosition");
  LayoutCaption();
  Redraw(d->drawState, true);
}

qint32 Glimmet::SpecialEffect() const {
  return d->specialEffect;
}
void Glimmet::SetSpecialEffect(qint32 value) {
  d->specialEffect = value;
  Redraw(d->drawState, true);
  Notify("SpecialEffect");
}

bool Glimmet::CheckBoxBehaviour() const {
  return d->checkBoxBehaviour;
}
void Glimmet::SetCheckBoxBehaviour(bool value) {
  d->checkBoxBehaviour = value;
  Redraw(d->drawState, true);
  Notify("CheckBoxBehaviour");
}

bool Glimmet::Value() const {
  return d->value;
}
void Glimmet::SetValue(bool value) {
  const bool changed = d->value != value;
  d->value = value;
  if (d->checkBoxBehaviour) Redraw(0, true);
  Notify("Value");
  if (changed) glimmet::AccessibleStateChanged(this, glimmet::CheckedChange());
}

// The font pass-throughs: no notice to the host.
static void ChangeFont(Glimmet& g, const std::function<void(QFont&)>& change) {
  QFont f = g.font();
  change(f);
  g.setFont(f);
  g.LayoutCaption();
  g.Redraw(0, true);
}
bool Glimmet::FontBold() const {
  return font().bold();
}
void Glimmet::SetFontBold(bool value) {
  ChangeFont(*this, [=](QFont& f) { f.setBold(value); });
}
bool Glimmet::FontItalic() const {
  return font().italic();
}
void Glimmet::SetFontItalic(bool value) {
  ChangeFont(*this, [=](QFont& f) { f.setItalic(value); });
}
bool Glimmet::FontUnderline() const {
  return font().underline();
}
void Glimmet::SetFontUnderline(bool value) {
  ChangeFont(*this, [=](QFont& f) { f.setUnderline(value); });
}
qint16 Glimmet::FontSize() const {
  return static_cast<qint16>(qRound(font().pointSizeF()));
}
void Glimmet::SetFontSize(qint16 value) {
  ChangeFont(*this, [=](QFont& f) { f.setPointSize(value); });
}
QString Glimmet::FontName() const {
  return font().family();
}
void Glimmet::SetFontName(const QString& value) {
  ChangeFont(*this, [&](QFont& f) { f.setFamily(value); });
}

quintptr Glimmet::hWnd() const {
  return reinterpret_cast<quintptr>(this);
}
QString Glimmet::Version() const {
  return QStringLiteral("2.0.6");
}
QString Glimmet::AccessKeys() const {
  return d->accessKey;
}

void Glimmet::Refresh() {
  if (d->buttonType == Transparent) CaptureBackground();
  ComputePalette();
  LayoutCaption();
  d->redrawEnabled = true;
  Redraw(d->drawState, true);
}

void Glimmet::DisableRefresh() {
  d->redrawEnabled = false;
}

void Glimmet::About() {}

void Glimmet::ComputePalette() {
  auto& p = d->pal;
  const QPalette system = QApplication::palette();
  auto shift = [this](OleColor c, int a) { return ShiftColor(c, a, false, d->softBevel); };
  auto shades = [&]() {
    p.ShadowColor = shift(p.FaceColor, -64);
    p.LightColor = shift(p.FaceColor, 31);
    p.HighlightColor = shift(p.FaceColor, 47);
    p.DarkShadowColor = shift(p.FaceColor, -192);
  };
  switch (d->colorScheme) {
    case Custom:
      p.FaceColor = TranslateColor(d->backColor);
      p.TextColor = TranslateColor(d->foreColor);
      p.HoverTextColor = TranslateColor(d->foreOver);
      shades();
      p.SelectionColor = shift(p.FaceColor, -128);
      p.SelectionLightColor = p.FaceColor;
      break;
    case ForceStandard:
      p.ShadowColor = 0x808080;
      p.FaceColor = 0xC0C0C0;
      p.LightColor = 0xDFDFDF;
      p.DarkShadowColor = 0;
      p.HighlightColor = 0xFFFFFF;
      p.TextColor = p.HoverTextColor = 0;
      p.SelectionColor = Rgb(0, 0, 128);
      p.SelectionLightColor = 13741485;
      break;
    case UseContainer: {
      const QWidget* container = parentWidget();
      const QPalette& cp = container ? container->palette() : system;
      p.FaceColor =
          FromQColor(cp.color(container ? container->backgroundRole() : QPalette::Window));
      p.TextColor = p.HoverTextColor =
          FromQColor(cp.color(container ? container->foregroundRole() : QPalette::WindowText));
      shades();
      p.SelectionColor = SystemColorFrom(system, kHighlight);
      p.SelectionLightColor = TintColor(p.SelectionColor, 176);
      break;
    }
    default:
      p.FaceColor = SystemColorFrom(system, kButtonFace);
      p.ShadowColor = SystemColorFrom(system, kButtonShadow);
      p.LightColor = SystemColorFrom(system, k3DLight);
      p.DarkShadowColor = SystemColorFrom(system, k3DDarkShadow);
      p.HighlightColor = SystemColorFrom(system, kButtonHighlight);
      p.TextColor = p.HoverTextColor = SystemColorFrom(system, kButtonText);
      p.SelectionColor = SystemColorFrom(system, kHighlight);
      p.SelectionLightColor = TintColor(p.SelectionColor, 176);
      break;
  }
  p.MaskValue = TranslateColor(d->maskColor);
  p.XpFaceColor = ShiftColor(p.FaceColor, 48, d->buttonType == WindowsXP, d->softBevel);
}

void Glimmet::AmbientChanged() {
  if (d->colorScheme == Custom) return;
  ComputePalette();
  Redraw(d->drawState, true);
}

void Glimmet::UpdateAccessKey() {
  if (d->accessShortcut != 0) releaseShortcut(d->accessShortcut);
  d->accessShortcut = 0;
  d->accessKey = AccessKeyOf(d->caption);
  if (!d->accessKey.isEmpty())
    d->accessShortcut = grabShortcut(QKeySequence(QStringLiteral("Alt+") + d->accessKey.toUpper()));
}
