// The problems pane: a table over the controller's list of problems, the
// counts above it, and the gestures that take the grid to a problem's cell.
#include "gui/problems_pane.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "day/entry_grid.h"
#include "ground/numbers.h"
#include "gui/qt_text.h"

namespace quorvin::gui {
namespace {

enum Column { kRow, kClient, kBOID, kISIN, kWhat, kColumns };

QString Grouped(int n) {
  return QString::fromStdString(quorvin::Grouped(n));
}

// "12 problems.  Blank field: 10   Unknown BO ID: 2", counts[k] being of kind k.
QString CountsText(const std::array<int, kProblemKinds>& counts) {
  QStringList parts;
  int total = 0;
  for (int k = 0; k < kProblemKinds; ++k) {
    total += counts[k];
    if (counts[k])
      parts << QString("%1: %2").arg(RowProblems::KindName(static_cast<ProblemKind>(k)),
                                     Grouped(counts[k]));
  }
  if (total == 0) return "No problems in the rows.";
  return QString("%1 problems.  ").arg(Grouped(total)) + parts.join("   ");
}

}  // namespace

ProblemsModel::ProblemsModel(MainController& controller, const Grid& grid, QObject* parent)
    : QAbstractTableModel(parent), controller_(controller), grid_(grid) {}

bool ProblemsModel::Refresh() {
  changed_ = false;
  controller_.Problems().Publish(this);
  return changed_;
}

void ProblemsModel::ListAboutToReset() {
  beginResetModel();
}

void ProblemsModel::ListReset() {
  endResetModel();
  changed_ = true;
}

void ProblemsModel::LinesAboutToChange(const ProblemLinesChange& c) {
  if (c.after > c.before)
    beginInsertRows({}, c.line + c.before, c.line + c.after - 1);
  else if (c.after < c.before)
    beginRemoveRows({}, c.line + c.after, c.line + c.before - 1);
}

void ProblemsModel::LinesChanged(const ProblemLinesChange& c) {
  if (c.after > c.before)
    endInsertRows();
  else if (c.after < c.before)
    endRemoveRows();
  if (const int kept = std::min(c.before, c.after); kept > 0)
    emit dataChanged(index(c.line, 0), index(c.line + kept - 1, kColumns - 1));
  changed_ = true;
}

int ProblemsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : controller_.ListedProblems().Listed();
}

int ProblemsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant ProblemsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
  const std::optional<Problem> line = controller_.ListedProblems().At(index.row());
  if (!line || !grid_.Valid(line->row, col::kISINCode)) return {};
  const Problem& p = *line;
  switch (index.column()) {
    case kRow:
      return p.row;
    case kClient:
      return Q(grid_.Text(p.row, col::kClientCode));
    case kBOID:
      return Q(grid_.Text(p.row, col::kBOID));
    case kISIN:
      return Q(grid_.Text(p.row, col::kISINCode));
    case kWhat:
      return QDisplay(controller_.ListedProblems().Describe(p));
  }
  return {};
}

QVariant ProblemsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const titles[kColumns] = {"Row", "Client Code", "BO ID", "ISIN Code",
                                               "What is wrong"};
  return section >= 0 && section < kColumns ? QString(titles[section]) : QVariant();
}

ProblemsPane::ProblemsPane(MainController& controller, const Grid& grid, QWidget* parent)
    : QDockWidget("Problems", parent), controller_(controller) {
  setObjectName("dockProblems");
  setAccessibleName("Problems");
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  auto* body = new QWidget(this);
  body->setObjectName("pnlProblems");
  counts_ = new QLabel(body);
  counts_->setObjectName("lblProblemCounts");
  counts_->setAccessibleName("Problem counts");
  counts_->setWordWrap(true);
  counts_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  counts_->installEventFilter(this);
  model_ = new ProblemsModel(controller, grid, this);
  list_ = new QTableView(body);
  list_->setObjectName("lstProblems");
  list_->setAccessibleName("Problems of the rows");
  list_->setToolTip("Press ENTER or double-click to go to the cell. F8 comes back here.");
  list_->setModel(model_);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setTabKeyNavigation(false);
  list_->setWordWrap(false);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
  list_->horizontalHeader()->setStretchLastSection(true);
  // The titles stand over their texts, as the grid's do.
  list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  const int digit = list_->fontMetrics().horizontalAdvance('0');
  list_->setColumnWidth(kRow, digit * 9);
  list_->setColumnWidth(kClient, digit * 12);
  list_->setColumnWidth(kBOID, digit * 19);
  list_->setColumnWidth(kISIN, digit * 15);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(4, 2, 4, 4);
  layout->addWidget(counts_);
  layout->addWidget(list_, 1);
  setWidget(body);

  auto go = [this](const QModelIndex& index) {
    if (index.isValid()) controller_.GoToProblem(index.row());
  };
  connect(list_, &QAbstractItemView::activated, this, go);
  connect(list_, &QAbstractItemView::doubleClicked, this, go);

  refresh_.setSingleShot(true);
  refresh_.setInterval(0);
  connect(&refresh_, &QTimer::timeout, this, &ProblemsPane::RefreshNow);
}

void ProblemsPane::Follow() {
  if (!refresh_.isActive()) refresh_.start();
}

void ProblemsPane::RefreshNow() {
  refresh_.stop();
  // The clerk's place in the list stays: the problem fixed goes, the next takes its line.
  const int at = list_->currentIndex().row();
  if (model_->Refresh() && model_->rowCount() > 0 && at >= 0)
    list_->setCurrentIndex(model_->index(std::min(at, model_->rowCount() - 1), 0));
  RowProblems& problems = controller_.Problems();
  std::array<int, kProblemKinds> counts;
  for (int k = 0; k < kProblemKinds; ++k) counts[k] = problems.Count(static_cast<ProblemKind>(k));
  counts_->setText(CountsText(counts));
  const int total = problems.Total();
  setWindowTitle(total == 0 ? QString("Problems") : QString("Problems (%1)").arg(Grouped(total)));
  emit refreshed();
}

bool ProblemsPane::eventFilter(QObject* watched, QEvent* event) {
  if (watched == counts_ && event->type() == QEvent::Resize &&
      static_cast<QResizeEvent*>(event)->size().width() !=
          static_cast<QResizeEvent*>(event)->oldSize().width()) {
    // As high as the counts of every kind at once need at this width, so that
    // an edit that brings or ends a kind leaves the pane and the grid where
    // they are.
    std::array<int, kProblemKinds> most;
    most.fill(9'999'999);
    const int width = std::max(counts_->contentsRect().width(), 1);
    const QRect needed = counts_->fontMetrics().boundingRect(QRect(0, 0, width, 1 << 20),
                                                             Qt::TextWordWrap, CountsText(most));
    const QMargins m = counts_->contentsMargins();
    counts_->setFixedHeight(needed.height() + m.top() + m.bottom());
  }
  return QDockWidget::eventFilter(watched, event);
}

void ProblemsPane::ShowAndFocus() {
  show();
  raise();
  RefreshNow();
  if (!list_->currentIndex().isValid() && model_->rowCount() > 0)
    list_->setCurrentIndex(model_->index(0, 0));
  list_->setFocus();
}

}  // namespace quorvin::gui
