// Glimmet: the owner-drawn push button of the control library.
//
// A host creates a button through CreateGlimmet() from the property bag of its
// stored layout (keys in any letter case), sets Caption and Enabled, and listens
// to the signals. Every event signal passes its arguments by reference: a slot
// connected directly (the default within one thread) may change them, and the
// control goes on with the changed values.
#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QPair>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <memory>

#include "glimmet_color.h"
#include "glimmet_export.h"
#include "glimmet_property_bag.h"

struct GlimmetState;

// The palette, all plain RGB (0x00BBGGRR).
struct GlimmetPalette {
  glimmet::OleColor FaceColor = 0;
  glimmet::OleColor LightColor = 0;
  glimmet::OleColor HighlightColor = 0;
  glimmet::OleColor ShadowColor = 0;
  glimmet::OleColor DarkShadowColor = 0;
  glimmet::OleColor TextColor = 0;
  glimmet::OleColor HoverTextColor = 0;
  glimmet::OleColor SelectionColor = 0;
  glimmet::OleColor SelectionLightColor = 0;
  glimmet::OleColor MaskValue = 0;
  glimmet::OleColor XpFaceColor = 0;
};

// A rectangle as the original platform has it: right and bottom are exclusive.
struct GlimmetRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const GlimmetRect&) const = default;
  QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }
};

class GLIMMET_EXPORT Glimmet : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(int ButtonType READ ButtonType WRITE SetButtonType)
  Q_PROPERTY(int ColorScheme READ ColorScheme WRITE SetColorScheme)
  Q_PROPERTY(bool Value READ Value WRITE SetValue)
  Q_PROPERTY(bool CheckBoxBehaviour READ CheckBoxBehaviour WRITE SetCheckBoxBehaviour)
  Q_PROPERTY(QString Version READ Version)

 public:
  // The four enumerations. Their display names (with blanks) come
  // from EnumMembers(); stored values outside them are kept as they are.
  enum ButtonTypes : qint32 {
    Windows16 = 1,      // "Windows 160-bit"
    Windows32 = 2,      // "Windows 32-bit"
    WindowsXP = 3,      // "Windows XP"
    Mac = 4,            // "Mac"
    JavaMetal = 5,      // "Java metal"
    Netscape6 = 6,      // "Netscape 6"
    SimpleFlat = 7,     // "Simple Flat"
    FlatHighlight = 8,  // "Flat Highlight"
    OfficeXP = 9,       // "Office XP"
    Transparent = 11,   // "Transparent"
    Hover3D = 12,       // "3D Hover"
    OvalFlat = 13,      // "Oval Flat"
    KDE2 = 14           // "KDE 2"
  };
  Q_ENUM(ButtonTypes)
  enum ColorTypes : qint32 { UseWindows = 1, Custom = 2, ForceStandard = 3, UseContainer = 4 };
  Q_ENUM(ColorTypes)
  enum PicPositions : qint32 { cbLeft = 0, cbRight = 1, cbTop = 2, cbBottom = 3, cbBackground = 4 };
  Q_ENUM(PicPositions)
  enum fx : qint32 { cbNone = 0, cbEmbossed = 1, cbEngraved = 2, cbShadowed = 3 };
  Q_ENUM(fx)

  // Members of "ButtonTypes", "ColorTypes", "PicPositions" or "fx" as the type
  // library names them, in value order.
  static QList<QPair<QString, int>> EnumMembers(const QString& enumName);
  // The display name of a member ("Windows XP" for 3), empty when none.
  static QString EnumMemberName(const QString& enumName, int value);

  // Created: nothing is read yet; the host follows with InitProperties() or
  // ReadProperties() (CreateGlimmet does that).
  explicit Glimmet(QWidget* parent = nullptr);
  ~Glimmet() override;

  // --- The container's ambient properties ---
  // Run mode (true) or design mode (false) of the container; run mode by default.
  bool UserMode() const;
  void SetUserMode(bool runMode);
  // Whether the container marks this control as its default button.
  bool DisplayAsDefault() const;
  void SetDisplayAsDefault(bool isDefault);
  // The host reports that an ambient property changed (palette changes of the
  // parent or the application arrive here by themselves).
  void AmbientChanged();

  // --- Persistence ---
  void InitProperties();
  void ReadProperties(const GlimmetPropertyBag& bag);
  void WriteProperties(GlimmetPropertyBag& bag) const;

  // --- Properties ---
  qint32 ButtonType() const;
  void SetButtonType(qint32 value);
  QString Caption() const;
  void SetCaption(const QString& value);
  bool Enabled() const;
  void SetEnabled(bool value);
  QFont Font() const;
  void SetFont(const QFont& value);
  qint32 ColorScheme() const;
  void SetColorScheme(qint32 value);
  bool ShowFocusRect() const;
  void SetShowFocusRect(bool value);
  glimmet::OleColor BackColor() const;
  void SetBackColor(glimmet::OleColor value);
  glimmet::OleColor BackOver() const;
  void SetBackOver(glimmet::OleColor value);
  glimmet::OleColor ForeColor() const;
  void SetForeColor(glimmet::OleColor value);
  glimmet::OleColor ForeOver() const;
  void SetForeOver(glimmet::OleColor value);
  glimmet::OleColor MaskColor() const;
  void SetMaskColor(glimmet::OleColor value);
  qint16 MousePointer() const;
  void SetMousePointer(qint16 value);
  // A picture is a QImage or QPixmap (a bitmap; one with an alpha channel is
  // first laid on the mask colour), a QIcon (an icon), a QString naming an
  // image file, or a null QVariant for none. A mouse icon may also be a QCursor.
  QVariant MouseIcon() const;
  void SetMouseIcon(const QVariant& value);
  QVariant PictureNormal() const;
  void SetPictureNormal(const QVariant& value);
  QVariant PictureOver() const;
  void SetPictureOver(const QVariant& value);
  bool UseMaskColor() const;
  void SetUseMaskColor(bool value);
  bool SoftBevel() const;
  void SetSoftBevel(bool value);
  qint32 PicturePosition() const;
  void SetPicturePosition(qint32 value);
  bool UseGreyscale() const;
  void SetUseGreyscale(bool value);
  qint32 SpecialEffect() const;
  void SetSpecialEffect(qint32 value);
  bool HandPointer() const;
  void SetHandPointer(bool value);
  bool CheckBoxBehaviour() const;
  void SetCheckBoxBehaviour(bool value);
  bool Value() const;
  void SetValue(bool value);
  bool FontBold() const;
  void SetFontBold(bool value);
  bool FontItalic() const;
  void SetFontItalic(bool value);
  bool FontUnderline() const;
  void SetFontUnderline(bool value);
  qint16 FontSize() const;
  void SetFontSize(qint16 value);
  QString FontName() const;
  void SetFontName(const QString& value);
  quintptr hWnd() const;    // identifies the control's window (its QWidget)
  QString Version() const;  // always "2.0.6"
  // The access key from the caption, lower case, or empty (UpdateAccessKey).
  QString AccessKeys() const;

  // --- Methods ---
  void Refresh();
  void DisableRefresh();
  void About();

  // --- The drawing machinery, public for tools and tests ---
  void Redraw(int state, bool force);
  void ComputePalette();
  void LayoutCaption();
  void MeasurePicture();
  void CaptureBackground();
  void SizeChanged();

  // --- Read-only view of the internal state ---
  const QImage& Surface() const;  // what the window shows
  const GlimmetPalette& Palette() const;
  GlimmetRect FocusRect() const;
  GlimmetRect CaptionRect() const;
  GlimmetRect PressedCaptionRect() const;
  QRect PictureRect() const;  // PictureX, PictureY, PictureWidth, PictureHeight
  QRegion ButtonRegion() const;
  int DrawState() const;
  int CaptionStyle() const;
  bool IsHovering() const;
  bool HasFocus() const;
  bool RedrawEnabled() const;
  bool HoverTimerActive() const;

 signals:
  void Click();
  void MouseDown(short& Button, short& Shift, float& x, float& y);
  void MouseMove(short& Button, short& Shift, float& x, float& y);
  void MouseUp(short& Button, short& Shift, float& x, float& y);
  void KeyPress(short& KeyAscii);
  void KeyDown(short& KeyCode, short& Shift);
  void KeyUp(short& KeyCode, short& Shift);
  void MouseOver();
  void MouseOut();
  // The "property changed" notice to the host, with the property's name.
  void PropertyChanged(const QString& name);

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void changeEvent(QEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  friend struct GlimmetPainter;
  friend class GlimmetAccessible;
  // A press from a screen reader or automation tool: the click of the
  // left mouse button (as the access key runs it).
  void PressFromAssistant();
  // Repaints for a change of the screen's device pixel ratio.
  void DevicePixelRatioChanged();
  // Input handlers, in the platform's terms.
  void HandleMouseDown(short button, short shift, float x, float y);
  void HandleClick();
  void HandleAccessKey();
  void OverTimerTick();
  bool IsMouseOver() const;
  // Property helpers.
  void UpdateAccessKey();
  void ApplyMousePointer();
  void BuildRegion();
  void PlacePicture();
  void Notify(const char* name);

  std::unique_ptr<GlimmetState> d;
};

// The class factory. Creates a button named `name` on `parent` and loads it
// from `bag` (ReadProperties), as a host does from its stored layout.
GLIMMET_EXPORT Glimmet* CreateGlimmet(QWidget* parent, const QString& name,
                                      const GlimmetPropertyBag& bag);
// A freshly placed instance (InitProperties): caption = name.
GLIMMET_EXPORT Glimmet* CreateGlimmet(QWidget* parent, const QString& name);
