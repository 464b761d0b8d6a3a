// The Glimmet widget: life cycle, size handling and the class factory.
#include "glimmet.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>

#include "glimmet_accessible.h"
#include "glimmet_blit.h"
#include "glimmet_geometry.h"
#include "glimmet_state.h"

using namespace glimmet;

Glimmet::Glimmet(QWidget* parent) : QWidget(parent), d(std::make_unique<GlimmetState>()) {
  // Created: RedrawEnabled is true; until a load the properties hold their
  // "New" values with the system colours.
  const QPalette system = QApplication::palette();
  d->backColor = d->backOver = SystemColorFrom(system, kButtonFace);
  d->foreColor = d->foreOver = SystemColorFrom(system, kButtonText);
  d->redrawEnabled = true;
  glimmet::InstallAccessibleFactory();
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  d->overTimer.setInterval(3);
  connect(&d->overTimer, &QTimer::timeout, this, &Glimmet::OverTimerTick);
  ComputePalette();
}

Glimmet::~Glimmet() {
  d->redrawEnabled = false;
  d->overTimer.stop();
  d->backgroundImage = QImage();
}

bool Glimmet::UserMode() const {
  return d->userMode;
}
void Glimmet::SetUserMode(bool runMode) {
  d->userMode = runMode;
}
bool Glimmet::DisplayAsDefault() const {
  return d->displayAsDefault;
}
void Glimmet::SetDisplayAsDefault(bool isDefault) {
  if (d->displayAsDefault == isDefault) return;
  d->displayAsDefault = isDefault;
  Redraw(d->drawState, true);
  QAccessible::State changed;
  changed.defaultButton = true;
  glimmet::AccessibleStateChanged(this, changed);
}

// --- Life cycle ---

void Glimmet::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (e->spontaneous()) return;  // the window came back; the image is kept
  if (d->buttonType == Transparent && d->backgroundImage.isNull())
    d->backgroundImage =
        QImage(std::max(1, d->clientWidth), std::max(1, d->clientHeight), QImage::Format_RGB32);
  if (d->buttonType == Transparent) CaptureBackground();
  d->redrawEnabled = true;
  ComputePalette();
  Redraw(0, true);
}

void Glimmet::hideEvent(QHideEvent* e) {
  QWidget::hideEvent(e);
  if (!e->spontaneous()) d->redrawEnabled = false;
}

void Glimmet::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  SizeChanged();
}

void Glimmet::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::PaletteChange) {
    AmbientChanged();
  } else if (e->type() == QEvent::EnabledChange) {
    // A host that calls QWidget::setEnabled on the button means Enabled.
    const bool explicitlyEnabled = !testAttribute(Qt::WA_ForceDisabled);
    if (explicitlyEnabled != d->enabled) SetEnabled(explicitlyEnabled);
  }
}

void Glimmet::paintEvent(QPaintEvent* e) {
  // No painting of our own: the window shows what Redraw last drew.
  if (!d->surface.isNull() && d->surface.devicePixelRatio() != devicePixelRatioF())
    DevicePixelRatioChanged();
  QPainter p(this);
  if (d->surface.isNull()) {
    p.fillRect(e->rect(), palette().color(QPalette::Button));
    return;
  }
  const qreal ratio = d->surface.devicePixelRatio();
  const QRectF exposed(e->rect());
  p.drawImage(exposed, d->surface, QRectF(exposed.topLeft() * ratio, exposed.size() * ratio));
}

void Glimmet::DevicePixelRatioChanged() {
  // The window moved to a screen of another scale: the same look, drawn anew
  // at the new resolution.
  Redraw(d->drawState, true);
}

// --- Size change and geometry ---

void Glimmet::SizeChanged() {
  if (d->resizeSuspended) return;
  const int w = width(), h = height();
  d->clientWidth = w;
  d->clientHeight = h;
  d->focusRect = FocusRectFor(d->buttonType, w, h);
  LayoutCaption();
  BuildRegion();
  if (h != 0) Redraw(0, true);
}

void Glimmet::BuildRegion() {
  const int w = d->clientWidth, h = d->clientHeight;
  d->buttonRegion = glimmet::BuildRegion(d->buttonType, w, h);
  if (d->buttonRegion == QRegion(0, 0, w, h))
    clearMask();
  else
    setMask(d->buttonRegion);
}

void Glimmet::LayoutCaption() {
  const auto layout =
      glimmet::LayoutCaption(d->caption, font(), d->clientWidth, d->clientHeight,
                             d->picturePosition, d->pictureWidth, d->pictureHeight, d->layoutStart);
  d->layoutStart = layout.start;
  d->captionRect = layout.captionRect;
  d->pressedCaptionRect = layout.pressedCaptionRect;
  d->textWidth = layout.textWidth;
  d->textHeight = layout.textHeight;
  PlacePicture();
}

void Glimmet::PlacePicture() {
  auto set = [](const QVariant& v) { return v.isValid() && !v.isNull(); };
  if (!set(d->pictureNormal) && !set(d->pictureOver)) return;
  const QPoint at =
      glimmet::PlacePicture(d->caption, d->picturePosition, d->captionRect, d->clientWidth,
                            d->clientHeight, d->pictureWidth, d->pictureHeight);
  d->pictureX = at.x();
  d->pictureY = at.y();
}

void Glimmet::MeasurePicture() {
  const QSize size = PictureSize(d->pictureNormal);
  d->pictureWidth = size.width();
  d->pictureHeight = size.height();
}

void Glimmet::CaptureBackground() {
  // The parent's own pixels under the control, without its children (in the
  // original the control shrinks to height 0 so that the parent repaints).
  d->resizeSuspended = true;
  const int w = std::max(1, d->clientWidth), h = std::max(1, d->clientHeight);
  if (d->backgroundImage.size() != QSize(w, h))
    d->backgroundImage = QImage(w, h, QImage::Format_RGB32);
  QWidget* parent = parentWidget();
  d->backgroundImage.fill(parent ? parent->palette().color(parent->backgroundRole())
                                 : palette().color(QPalette::Window));
  if (parent && parent->isVisible())
    parent->render(&d->backgroundImage, QPoint(0, 0), QRegion(geometry()),
                   QWidget::DrawWindowBackground);
  d->resizeSuspended = false;
}

// --- Read-only view ---

const QImage& Glimmet::Surface() const {
  return d->surface;
}
const GlimmetPalette& Glimmet::Palette() const {
  return d->pal;
}
GlimmetRect Glimmet::FocusRect() const {
  return d->focusRect;
}
GlimmetRect Glimmet::CaptionRect() const {
  return d->captionRect;
}
GlimmetRect Glimmet::PressedCaptionRect() const {
  return d->pressedCaptionRect;
}
QRect Glimmet::PictureRect() const {
  return QRect(d->pictureX, d->pictureY, d->pictureWidth, d->pictureHeight);
}
QRegion Glimmet::ButtonRegion() const {
  return d->buttonRegion;
}
int Glimmet::DrawState() const {
  return d->drawState;
}
int Glimmet::CaptionStyle() const {
  return d->captionStyle;
}
bool Glimmet::IsHovering() const {
  return d->isHovering;
}
bool Glimmet::HasFocus() const {
  return d->hasFocus;
}
bool Glimmet::RedrawEnabled() const {
  return d->redrawEnabled;
}
bool Glimmet::HoverTimerActive() const {
  return d->overTimer.isActive();
}

// --- Enumerations ---

QList<QPair<QString, int>> Glimmet::EnumMembers(const QString& enumName) {
  if (enumName == QLatin1String("ButtonTypes"))
    return {
        {"Windows 160-bit", 1}, {"Windows 32-bit", 2}, {"Windows XP", 3},  {"Mac", 4},
        {"Java metal", 5},      {"Netscape 6", 6},     {"Simple Flat", 7}, {"Flat Highlight", 8},
        {"Office XP", 9},       {"Transparent", 11},   {"3D Hover", 12},   {"Oval Flat", 13},
        {"KDE 2", 14}};
  if (enumName == QLatin1String("ColorTypes"))
    return {{"Use Windows", 1}, {"Custom", 2}, {"Force Standard", 3}, {"Use Container", 4}};
  if (enumName == QLatin1String("PicPositions"))
    return {{"cbLeft", 0}, {"cbRight", 1}, {"cbTop", 2}, {"cbBottom", 3}, {"cbBackground", 4}};
  if (enumName == QLatin1String("fx"))
    return {{"cbNone", 0}, {"cbEmbossed", 1}, {"cbEngraved", 2}, {"cbShadowed", 3}};
  return {};
}

QString Glimmet::EnumMemberName(const QString& enumName, int value) {
  for (const auto& [name, v] : EnumMembers(enumName))
    if (v == value) return name;
  return {};
}

// --- The class factory ---

Glimmet* CreateGlimmet(QWidget* parent, const QString& name, const GlimmetPropertyBag& bag) {
  auto* button = new Glimmet(parent);
  button->setObjectName(name);
  button->ReadProperties(bag);
  return button;
}

Glimmet* CreateGlimmet(QWidget* parent, const QString& name) {
  auto* button = new Glimmet(parent);
  button->setObjectName(name);
  button->InitProperties();
  return button;
}
