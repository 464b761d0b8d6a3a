#pragma once
#include <QMainWindow>

namespace quorvin::gui {

class AppShell;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(AppShell& shell, QWidget* parent = nullptr);

 private:
  AppShell& shell_;
};

}  // namespace quorvin::gui
