// Tab order, grids that Tab leaves, labels tied to their fields, the
// descriptions of buttons that share a tooltip, and Enter on the settings
// window. Controls are found by their system names.
#include "gui/window_access.h"

#include <QAbstractItemView>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>
#include <initializer_list>

#include "gui/button_factory.h"

namespace quorvin::gui {
namespace {

QWidget* Named(QWidget& window, const char* name) {
  return window.findChild<QWidget*>(QString::fromLatin1(name));
}

// Tab visits the named controls in this order, one after the other.
void ChainTabOrder(QWidget& window, std::initializer_list<const char*> names) {
  QWidget* previous = nullptr;
  for (const char* name : names) {
    QWidget* w = Named(window, name);
    if (!w) continue;
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

// The flex grid moves between cells on the arrow keys only; Tab goes on to
// the next control, also right after an edit has given the grid the focus.
void LetTabLeave(QWidget& window, const char* grid, const QString& name) {
  if (auto* view = qobject_cast<QAbstractItemView*>(Named(window, grid))) {
    view->setTabKeyNavigation(false);
    view->setAccessibleName(name);
  }
}

void TieLabel(QWidget& window, const QString& labelText, const char* field) {
  for (QLabel* label : window.findChildren<QLabel*>())
    if (label->text() == labelText) label->setBuddy(Named(window, field));
}

void Describe(QWidget& window, const char* button, const QString& description) {
  if (QWidget* w = Named(window, button)) w->setAccessibleDescription(description);
}

void Name(QWidget& window, const char* field, const QString& name) {
  if (QWidget* w = Named(window, field)) w->setAccessibleName(name);
}

// Enter that no field uses (a text box passes it on) presses the default button.
class DefaultButtonKey : public QObject {
 public:
  DefaultButtonKey(QWidget& window, AppButton* button) : QObject(&window), button_(button) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && watched == parent()) {
      auto* key = static_cast<QKeyEvent*>(event);
      const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
      if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        button_->Press();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  AppButton* button_;
};

void SetUpMainWindow(QWidget& w) {
  LetTabLeave(w, "flxEntries", "Entries");
  TieLabel(w, "Find :", "txtSearch");
  // Read on Windows; on Linux a combo reads as the item it shows.
  Name(w, "cmbSearch", "Find in");
  Name(w, "txtEditor", "Cell value");
  Name(w, "dtpDate", "Cell date");
  // The settlement date is read with the option it stands beside.
  auto* payIn = qobject_cast<QRadioButton*>(Named(w, "optPayIn"));
  QWidget* date = Named(w, "dtpPayInOrPayOut");
  if (payIn && date) {
    auto name = [date](bool in) { date->setAccessibleName(in ? "Pay In Date" : "Pay Out Date"); };
    name(payIn->isChecked());
    QObject::connect(payIn, &QRadioButton::toggled, date, name);
  }
  ChainTabOrder(
      w, {"optPayIn",          "optPayOut",     "dtpPayInOrPayOut", "chkFreeEntry", "txtSearch",
          "cmbSearch",         "btnSearch",     "flxEntries",       "txtEditor",    "dtpDate",
          "btnLoadFromBTFile", "btnAutoFields", "btnSummarize",     "btnCheck",     "btnReport",
          "btnSave",           "btnReload",     "btnSend",          "btnList",      "btnSettings",
          "btnExit",           "lstProblems",   "btnProblems"});
}

void SetUpListWindow(QWidget& w) {
  LetTabLeave(w, "flxList", "List");
  Name(w, "txtEditor", "Cell value");
  Name(w, "lstBackups", "Backups");
  Name(w, "cmbListOf", "List of");
  // Three buttons whose tooltips say the same or nothing.
  Describe(w, "btnSave", "Save the list in its own file.");
  Describe(w, "btnSaveAsBackup", "Save a dated backup copy of the list.");
  Describe(w, "btnDelete_Backup", "Delete the selected backup.");
  ChainTabOrder(w, {"cmbListOf", "txtItem", "flxList", "txtEditor", "lstBackups", "btnLoad_Backup",
                    "btnDelete_Backup", "btnCancel_Backup", "btnAdd", "btnRemove", "btnSave",
                    "btnReload", "btnSaveAsBackup", "btnLoadBackup", "btnUpdateList", "btnClose"});
}

void SetUpSettingsWindow(QWidget& w) {
  TieLabel(w, "Backup Location :", "txtBackupPath");
  Describe(w, "btnSave", "Save the settings.");
  Describe(w, "btnCancel", "Close the settings without saving.");
  ChainTabOrder(w, {"txtBrokerID", "txtClearingBOID", "txtDefaultBOIDFormat", "txtBackupPath",
                    "btnSetBackupLocation", "btnSave", "btnCancel"});
  if (QWidget* save = Named(w, "btnSave"))
    if (auto* button = save->findChild<AppButton*>()) {
      button->SetDefault(true);
      new DefaultButtonKey(w, button);
    }
}

}  // namespace

void SetUpKeyboardAndLabels(QWidget& window) {
  const QString name = window.objectName();
  if (name == "frmMain")
    SetUpMainWindow(window);
  else if (name == "frmList")
    SetUpListWindow(window);
  else if (name == "frmSettings")
    SetUpSettingsWindow(window);
}

}  // namespace quorvin::gui
