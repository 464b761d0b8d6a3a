#pragma once
// frmSettings: the broker's identity and the data folder.
#include <QDialog>
#include <QLineEdit>

#include "day/app_context.h"

namespace quorvin::gui {

class SettingsWindow : public QDialog {
  Q_OBJECT
 public:
  SettingsWindow(AppContext& app, QWidget* parent = nullptr);

 private:
  void Browse();
  void Save();
  QLineEdit* AddBox(const char* name, const std::string& value);

  AppContext& app_;
  QLineEdit* txtBrokerID_;
  QLineEdit* txtClearingBOID_;
  QLineEdit* txtDefaultBOIDFormat_;
  QLineEdit* txtBackupPath_;
};

}  // namespace quorvin::gui
