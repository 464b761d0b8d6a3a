// colour arithmetic and the palette of each colour scheme, against
// values computed by hand from the drawing formulas.
#include <QApplication>
#include <QTest>

#include "glimmet.h"
#include "glimmet_blit.h"

using namespace glimmet;

class ColourTest : public QObject {
  Q_OBJECT

 private slots:
  void workedExamples() {
    QCOMPARE(ShiftColor(Rgb(212, 208, 200), 48, true), Rgb(255, 255, 250));
    QCOMPARE(TintColor(Rgb(0, 0, 128), 176), Rgb(176, 176, 215));
  }

  void shiftClampsOnlyInTheDirectionOfTheShift() {
    QCOMPARE(ShiftColor(Rgb(250, 10, 100), 10), Rgb(255, 20, 110));
    QCOMPARE(ShiftColor(Rgb(250, 10, 100), -20), Rgb(230, 0, 80));
    QCOMPARE(ShiftColor(Rgb(1, 2, 3), 0), Rgb(1, 2, 3));
    // Blue proportional: B + B*a/192, truncated toward zero.
    QCOMPARE(ShiftColor(Rgb(100, 100, 100), -25, true), Rgb(75, 75, 100 - 2500 / 192));
    QCOMPARE(ShiftColor(Rgb(100, 100, 100), -25, true), Rgb(75, 75, 87));
    QCOMPARE(ShiftColor(Rgb(0, 0, 191), 1, true), Rgb(1, 1, 191));  // 191/192 truncates to 0
  }

  void softBevelHalvesTowardZero() {
    QCOMPARE(ShiftColor(Rgb(100, 100, 100), -25, false, true), Rgb(88, 88, 88));    // -12
    QCOMPARE(ShiftColor(Rgb(100, 100, 100), 47, false, true), Rgb(123, 123, 123));  // +23
    QCOMPARE(ShiftColor(Rgb(100, 100, 100), 1, false, true), Rgb(100, 100, 100));   // 0
    QCOMPARE(ShiftColor(Rgb(100, 100, 100), -1, false, true), Rgb(100, 100, 100));  // 0, not -1
  }

  void tintTruncates() {
    // 100 + 155*X/255: X = 0 -> 100, X = 255 -> 255, X = 100 -> 100 + 60 = 160.
    QCOMPARE(TintColor(Rgb(0, 255, 100), 100), Rgb(100, 255, 160));
  }

  void translateColour() {
    QPalette p;
    p.setColor(QPalette::Button, QColor(1, 2, 3));
    p.setColor(QPalette::ButtonText, QColor(4, 5, 6));
    p.setColor(QPalette::Highlight, QColor(7, 8, 9));
    QCOMPARE(TranslateColor(SystemColor(kButtonFace), p), Rgb(1, 2, 3));
    QCOMPARE(TranslateColor(0x8000000Fu, p), Rgb(1, 2, 3));
    QCOMPARE(TranslateColor(SystemColor(kButtonText), p), Rgb(4, 5, 6));
    QCOMPARE(TranslateColor(SystemColor(kHighlight), p), Rgb(7, 8, 9));
    QCOMPARE(TranslateColor(Rgb(10, 20, 30), p), Rgb(10, 20, 30));
  }

  void greyscaleRoundsTwiceToEven() {
    // r3 = round(0.3*R); Y = round(r3 + 0.59*G + 0.11*B), ties to even.
    QCOMPARE(GreyOf(255, 255, 255), 254);  // 76.5 -> 76, 76 + 150.45 + 28.05 = 254.5 -> 254
    QCOMPARE(GreyOf(5, 0, 0), 2);          // 1.5 -> 2
    QCOMPARE(GreyOf(15, 0, 0), 4);         // 4.5 -> 4
    QCOMPARE(GreyOf(0, 0, 50), 6);         // 5.5 -> 6
    QCOMPARE(GreyOf(0, 0, 150), 16);       // 16.5 -> 16
  }

  void customPalette() {
    Glimmet g;
    g.SetColorScheme(Glimmet::Custom);
    g.SetBackColor(Rgb(100, 120, 140));
    g.SetForeColor(Rgb(1, 2, 3));
    g.SetForeOver(Rgb(4, 5, 6));
    g.SetMaskColor(SystemColor(kButtonFace));
    const GlimmetPalette& p = g.Palette();
    QCOMPARE(p.FaceColor, Rgb(100, 120, 140));
    QCOMPARE(p.TextColor, Rgb(1, 2, 3));
    QCOMPARE(p.HoverTextColor, Rgb(4, 5, 6));
    QCOMPARE(p.ShadowColor, Rgb(36, 56, 76));
    QCOMPARE(p.LightColor, Rgb(131, 151, 171));
    QCOMPARE(p.HighlightColor, Rgb(147, 167, 187));
    QCOMPARE(p.DarkShadowColor, Rgb(0, 0, 0));
    QCOMPARE(p.SelectionColor, Rgb(0, 0, 12));
    QCOMPARE(p.SelectionLightColor, Rgb(100, 120, 140));
    QCOMPARE(p.MaskValue, FromQColor(QApplication::palette().color(QPalette::Button)));
    // XpFaceColor: +48, blue proportional only for "Windows XP".
    QCOMPARE(p.XpFaceColor, Rgb(148, 168, 188));
    g.SetButtonType(Glimmet::WindowsXP);
    g.ComputePalette();
    QCOMPARE(g.Palette().XpFaceColor, Rgb(148, 168, 140 + 140 * 48 / 192));
    // Soft bevel halves the palette shades too.
    g.SetSoftBevel(true);
    QCOMPARE(g.Palette().ShadowColor, Rgb(68, 88, 108));
    QCOMPARE(g.Palette().XpFaceColor, Rgb(124, 144, 140 + 140 * 24 / 192));
  }

  void forceStandardPalette() {
    Glimmet g;
    g.SetColorScheme(Glimmet::ForceStandard);
    const GlimmetPalette& p = g.Palette();
    QCOMPARE(p.ShadowColor, 0x808080u);
    QCOMPARE(p.FaceColor, 0xC0C0C0u);
    QCOMPARE(p.LightColor, 0xDFDFDFu);
    QCOMPARE(p.DarkShadowColor, 0u);
    QCOMPARE(p.HighlightColor, 0xFFFFFFu);
    QCOMPARE(p.TextColor, 0u);
    QCOMPARE(p.HoverTextColor, 0u);
    QCOMPARE(p.SelectionColor, Rgb(0, 0, 128));
    QCOMPARE(p.SelectionLightColor, Rgb(173, 173, 209));
    QCOMPARE(p.XpFaceColor, Rgb(240, 240, 240));
  }

  void windowsPaletteFollowsTheSystemAndIgnoresBackColor() {
    QPalette system = QApplication::palette();
    system.setColor(QPalette::Button, QColor(212, 208, 200));
    system.setColor(QPalette::Dark, QColor(128, 128, 128));
    system.setColor(QPalette::Midlight, QColor(223, 223, 223));
    system.setColor(QPalette::Shadow, QColor(64, 64, 64));
    system.setColor(QPalette::Light, QColor(255, 255, 255));
    system.setColor(QPalette::ButtonText, QColor(0, 0, 0));
    system.setColor(QPalette::Highlight, QColor(0, 0, 128));
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(system);
    Glimmet g;
    g.SetButtonType(Glimmet::WindowsXP);
    g.ComputePalette();
    const GlimmetPalette p = g.Palette();
    QCOMPARE(p.FaceColor, Rgb(212, 208, 200));
    QCOMPARE(p.ShadowColor, Rgb(128, 128, 128));
    QCOMPARE(p.LightColor, Rgb(223, 223, 223));
    QCOMPARE(p.DarkShadowColor, Rgb(64, 64, 64));
    QCOMPARE(p.HighlightColor, Rgb(255, 255, 255));
    QCOMPARE(p.SelectionColor, Rgb(0, 0, 128));
    QCOMPARE(p.SelectionLightColor, Rgb(176, 176, 215));
    QCOMPARE(p.XpFaceColor, Rgb(255, 255, 250));
    g.SetBackColor(Rgb(1, 1, 1));
    QCOMPARE(g.Palette().FaceColor, Rgb(212, 208, 200));
    QApplication::setPalette(saved);
  }

  void containerPalette() {
    QWidget parent;
    QPalette pp = parent.palette();
    pp.setColor(QPalette::Window, QColor(50, 60, 70));
    pp.setColor(QPalette::WindowText, QColor(200, 210, 220));
    parent.setPalette(pp);
    Glimmet* g = CreateGlimmet(&parent, "btn", GlimmetPropertyBag{{"coltype", 4}});
    g->ComputePalette();
    QCOMPARE(g->Palette().FaceColor, Rgb(50, 60, 70));
    QCOMPARE(g->Palette().TextColor, Rgb(200, 210, 220));
    QCOMPARE(g->Palette().HoverTextColor, Rgb(200, 210, 220));
    QCOMPARE(g->Palette().ShadowColor, Rgb(0, 0, 6));
    // An ambient change (the container's palette) recomputes it.
    pp.setColor(QPalette::Window, QColor(80, 80, 80));
    parent.setPalette(pp);
    QCOMPARE(g->Palette().FaceColor, Rgb(80, 80, 80));
  }
};

QTEST_MAIN(ColourTest)
#include "glimmet_colour_test.moc"
