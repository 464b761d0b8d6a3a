// events and looks driven through real input with QTest.
#include <QApplication>
#include <QCursor>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include "glimmet.h"
// Qt's own entry for platform mouse input, the one QTest uses.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);

class InteractionTest : public QObject {
  Q_OBJECT

  QWidget* window_ = nullptr;
  Glimmet* button_ = nullptr;
  Glimmet* other_ = nullptr;
  QStringList log_;

  void Record(Glimmet* b) {
    connect(b, &Glimmet::Click, this, [this] { log_ << "Click"; });
    connect(b, &Glimmet::MouseDown, this,
            [this](short& bt, short&, float&, float&) { log_ << QString("MouseDown %1").arg(bt); });
    connect(b, &Glimmet::MouseUp, this,
            [this](short& bt, short&, float&, float&) { log_ << QString("MouseUp %1").arg(bt); });
    connect(b, &Glimmet::KeyDown, this,
            [this](short& k, short& s) { log_ << QString("KeyDown %1 %2").arg(k).arg(s); });
    connect(b, &Glimmet::KeyUp, this,
            [this](short& k, short& s) { log_ << QString("KeyUp %1 %2").arg(k).arg(s); });
    connect(b, &Glimmet::KeyPress, this,
            [this](short& c) { log_ << QString("KeyPress %1").arg(c); });
    connect(b, &Glimmet::MouseOver, this, [this] { log_ << "MouseOver"; });
    connect(b, &Glimmet::MouseOut, this, [this] { log_ << "MouseOut"; });
  }

 private slots:
  void init() {
    log_.clear();
    window_ = new QWidget;
    window_->resize(300, 120);
    button_ = CreateGlimmet(window_, "btnSave", GlimmetPropertyBag{{"btype", 3}, {"tx", "&Save"}});
    button_->setGeometry(10, 10, 120, 32);
    other_ = CreateGlimmet(window_, "btnExit", GlimmetPropertyBag{{"btype", 3}, {"tx", "E&xit"}});
    other_->setGeometry(150, 10, 120, 32);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    QCursor::setPos(window_->mapToGlobal(QPoint(290, 110)));  // away from both buttons
    QApplication::processEvents();
    Record(button_);
  }
  void cleanup() {
    delete window_;
    window_ = nullptr;
  }

  void leftClickRaisesDownUpClick() {
    QTest::mouseClick(button_, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    QCOMPARE(log_, QStringList({"MouseDown 1", "MouseUp 1", "Click"}));
    QCOMPARE(button_->DrawState(), 0);
  }

  void pressShowsDownLookAndReleaseUp() {
    QTest::mousePress(button_, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    QCOMPARE(button_->DrawState(), 2);
    QTest::mouseRelease(button_, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    QCOMPARE(button_->DrawState(), 0);
  }

  void rightButtonGivesNoClickAndNoDownLook() {
    QTest::mousePress(button_, Qt::RightButton, Qt::NoModifier, QPoint(20, 10));
    QCOMPARE(button_->DrawState(), 0);
    QTest::mouseRelease(button_, Qt::RightButton, Qt::NoModifier, QPoint(20, 10));
    QCOMPARE(log_, QStringList({"MouseDown 2", "MouseUp 2"}));
  }

  void doubleClickRaisesMouseDownTwiceAndClickOnce() {
    // Platform input as a real double click brings it: press, release, and a
    // second press soon after, which Qt turns into a double-click event.
    QWindow* w = window_->windowHandle();
    const QPointF at(30, 20), global = window_->mapToGlobal(at);
    static int time = 10'000'000;
    time += 10'000;
    auto send = [&](Qt::MouseButtons state, QEvent::Type type) {
      qt_handleMouseEvent(w, at, global, state, Qt::LeftButton, type, Qt::NoModifier, time += 10);
    };
    send(Qt::LeftButton, QEvent::MouseButtonPress);
    send(Qt::NoButton, QEvent::MouseButtonRelease);
    send(Qt::LeftButton, QEvent::MouseButtonPress);
    QCOMPARE(button_->DrawState(), 2);
    send(Qt::NoButton, QEvent::MouseButtonRelease);
    QCOMPARE(log_, QStringList({"MouseDown 1", "MouseUp 1", "Click", "MouseDown 1", "MouseUp 1"}));
    QCOMPARE(button_->DrawState(), 0);
  }

  void spaceClicks() {
    QTest::keyPress(button_, Qt::Key_Space);
    QCOMPARE(button_->DrawState(), 2);
    QTest::keyRelease(button_, Qt::Key_Space);
    QCOMPARE(button_->DrawState(), 0);
    QCOMPARE(log_, QStringList({"KeyDown 32 0", "KeyPress 32", "KeyUp 32 0", "Click"}));
  }

  void keyCodesAsThePlatformHasThem() {
    QTest::keyClick(button_, Qt::Key_Insert);
    QTest::keyClick(button_, Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(button_, Qt::Key_A, Qt::ControlModifier);
    // The modifier keys themselves come as keys too (16 Shift, 17 Ctrl).
    QCOMPARE(log_.filter("KeyUp"),
             QStringList({"KeyUp 45 0", "KeyUp 46 1", "KeyUp 16 0", "KeyUp 65 2", "KeyUp 17 0"}));
  }

  void hostChangesKeyArgumentsByReference() {
    // A KeyDown handler that sets the code to 0 suppresses the space press look;
    // then the release is no click either.
    connect(button_, &Glimmet::KeyDown, this, [](short& k, short&) {
      if (k == 32) k = 0;
    });
    QTest::keyPress(button_, Qt::Key_Space);
    QCOMPARE(button_->DrawState(), 0);
    QTest::keyRelease(button_, Qt::Key_Space);
    QCOMPARE(log_.count("Click"), 0);

    // KeyUp: the host sees the code and may change it; the control goes on
    // with the changed value (a changed 32 is no click).
    log_.clear();
    short seen = -1;
    auto c = connect(button_, &Glimmet::KeyUp, this, [&seen](short& k, short& s) {
      seen = k;
      k = 32;
      s = 0;
    });
    QTest::keyClick(button_, Qt::Key_Delete);
    QCOMPARE(seen, short(46));
    disconnect(c);
    // Both: a mouse handler may change the button; a right button made left clicks.
    log_.clear();
    connect(button_, &Glimmet::MouseDown, this, [](short& b, short&, float&, float&) { b = 1; });
    QTest::mouseClick(button_, Qt::RightButton, Qt::NoModifier, QPoint(20, 10));
    QCOMPARE(log_.count("Click"), 1);
  }

  void arrowsMoveTheFocus() {
    button_->setFocus();
    QTRY_VERIFY(button_->hasFocus());
    QVERIFY(button_->HasFocus());
    QTest::keyClick(button_, Qt::Key_Right);
    QTRY_VERIFY(other_->hasFocus());
    QVERIFY(!button_->HasFocus());
    QTest::keyClick(other_, Qt::Key_Up);
    QTRY_VERIFY(button_->hasFocus());
    QTest::keyClick(button_, Qt::Key_Down);
    QTRY_VERIFY(other_->hasFocus());
    QTest::keyClick(other_, Qt::Key_Left);
    QTRY_VERIFY(button_->hasFocus());
  }

  void accessKeyClicks() {
    QCOMPARE(button_->AccessKeys(), QString("s"));
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_));
    QTest::keyClick(window_, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(log_.count("Click"), 1);
    QSignalSpy exitClicks(other_, &Glimmet::Click);
    QTest::keyClick(window_, Qt::Key_X, Qt::AltModifier);
    QCOMPARE(exitClicks.count(), 1);
    QCOMPARE(log_.count("Click"), 1);
    // A caption change moves the access key.
    button_->SetCaption("Sa&ve");
    QTest::keyClick(window_, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(log_.count("Click"), 1);
    QTest::keyClick(window_, Qt::Key_V, Qt::AltModifier);
    QCOMPARE(log_.count("Click"), 2);
  }

  void hoverRaisesMouseOverOnceAndMouseOutOnTheNextTick() {
    QCursor::setPos(button_->mapToGlobal(QPoint(30, 15)));
    QTest::mouseMove(button_, QPoint(30, 15));
    QTRY_VERIFY(button_->IsHovering());
    QTest::mouseMove(button_, QPoint(40, 16));
    QTest::mouseMove(button_, QPoint(50, 17));
    QTest::qWait(20);  // timer ticks while over: nothing
    QCOMPARE(log_.count("MouseOver"), 1);
    QCOMPARE(log_.count("MouseOut"), 0);
    QVERIFY(button_->HoverTimerActive());
    // The hovered look: the orange ring of the XP style.
    QCOMPARE(QColor(button_->Surface().pixel(1, 5)), QColor(255, 178, 49));

    QCursor::setPos(window_->mapToGlobal(QPoint(290, 110)));
    QTRY_COMPARE(log_.count("MouseOut"), 1);
    QVERIFY(!button_->IsHovering());
    QVERIFY(!button_->HoverTimerActive());
    QVERIFY(QColor(button_->Surface().pixel(1, 2)) != QColor(255, 178, 49));
    QCOMPARE(log_.count("MouseOver"), 1);
  }

  void anotherWindowOnTopIsNotOver() {
    // A child window covering the button counts as not over.
    auto* cover = new QWidget(window_);
    cover->setGeometry(10, 10, 60, 32);
    cover->show();
    QCursor::setPos(button_->mapToGlobal(QPoint(30, 15)));
    QApplication::processEvents();
    // The move reaches the button itself (as when it holds the mouse), but the
    // window under the cursor is the cover.
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 15), button_->mapToGlobal(QPointF(30, 15)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button_, &move);
    QCOMPARE(log_.count("MouseOver"), 0);
    QVERIFY(!button_->IsHovering());
  }

  void checkBoxLatches() {
    button_->SetCheckBoxBehaviour(true);
    QSignalSpy changed(button_, &Glimmet::PropertyChanged);
    QTest::mouseClick(button_, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    QVERIFY(button_->Value());
    QCOMPARE(button_->DrawState(), 2);  // stays down after release
    QCursor::setPos(window_->mapToGlobal(QPoint(290, 110)));
    QTest::mouseMove(button_, QPoint(200, 100));
    QCOMPARE(button_->DrawState(), 2);  // and after the mouse leaves
    QTest::keyClick(button_, Qt::Key_Space);
    QVERIFY(!button_->Value());
    QCOMPARE(button_->DrawState(), 0);
    QTest::keyClick(window_, Qt::Key_S, Qt::AltModifier);
    QVERIFY(button_->Value());
    QCOMPARE(changed.count(), 0);  // the host hears no property change
  }

  void disabledGivesNoClick() {
    button_->SetEnabled(false);
    QTest::mouseClick(button_, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    QTest::keyClick(window_, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(log_.count("Click"), 0);
  }

  void draggingOutDrawsUpAndBackInDown() {
    QCursor::setPos(button_->mapToGlobal(QPoint(20, 10)));
    QTest::mousePress(button_, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    QCOMPARE(button_->DrawState(), 2);
    QCursor::setPos(window_->mapToGlobal(QPoint(290, 110)));
    QMouseEvent out(QEvent::MouseMove, QPointF(280, 100), button_->mapToGlobal(QPointF(280, 100)),
                    Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button_, &out);
    QCOMPARE(button_->DrawState(), 0);
    QCursor::setPos(button_->mapToGlobal(QPoint(20, 10)));
    QMouseEvent in(QEvent::MouseMove, QPointF(20, 10), button_->mapToGlobal(QPointF(20, 10)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button_, &in);
    QCOMPARE(button_->DrawState(), 2);
    QVERIFY(!button_->IsHovering());
    QTest::mouseRelease(button_, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    QCOMPARE(log_.count("Click"), 1);
  }
};

QTEST_MAIN(InteractionTest)
#include "glimmet_interaction_test.moc"
