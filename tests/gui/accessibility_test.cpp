// Every control of the main, list and settings windows as assistive tools
// read it: role, name, description and actions, and a Press that clicks once.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QtTest>

#include "glimmet.h"
#include "gui/list_window.h"
#include "gui/settings_window.h"
#include "gui_support.h"

using namespace quorvin;
using namespace quorvin::gui;

class AccessibilityTest : public QObject {
  Q_OBJECT

  std::unique_ptr<test::DemoInstall> install_;
  std::unique_ptr<AppShell> shell_;
  std::unique_ptr<ListWindow> list_;
  std::unique_ptr<SettingsWindow> settings_;

  QWidget* Window(const QString& name) {
    if (name == "frmList") return list_.get();
    if (name == "frmSettings") return settings_.get();
    return shell_->Main();
  }

 private slots:
  void initTestCase() {
    install_ = std::make_unique<test::DemoInstall>();
    shell_ = std::make_unique<AppShell>(install_->ProgramFolder());
    QVERIFY(shell_->Start());
    shell_->Context().listKind = "BO";
    list_ = std::make_unique<ListWindow>(shell_->Context(), shell_->Main());
    settings_ = std::make_unique<SettingsWindow>(shell_->Context(), shell_->Main());
    list_->show();
    settings_->show();
  }
  void cleanupTestCase() {
    settings_.reset();
    list_.reset();
    shell_.reset();
  }

  void everyControlReadsAsWhatItIs_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");  // empty: the tooltip; "-": none asked
    QTest::addColumn<bool>("press");           // a Glimmet that can be pressed now
    const int button = QAccessible::Button;
    // One row per control of one window.
    auto rowsOf = [](const char* window) {
      return [window](const char* object, int role, const QString& name, bool press = false,
                      const QString& description = {}) {
        QTest::newRow(qPrintable(QString(window) + "." + object))
            << window << role << name << description << press;
      };
    };
    // On Linux Qt reads a combo as the item it shows, elsewhere by its name.
    auto combo = [](const char* shown, const char* name) {
#ifdef Q_OS_UNIX
      Q_UNUSED(name);
      return QString(shown);
#else
      Q_UNUSED(shown);
      return QString(name);
#endif
    };
    auto main = rowsOf("frmMain");
    main("optPayIn", QAccessible::RadioButton, "Pay In Date :");
    main("optPayOut", QAccessible::RadioButton, "Pay Out Date :");
    main("dtpPayInOrPayOut", QAccessible::SpinBox, "Pay In Date");
    main("chkFreeEntry", QAccessible::CheckBox, "Free Entry");
    main("txtSearch", QAccessible::EditableText, "Find :");
    main("cmbSearch", QAccessible::ComboBox, combo("Client Code", "Find in"));
    main("flxEntries", QAccessible::Table, "Entries", false, "-");
    for (auto [object, caption] : {std::pair{"btnSearch", "Search"},
                                   {"btnLoadFromBTFile", "Load Payin"},
                                   {"btnAutoFields", "Auto-Fill"},
                                   {"btnSummarize", "Summarize"},
                                   {"btnCheck", "Check"},
                                   {"btnReport", "Report"},
                                   {"btnSave", "Save"},
                                   {"btnReload", "Reload"},
                                   {"btnSend", "Send"},
                                   {"btnList", "List"},
                                   {"btnSettings", "Settings"},
                                   {"btnExit", "Exit"}})
      main(object, button, caption, true);
    auto list = rowsOf("frmList");
    list("cmbListOf", QAccessible::ComboBox, combo("List of BOs", "List of"));
    list("txtItem", QAccessible::EditableText, "Select BO :");
    list("flxList", QAccessible::Table, "List", false, "-");
    list("btnAdd", button, "Add", true);
    list("btnRemove", button, "Remove", true);
    list("btnSave", button, "Save", true, "Save the list in its own file.");
    list("btnReload", button, "Reload", true);
    list("btnSaveAsBackup", button, "Save As Backup", true,
         "Save a dated backup copy of the list.");
    list("btnLoadBackup", button, "Load From Backup", true);
    list("btnUpdateList", button, "Send", true);
    list("btnClose", button, "Close", true);
    list("btnDelete_Backup", button, "Delete", false, "Delete the selected backup.");
    auto settings = rowsOf("frmSettings");
    settings("txtBrokerID", QAccessible::EditableText, "Broker ID :");
    settings("txtClearingBOID", QAccessible::EditableText, "Clearing BOID :");
    settings("txtDefaultBOIDFormat", QAccessible::EditableText, "BOID Format :");
    settings("txtBackupPath", QAccessible::EditableText, "Backup Location :");
    settings("btnSetBackupLocation", button, "Browse", true);
    settings("btnSave", button, "Save", true, "Save the settings.");
    settings("btnCancel", button, "Cancel", true, "Close the settings without saving.");
  }
  void everyControlReadsAsWhatItIs() {
    QFETCH(QString, window);
    const QString object = QString(QTest::currentDataTag()).section('.', 1);
    QWidget* w = Window(window)->findChild<QWidget*>(object);
    QVERIFY2(w, qPrintable(object));
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    QVERIFY(a);
    QFETCH(int, role);
    QFETCH(QString, name);
    QCOMPARE(int(a->role()), role);
    QCOMPARE(a->text(QAccessible::Name), name);
    QFETCH(QString, description);
    if (description != "-")
      QCOMPARE(a->text(QAccessible::Description),
               description.isEmpty() ? w->toolTip() : description);
    auto* g = qobject_cast<Glimmet*>(w);
    if (!g) return;
    QVERIFY2(!a->text(QAccessible::Description).isEmpty(), "every button says what it does");
    QFETCH(bool, press);
    const QString pressName = QAccessibleActionInterface::pressAction();
    QCOMPARE(a->actionInterface()->actionNames().contains(pressName), press);
    QVERIFY(
        a->actionInterface()->actionNames().contains(QAccessibleActionInterface::setFocusAction()));
    if (!press) return;
    // The window's own handler stays out of it: only the click is counted.
    QObject::disconnect(g, &Glimmet::Click, nullptr, nullptr);
    QSignalSpy clicks(g, &Glimmet::Click);
    a->actionInterface()->doAction(pressName);
    QCOMPARE(clicks.count(), 0);
    QTRY_COMPARE(clicks.count(), 1);
    QTest::qWait(20);
    QCOMPARE(clicks.count(), 1);
  }

  void settingsSaveIsTheDefaultButton() {
    QWidget* save = settings_->findChild<QWidget*>("btnSave");
    QVERIFY(QAccessible::queryAccessibleInterface(save)->state().defaultButton);
    QVERIFY(!QAccessible::queryAccessibleInterface(settings_->findChild<QWidget*>("btnCancel"))
                 ->state()
                 .defaultButton);
  }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
