#pragma once
// The problems pane beside the entry grid: every problem of the rows, a count
// per kind, and Enter or a double-click to go to the cell. A thin view of the
// controller's RowProblems; it follows the grid's changes when the window is
// next idle, so a burst of changes costs one refresh, and an edit moves only
// the lines of the rows it changed.
#include <QAbstractTableModel>
#include <QDockWidget>
#include <QLabel>
#include <QTableView>
#include <QTimer>

#include "windows/main_controller.h"

namespace quorvin::gui {

class ProblemsModel : public QAbstractTableModel, private ProblemListFollower {
  Q_OBJECT
 public:
  ProblemsModel(MainController& controller, const Grid& grid, QObject* parent = nullptr);

  // Follows the list up to the rows; true when a line changed.
  bool Refresh();
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  // ProblemListFollower
  void ListAboutToReset() override;
  void ListReset() override;
  void LinesAboutToChange(const ProblemLinesChange& change) override;
  void LinesChanged(const ProblemLinesChange& change) override;

  MainController& controller_;
  const Grid& grid_;
  bool changed_ = false;
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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

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
