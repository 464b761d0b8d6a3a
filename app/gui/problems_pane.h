#pragma once
// The problems pane beside the entry grid: every problem of the rows, a count
// per kind, and Enter or a double-click to go to the cell. A thin view of the
// controller's RowProblems; it follows the grid's changes when the window is
// next idle, so a burst of changes costs one refresh.
#include <QAbstractTableModel>
#include <QDockWidget>
#include <QLabel>
#include <QTableView>
#include <QTimer>
#include <cstdint>

#include "windows/main_controller.h"

namespace quorvin::gui {

class ProblemsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  ProblemsModel(MainController& controller, const Grid& grid, QObject* parent = nullptr);

  // Takes the newest list; true when it changed.
  bool Refresh();
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  MainController& controller_;
  const Grid& grid_;
  const std::vector<Problem>* list_ = nullptr;
  std::uint64_t generation_ = 0;
};

class ProblemsPane : public QDockWidget {
  Q_OBJECT
 public:
  ProblemsPane(MainController& controller, const Grid& grid, QWidget* parent = nullptr);

  QTableView* List() const { return list_; }
  // Refreshes when the window is next idle.
  void Follow();
  // Refreshes now.
  void RefreshNow();
  // Shows the pane and puts the focus on its list.
  void ShowAndFocus();

 signals:
  void refreshed();

 private:
  MainController& controller_;
  ProblemsModel* model_;
  QLabel* counts_;
  QTableView* list_;
  QTimer refresh_;
};

}  // namespace quorvin::gui
