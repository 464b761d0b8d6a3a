// What assistive tools read of a Glimmet and what its Press does.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QTest>

#include "glimmet.h"


class AccessTest : public QObject {
  Q_OBJECT

  QWidget* window_ = nullptr;
  Glimmet* Make(const GlimmetPropertyBag& bag, const QString& tip = {}) {
    Glimmet* g = CreateGlimmet(window_, "btn", bag);
    g->setGeometry(10, 10, 120, 32);
    g->setToolTip(tip);
    g->show();
    return g;
  }
  static QAccessibleInterface* Of(Glimmet* g) { return QAccessible::queryAccessibleInterface(g); }

 private slots:
  void init() {
    window_ = new QWidget;
    window_->resize(300, 80);
    window_->show();
  }
  void cleanup() {
    delete window_;
  }

  void readsAsItsCaptionTooltipAndAccessKey_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("check");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QStringList>("actions");
    const QStringList press{QAccessibleActionInterface::pressAction(),
                            QAccessibleActionInterface::setFocusAction()};
    const QStringList toggle{QAccessibleActionInterface::toggleAction(),
                             QAccessibleActionInterface::setFocusAction()};
    const int button = QAccessible::Button, box = QAccessible::CheckBox;
    QTest::newRow("plain") << "Send" << false << "Send" << button << "" << press;
    QTest::newRow("access key") << "&Reload" << false << "Reload" << button << "Alt+R" << press;
    QTest::newRow("doubled ampersand")
        << "Save && Exit" << false << "Save & Exit" << button << "" << press;
    QTest::newRow("both") << "A && &B" << false << "A & B" << button << "Alt+B" << press;
    QTest::newRow("check box") << "&Free" << true << "Free" << box << "Alt+F" << toggle;
  }
  void readsAsItsCaptionTooltipAndAccessKey() {
    QFETCH(QString, caption);
    QFETCH(bool, check);
    Glimmet* g = Make({{"btype", 3}, {"tx", caption}, {"check", check}}, "Send the records.");
    QAccessibleInterface* a = Of(g);
    QVERIFY(a);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, shortcut);
    QFETCH(QStringList, actions);
    QCOMPARE(int(a->role()), role);
    QCOMPARE(a->text(QAccessible::Name), name);
    QCOMPARE(a->text(QAccessible::Description), "Send the records.");
    QCOMPARE(a->text(QAccessible::Accelerator), shortcut);
    QCOMPARE(a->actionInterface()->actionNames(), actions);
    g->setAccessibleName("Send to the exchange");
    QCOMPARE(a->text(QAccessible::Name), "Send to the exchange");
  }

  void statesFollowTheButton() {
    Glimmet* g = Make({{"btype", 3}, {"tx", "Save"}});
    QAccessibleInterface* a = Of(g);
    QVERIFY(!a->state().defaultButton && !a->state().disabled && !a->state().focused);
    g->SetDisplayAsDefault(true);
    g->setFocus();
    QTRY_VERIFY(a->state().focused);
    QVERIFY(a->state().defaultButton);
    QTest::keyPress(g, Qt::Key_Space);
    QVERIFY(a->state().pressed);
    QTest::keyRelease(g, Qt::Key_Space);
    QVERIFY(!a->state().pressed);
    g->SetEnabled(false);
    QVERIFY(a->state().disabled);
    QVERIFY(
        !a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
  }

  void pressClicksOnceAfterTheCallReturns() {
    Glimmet* g = Make({{"btype", 3}, {"tx", "Send"}, {"check", false}});
    Glimmet* toggle = Make({{"btype", 3}, {"tx", "Free"}, {"check", true}});
    QSignalSpy clicks(g, &Glimmet::Click), toggles(toggle, &Glimmet::Click);
    Of(g)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicks.count(), 0);  // queued: never inside the tool's call
    QTRY_COMPARE(clicks.count(), 1);
    Of(toggle)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QTRY_COMPARE(toggles.count(), 1);
    QVERIFY(toggle->Value());
    // A press that finds the button disabled by the time it runs does nothing.
    Of(g)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    g->SetEnabled(false);
    QTest::qWait(50);
    QCOMPARE(clicks.count(), 1);
  }
};

QTEST_MAIN(AccessTest)
#include "glimmet_access_test.moc"
