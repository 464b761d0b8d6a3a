// The Qt settings window: its four boxes, and the Browse and Save buttons
// handed to the settings rules.
#include "gui/settings_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ground/version.h"
#include "gui/button_factory.h"
#include "gui/qt_text.h"
#include "gui/ui_style.h"
#include "gui/window_access.h"
#include "windows/settings_window.h"

namespace quorvin::gui {

SettingsWindow::SettingsWindow(AppContext& app, QWidget* parent) : QDialog(parent), app_(app) {
  setObjectName("frmSettings");
  setFont(WindowFont());
  setModal(true);
  setWindowTitle(Q(WindowCaption(" : Settings")));
  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight);
  const Settings& s = app_.settings;
  txtBrokerID_ = AddBox("txtBrokerID", s.BrokerID);
  txtClearingBOID_ = AddBox("txtClearingBOID", s.ClearingBOID);
  txtDefaultBOIDFormat_ = AddBox("txtDefaultBOIDFormat", s.DefaultBOIDFormat);
  txtBackupPath_ = AddBox("txtBackupPath", s.BackupLocation);
  txtBackupPath_->setText(QPath(s.BackupLocation));  // a folder's name, not 8-bit text
  txtBackupPath_->setMinimumWidth(320);
  AppButton* browse = CreateButton(this, {{"name", "btnSetBackupLocation"},
                                          {"caption", "Browse"},
                                          {"tooltip", "Set the Backup Folder Location."}});
  AppButton* save = CreateButton(this, {{"name", "btnSave"}, {"caption", "Save"}});
  AppButton* cancel = CreateButton(this, {{"name", "btnCancel"}, {"caption", "Cancel"}});

  form->addRow("Broker ID :", txtBrokerID_);
  form->addRow("Clearing BOID :", txtClearingBOID_);
  form->addRow("BOID Format :", txtDefaultBOIDFormat_);
  auto* backupRow = new QHBoxLayout;
  backupRow->addWidget(txtBackupPath_, 1);
  backupRow->addWidget(browse->Widget());
  form->addRow("Backup Location :", backupRow);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(save->Widget());
  buttons->addWidget(cancel->Widget());
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addSpacing(8);
  layout->addLayout(buttons);

  connect(browse, &AppButton::clicked, this, &SettingsWindow::Browse);
  connect(save, &AppButton::clicked, this, &SettingsWindow::Save);
  connect(cancel, &AppButton::clicked, this, &QDialog::reject);
  SetUpKeyboardAndLabels(*this);
}

QLineEdit* SettingsWindow::AddBox(const char* name, const std::string& value) {
  auto* box = new QLineEdit(Q(value), this);
  box->setObjectName(name);
  return box;
}

void SettingsWindow::Browse() {
  txtBackupPath_->setText(QPath(BrowseBackupLocation(app_, SPath(txtBackupPath_->text()))));
}

void SettingsWindow::Save() {
  SettingsBoxes boxes{S(txtBrokerID_->text()), S(txtClearingBOID_->text()),
                      S(txtDefaultBOIDFormat_->text()), SPath(txtBackupPath_->text())};
  SaveSettingsBoxes(app_, boxes);
  txtBrokerID_->setText(Q(boxes.brokerId));
  txtClearingBOID_->setText(Q(boxes.clearingBoid));
  txtDefaultBOIDFormat_->setText(Q(boxes.boidFormat));
  txtBackupPath_->setText(QPath(boxes.backupPath));
}

}  // namespace quorvin::gui
