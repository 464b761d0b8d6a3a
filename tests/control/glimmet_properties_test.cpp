// enumerations, "New" values, the property bag (order, defaults,
// letter case), setter side effects and the notices to the host.
#include <QApplication>
#include <QCursor>
#include <QSignalSpy>
#include <QTest>

#include "glimmet.h"

using namespace glimmet;

namespace {
const QStringList kKeys = {"BTYPE", "TX",     "ENAB",  "FONT", "COLTYPE", "FOCUSR", "BCOL", "BCOLO",
                           "FCOL",  "FCOLO",  "MCOL",  "MPTR", "MICON",   "PICN",   "PICH", "UMCOL",
                           "SOFT",  "PICPOS", "NGREY", "FX",   "HAND",    "CHECK",  "VALUE"};
OleColor SystemFace() {
  return FromQColor(QApplication::palette().color(QPalette::Button));
}
OleColor SystemText() {
  return FromQColor(QApplication::palette().color(QPalette::ButtonText));
}
}  // namespace

class PropertiesTest : public QObject {
  Q_OBJECT

 private slots:
  void enumerations() {
    const auto types = Glimmet::EnumMembers("ButtonTypes");
    QCOMPARE(types.size(), 13);
    QCOMPARE(types.first(), qMakePair(QString("Windows 160-bit"), 1));
    QCOMPARE(Glimmet::EnumMemberName("ButtonTypes", 3), QString("Windows XP"));
    QCOMPARE(Glimmet::EnumMemberName("ButtonTypes", 10), QString());
    QCOMPARE(Glimmet::EnumMemberName("ButtonTypes", 11), QString("Transparent"));
    QCOMPARE(Glimmet::EnumMemberName("ButtonTypes", 12), QString("3D Hover"));
    QCOMPARE(Glimmet::EnumMemberName("ButtonTypes", 14), QString("KDE 2"));
    QCOMPARE(int(Glimmet::KDE2), 14);
    QCOMPARE(int(Glimmet::Transparent), 11);
    QCOMPARE(Glimmet::EnumMembers("ColorTypes"),
             (QList<QPair<QString, int>>{
                 {"Use Windows", 1}, {"Custom", 2}, {"Force Standard", 3}, {"Use Container", 4}}));
    QCOMPARE(
        Glimmet::EnumMembers("PicPositions"),
        (QList<QPair<QString, int>>{
            {"cbLeft", 0}, {"cbRight", 1}, {"cbTop", 2}, {"cbBottom", 3}, {"cbBackground", 4}}));
    QCOMPARE(Glimmet::EnumMembers("fx"),
             (QList<QPair<QString, int>>{
                 {"cbNone", 0}, {"cbEmbossed", 1}, {"cbEngraved", 2}, {"cbShadowed", 3}}));
    QCOMPARE(int(Glimmet::cbBackground), 4);
    QCOMPARE(int(Glimmet::cbShadowed), 3);
  }

  void newInstance() {
    QWidget form;
    QFont ambient("DejaVu Serif", 13);
    form.setFont(ambient);
    Glimmet* g = CreateGlimmet(&form, "btnNew");
    QCOMPARE(g->Caption(), QString("btnNew"));
    QCOMPARE(g->Font(), ambient);
    QCOMPARE(g->ButtonType(), 2);
    QCOMPARE(g->ColorScheme(), 1);
    QVERIFY(g->Enabled() && g->ShowFocusRect() && g->UseMaskColor());
    QCOMPARE(g->BackColor(), SystemFace());
    QCOMPARE(g->BackOver(), SystemFace());
    QCOMPARE(g->ForeColor(), SystemText());
    QCOMPARE(g->ForeOver(), SystemText());
    QCOMPARE(g->MaskColor(), 0xC0C0C0u);
    QCOMPARE(g->MousePointer(), qint16(0));
    QVERIFY(!g->SoftBevel() && !g->UseGreyscale() && !g->HandPointer() && !g->CheckBoxBehaviour() &&
            !g->Value());
    QCOMPARE(g->PicturePosition(), 0);
    QCOMPARE(g->SpecialEffect(), 0);
    QVERIFY(g->PictureNormal().isNull());
    QCOMPARE(g->Version(), QString("2.0.6"));
    g->About();
    QCOMPARE(g->Version(), QString("2.0.6"));
  }

  void saveWritesAll23KeysInOrder() {
    QWidget form;
    Glimmet* g = CreateGlimmet(&form, "btnSave");
    GlimmetPropertyBag bag;
    g->WriteProperties(bag);
    QCOMPARE(bag.Keys(), kKeys);
    QCOMPARE(bag.ReadProperty("BTYPE").toInt(), 2);
    QCOMPARE(bag.ReadProperty("TX").toString(), QString("btnSave"));
    QCOMPARE(bag.ReadProperty("ENAB").toBool(), true);
    QCOMPARE(bag.ReadProperty("FONT").value<QFont>(), g->Font());
    QCOMPARE(bag.ReadProperty("MCOL").toUInt(), 0xC0C0C0u);
    QCOMPARE(bag.ReadProperty("MPTR").toInt(), 0);
    QCOMPARE(bag.ReadProperty("VALUE").toBool(), false);
    QCOMPARE(bag.ReadProperty("HAND").toBool(), false);
    QCOMPARE(bag.ReadProperty("MPTR").typeId(), int(QMetaType::Short));
  }

  void roundTrip() {
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::red);
    GlimmetPropertyBag stored{{"btype", 3},
                              {"tx", "&Send"},
                              {"enab", false},
                              {"coltype", 2},
                              {"focusr", false},
                              {"bcol", Rgb(1, 2, 3)},
                              {"bcolo", Rgb(4, 5, 6)},
                              {"fcol", Rgb(7, 8, 9)},
                              {"fcolo", Rgb(10, 11, 12)},
                              {"mcol", Rgb(255, 0, 255)},
                              {"mptr", 3},
                              {"picn", picture},
                              {"umcol", false},
                              {"soft", true},
                              {"picpos", 2},
                              {"ngrey", true},
                              {"fx", 3},
                              {"hand", false},
                              {"check", true},
                              {"value", true}};
    QWidget form;
    Glimmet* g = CreateGlimmet(&form, "btnSend", stored);
    QCOMPARE(g->ButtonType(), 3);
    QCOMPARE(g->Caption(), QString("&Send"));
    QCOMPARE(g->AccessKeys(), QString("s"));
    QVERIFY(!g->Enabled());
    QVERIFY(!g->isEnabled());
    QCOMPARE(g->BackOver(), Rgb(4, 5, 6));
    QCOMPARE(g->PictureRect().size(), QSize(8, 6));
    QVERIFY(g->SoftBevel() && g->UseGreyscale() && g->CheckBoxBehaviour() && g->Value());
    GlimmetPropertyBag saved;
    g->WriteProperties(saved);
    QCOMPARE(saved.Keys(), kKeys);
    Glimmet* copy = CreateGlimmet(&form, "btnCopy", saved);
    GlimmetPropertyBag again;
    copy->WriteProperties(again);
    for (const QString& key : kKeys) {
      if (key == "PICN") continue;
      QCOMPARE(again.ReadProperty(key), saved.ReadProperty(key));
    }
    QCOMPARE(again.ReadProperty("PICN").value<QImage>(), picture);
    QCOMPARE(saved.ReadProperty("MPTR").toInt(), 1);  // "HAND" false puts the arrow back
  }

  void loadDefaults() {
    QWidget form;
    QFont surface("DejaVu Sans Mono", 9);
    Glimmet* g = new Glimmet(&form);
    g->setFont(surface);
    g->ReadProperties(GlimmetPropertyBag());
    QCOMPARE(g->ButtonType(), 2);
    QCOMPARE(g->Caption(), QString());
    QVERIFY(g->Enabled());
    QCOMPARE(g->Font(), surface);
    QCOMPARE(g->ColorScheme(), 1);
    QVERIFY(g->ShowFocusRect());
    QCOMPARE(g->BackColor(), SystemFace());
    QCOMPARE(g->BackOver(), SystemFace());
    QCOMPARE(g->ForeColor(), SystemText());
    QCOMPARE(g->ForeOver(), SystemText());
    QCOMPARE(g->MaskColor(), 0xC0C0C0u);
    QVERIFY(g->UseMaskColor() && !g->SoftBevel() && !g->UseGreyscale());
    QCOMPARE(g->PicturePosition(), 0);
    QCOMPARE(g->SpecialEffect(), 0);
    QVERIFY(!g->HandPointer() && !g->CheckBoxBehaviour() && !g->Value());
    QCOMPARE(g->MousePointer(), qint16(1));  // the HandPointer setter ran with false
    QCOMPARE(g->PictureRect().size(), QSize(0, 0));
  }

  void overColoursDefaultToTheLoadedColours() {
    Glimmet g;
    g.ReadProperties(GlimmetPropertyBag{{"BCOL", Rgb(10, 20, 30)}, {"FCOL", Rgb(40, 50, 60)}});
    QCOMPARE(g.BackOver(), Rgb(10, 20, 30));
    QCOMPARE(g.ForeOver(), Rgb(40, 50, 60));
  }

  void keysInAnyLetterCaseAndSeveralForms() {
    Glimmet g;
    g.ReadProperties(GlimmetPropertyBag{{"bType", "14"},
                                        {"Tx", "Go"},
                                        {"enab", "False"},
                                        {"BCOL", "&H8000000F&"},
                                        {"fcol", "#102030"},
                                        {"font", QFont("DejaVu Serif", 11).toString()}});
    QCOMPARE(g.ButtonType(), 14);
    QCOMPARE(g.Caption(), QString("Go"));
    QVERIFY(!g.Enabled());
    QCOMPARE(g.BackColor(), 0x8000000Fu);
    QCOMPARE(g.ForeColor(), Rgb(0x10, 0x20, 0x30));
    QCOMPARE(g.FontName(), QString("DejaVu Serif"));
    QCOMPARE(g.FontSize(), qint16(11));
    GlimmetPropertyBag bag{{"tx", "a"}};
    bag.WriteProperty("TX", "b");
    QCOMPARE(bag.Count(), 1);
    QCOMPARE(bag.ReadProperty("Tx").toString(), QString("b"));
  }

  void mousePointerThenHand() {
    Glimmet a;
    a.ReadProperties(GlimmetPropertyBag{{"mptr", 5}, {"hand", false}});
    QCOMPARE(a.MousePointer(), qint16(1));
    QCOMPARE(a.cursor().shape(), Qt::ArrowCursor);
    Glimmet b;
    b.ReadProperties(GlimmetPropertyBag{{"mptr", 5}, {"hand", true}});
    QCOMPARE(b.MousePointer(), qint16(99));
    QCOMPARE(b.cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(b.MouseIcon().value<QCursor>().shape(), Qt::PointingHandCursor);
    b.SetHandPointer(false);
    QCOMPARE(b.MousePointer(), qint16(1));
    QVERIFY(b.MouseIcon().isNull());
    b.SetMousePointer(11);
    QCOMPARE(b.cursor().shape(), Qt::WaitCursor);
  }

  void backColourAtDesignTimeAndRunTime() {
    Glimmet g;
    g.SetBackOver(Rgb(9, 9, 9));
    g.SetBackColor(Rgb(1, 1, 1));  // run mode
    QCOMPARE(g.BackOver(), Rgb(9, 9, 9));
    g.SetForeColor(Rgb(2, 2, 2));
    g.SetUserMode(false);  // design time
    g.SetBackColor(Rgb(3, 3, 3));
    QCOMPARE(g.BackOver(), Rgb(3, 3, 3));
    g.SetForeColor(Rgb(4, 4, 4));
    QCOMPARE(g.ForeOver(), Rgb(4, 4, 4));
    // Java metal at design time turns the font bold.
    QVERIFY(!g.FontBold());
    g.SetButtonType(Glimmet::JavaMetal);
    QVERIFY(g.FontBold());
  }

  void settersNotifyTheHost() {
    Glimmet g;
    QSignalSpy spy(&g, &Glimmet::PropertyChanged);
    g.SetCaption("x");
    g.SetEnabled(false);
    g.SetButtonType(3);
    g.SetValue(true);
    g.SetPicturePosition(1);
    g.SetFontBold(true);  // pass-throughs: no notice
    g.SetFontSize(14);
    QStringList names;
    for (const auto& args : spy) names << args.at(0).toString();
    QCOMPARE(names, QStringList({"Caption", "Enabled", "ButtonType", "Value", "PicturePosition"}));
    QCOMPARE(g.FontSize(), qint16(14));
    QVERIFY(g.Font().bold());
  }

  void captionChangeRepaintsAndMovesTheAccessKey() {
    QWidget form;
    form.resize(200, 60);
    Glimmet* g = CreateGlimmet(&form, "b", GlimmetPropertyBag{{"tx", "&Open"}});
    g->setGeometry(0, 0, 120, 32);
    form.show();
    QCOMPARE(g->AccessKeys(), QString("o"));
    const QImage before = g->Surface();
    g->SetCaption("&Close");
    QCOMPARE(g->AccessKeys(), QString("c"));
    QVERIFY(g->Surface() != before);
  }

  void lifeCycle() {
    QWidget form;
    form.resize(200, 60);
    Glimmet* g = CreateGlimmet(&form, "b", GlimmetPropertyBag{{"tx", "Go"}});
    g->setGeometry(0, 0, 120, 32);
    QVERIFY(g->RedrawEnabled());     // created
    QVERIFY(g->Surface().isNull());  // loaded, not yet sized or shown: nothing painted
    form.show();
    QCOMPARE(g->Surface().size(), QSize(120, 32));
    g->hide();
    QVERIFY(!g->RedrawEnabled());
    g->show();
    QVERIFY(g->RedrawEnabled());
    g->DisableRefresh();
    QVERIFY(!g->RedrawEnabled());
    const QImage frozen = g->Surface();
    g->SetCaption("Changed");
    QCOMPARE(g->Surface(), frozen);
    g->Refresh();
    QVERIFY(g->RedrawEnabled());
    QVERIFY(g->Surface() != frozen);
    // Height 0 never paints; a positive height paints up.
    g->resize(120, 0);
    g->resize(120, 30);
    QCOMPARE(g->Surface().size(), QSize(120, 30));
    QCOMPARE(g->DrawState(), 0);
  }

  void hostMayUseQtEnabled() {
    Glimmet g;
    g.setEnabled(false);
    QVERIFY(!g.Enabled());
    g.setEnabled(true);
    QVERIFY(g.Enabled());
  }
};

QTEST_MAIN(PropertiesTest)
#include "glimmet_properties_test.moc"
