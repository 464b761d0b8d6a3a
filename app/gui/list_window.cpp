// The Qt list window: its buttons, grid, cell editor and backup panel built
// and wired, and each ListView call carried out on screen.
#include "gui/list_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "gui/ui_style.h"
#include "gui/window_access.h"
#include "gui/window_support.h"

namespace quorvin::gui {
namespace {

// The stored layout of the window's buttons, in tab order.
const QList<QVariantMap>& ButtonLayout() {
  static const QList<QVariantMap> layout = {
      {{"name", "btnAdd"}, {"caption", "Add"}, {"tooltip", "Add a new row in the list."}},
      {{"name", "btnRemove"},
       {"caption", "Remove"},
       {"tooltip", "Remove the selected row from the list."}},
      {{"name", "btnSave"}, {"caption", "Save"}, {"tooltip", "Save the list."}},
      {{"name", "btnReload"},
       {"caption", "&Reload"},
       {"accesskey", "R"},
       {"tooltip", "Reload the list."}},
      {{"name", "btnSaveAsBackup"}, {"caption", "Save As Backup"}, {"tooltip", "Save the list."}},
      {{"name", "btnLoadBackup"},
       {"caption", "Load From Backup"},
       {"tooltip", "Load the list from backup."}},
      {{"name", "btnUpdateList"}, {"caption", "Send"}},
      {{"name", "btnClose"},
       {"caption", "Close"},
       {"tooltip", "Close the list and get back to data entry."}},
  };
  return layout;
}

const QList<QVariantMap>& BackupButtonLayout() {
  static const QList<QVariantMap> layout = {
      {{"name", "btnLoad_Backup"},
       {"caption", "Load"},
       {"tooltip", "Load the selected backup in the list."}},
      {{"name", "btnDelete_Backup"}, {"caption", "Delete"}},
      {{"name", "btnCancel_Backup"},
       {"caption", "Cancel"},
       {"tooltip", "Cancel loading any backup."}},
  };
  return layout;
}

ListControl ControlOfButton(const QString& name) {
  if (name == "btnAdd") return ListControl::BtnAdd;
  if (name == "btnRemove") return ListControl::BtnRemove;
  if (name == "btnSave") return ListControl::BtnSave;
  if (name == "btnReload") return ListControl::BtnReload;
  if (name == "btnLoadBackup") return ListControl::BtnLoadBackup;
  if (name == "btnClose") return ListControl::BtnClose;
  return ListControl::Other;
}

// The serial column is fixed: it looks like the header, not like data.
class FixedColumnDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->backgroundBrush = option->palette.button();
    option->palette.setColor(QPalette::Text, option->palette.color(QPalette::ButtonText));
    option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
  }
};

}  // namespace

ListWindow::ListWindow(AppContext& app, QWidget* parent) : QDialog(parent), grid_(2, 4, 1) {
  setObjectName("frmList");
  setModal(true);
  setFont(WindowFont());
  setSizeGripEnabled(true);
  measure_ = std::make_unique<QtTextMeasure>(font(), logicalDpiX());
  grid_.SetMeasure(measure_.get());
  model_ = new GridModel(grid_, this);
  controller_ = std::make_unique<ListController>(app, grid_, *this);
  BuildControls();
  BuildBackupPanel();
  WireButtons();
  controller_->Open();
  SetUpKeyboardAndLabels(*this);
  resize(920, 580);
}

ListWindow::~ListWindow() {
  // The widgets and the model read the grid: they go before it does.
  delete flxList_;
  delete model_;
}

void ListWindow::BuildControls() {
  cmbListOf_ = new QComboBox(this);
  cmbListOf_->setObjectName("cmbListOf");
  cmbListOf_->addItem(kListOfBOs);
  cmbListOf_->addItem(kListOfISINs);
  lblSelect_ = new QLabel(this);
  lblSelect_->setObjectName("lblSelect");
  txtItem_ = new QLineEdit(this);
  txtItem_->setObjectName("txtItem");
  txtItem_->setToolTip("Type the significant letters and Press <ENTER>.");
  txtItem_->setMinimumWidth(260);
  lblSelect_->setBuddy(txtItem_);

  flxList_ = new GridView(model_, measure_.get(), this);
  flxList_->setObjectName("flxList");
  flxList_->setItemDelegateForColumn(0, new FixedColumnDelegate(flxList_));

  txtEditor_ = new QLineEdit(flxList_->viewport());
  txtEditor_->setObjectName("txtEditor");
  txtEditor_->setFrame(false);
  txtEditor_->hide();
  txtEditor_->installEventFilter(this);
  txtItem_->installEventFilter(this);

  for (const QVariantMap& bag : ButtonLayout())
    buttons_.insert(bag.value("name").toString(), CreateButton(this, bag));

  auto* top = new QHBoxLayout;
  top->addWidget(cmbListOf_);
  top->addSpacing(16);
  top->addWidget(lblSelect_);
  top->addWidget(txtItem_, 1);

  frameBackup_ = new QGroupBox(this);
  auto* middle = new QHBoxLayout;
  middle->addWidget(flxList_, 1);
  middle->addWidget(frameBackup_);

  auto* bottom = new QHBoxLayout;
  for (const char* name : {"btnAdd", "btnRemove", "btnSave", "btnReload"})
    bottom->addWidget(buttons_[name]->Widget());
  bottom->addSpacing(16);
  for (const char* name : {"btnSaveAsBackup", "btnLoadBackup"})
    bottom->addWidget(buttons_[name]->Widget());
  bottom->addSpacing(16);
  bottom->addWidget(buttons_["btnUpdateList"]->Widget());
  bottom->addStretch(1);
  bottom->addWidget(buttons_["btnClose"]->Widget());

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(middle, 1);
  layout->addLayout(bottom);

  connect(cmbListOf_, &QComboBox::currentIndexChanged, this,
          [this](int index) { controller_->ChangeKind(index); });
  connect(flxList_, &GridView::enterPressed, this, [this] { controller_->StartCellEdit(); });
  connect(flxList_, &GridView::cellDoubleClicked, this, [this] { controller_->StartCellEdit(); });
  connect(flxList_, &GridView::keyReleased, this,
          [this](int code) { controller_->KeyUp(ListControl::Grid, code); });
  connect(flxList_, &GridView::scrolled, this, [this] { controller_->AbandonEdit(); });
}

void ListWindow::BuildBackupPanel() {
  frameBackup_->setObjectName("frameBackup");
  frameBackup_->setToolTip("Select a backup to load it.");
  frameBackup_->setMinimumWidth(240);
  lblTitleBackup_ = new QLabel(frameBackup_);
  lblTitleBackup_->setObjectName("lblTitle_Backup");
  lblTitleBackup_->setToolTip("Select a backup to load it.");
  QFont bold = lblTitleBackup_->font();
  bold.setBold(true);
  lblTitleBackup_->setFont(bold);
  lstBackups_ = new QListWidget(frameBackup_);
  lstBackups_->setObjectName("lstBackups");
  lstBackups_->setToolTip("List of backups");
  lstBackups_->setSelectionMode(QAbstractItemView::SingleSelection);

  auto* buttons = new QHBoxLayout;
  for (const QVariantMap& bag : BackupButtonLayout()) {
    AppButton* button = CreateButton(frameBackup_, bag);
    buttons_.insert(bag.value("name").toString(), button);
    buttons->addWidget(button->Widget());
  }
  auto* layout = new QVBoxLayout(frameBackup_);
  layout->addWidget(lblTitleBackup_);
  layout->addWidget(lstBackups_, 1);
  layout->addLayout(buttons);
  frameBackup_->hide();
  frameBackup_->setEnabled(false);

  connect(lstBackups_, &QListWidget::currentRowChanged, this,
          [this](int row) { controller_->SelectBackup(row); });
  connect(lstBackups_, &QListWidget::itemDoubleClicked, this,
          [this] { controller_->LoadBackup(); });
}

void ListWindow::WireButtons() {
  for (auto it = buttons_.begin(); it != buttons_.end(); ++it) {
    ListControl control = ControlOfButton(it.key());
    connect(it.value(), &AppButton::keyReleased, this,
            [this, control](int code) { controller_->KeyUp(control, code); });
  }
  ListController& c = *controller_;
  connect(buttons_["btnAdd"], &AppButton::clicked, this, [&c] { c.AddRowAndEdit(); });
  connect(buttons_["btnRemove"], &AppButton::clicked, this, [&c] { c.RemoveRows(); });
  connect(buttons_["btnSave"], &AppButton::clicked, this, [&c] { c.Save(); });
  connect(buttons_["btnReload"], &AppButton::clicked, this, [&c] { c.Reload(); });
  connect(buttons_["btnSaveAsBackup"], &AppButton::clicked, this, [&c] { c.SaveAsBackup(); });
  connect(buttons_["btnLoadBackup"], &AppButton::clicked, this, [&c] { c.OpenBackupPanel(); });
  connect(buttons_["btnUpdateList"], &AppButton::clicked, this, [&c] { c.UpdateList(); });
  connect(buttons_["btnClose"], &AppButton::clicked, this, &QDialog::reject);
  connect(buttons_["btnLoad_Backup"], &AppButton::clicked, this, [&c] { c.LoadBackup(); });
  connect(buttons_["btnDelete_Backup"], &AppButton::clicked, this, [&c] { c.DeleteBackup(); });
  connect(buttons_["btnCancel_Backup"], &AppButton::clicked, this, [&c] { c.CloseBackupPanel(); });
}

void ListWindow::reject() {
  // A running transfer owns the work files and the caption: the window stays
  // until it has ended. Unsaved grid edits are dropped without a question.
  if (controller_->Busy()) return;
  QDialog::reject();
}

void ListWindow::keyPressEvent(QKeyEvent* event) {
  // Esc belongs to the in-cell editor; elsewhere it must not close the window
  // and drop the clerk's edits by accident.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void ListWindow::keyReleaseEvent(QKeyEvent* event) {
  // Keys released on a control reach the window too; only the window's own count.
  QWidget* focus = focusWidget();
  if (!event->isAutoRepeat() && (focus == nullptr || focus == this))
    if (int code = LegacyKeyCode(event->key())) controller_->KeyUp(ListControl::Form, code);
  QDialog::keyReleaseEvent(event);
}

void ListWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (controller_) controller_->AbandonEdit();
}

bool ListWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtItem_) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::KeyPress &&
        (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
      controller_->Search(S(txtItem_->text()));
      return true;
    }
    if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat())
      if (int code = LegacyKeyCode(key->key())) controller_->KeyUp(ListControl::SearchBox, code);
  }
  if (watched == txtEditor_) {
    if (event->type() == QEvent::KeyPress) return EditorKey(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusOut) {
      auto reason = static_cast<QFocusEvent*>(event)->reason();
      // A message box takes the focus for a moment; only a real move elsewhere ends the edit.
      if (!handlingEnter_ && reason != Qt::ActiveWindowFocusReason &&
          reason != Qt::PopupFocusReason)
        controller_->AbandonEdit();
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool ListWindow::EditorKey(QKeyEvent* key) {
  bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  bool escape = key->key() == Qt::Key_Escape;
  if (!enter && !escape) return false;
  handlingEnter_ = true;
  if (enter)
    controller_->EditorEnter(S(txtEditor_->text()));
  else
    controller_->EditorEscape();
  handlingEnter_ = false;
  return true;
}

std::string ListWindow::Caption() const {
  return S(CaptionOf(windowTitle()));
}

void ListWindow::SetCaption(const std::string& caption) {
  setWindowTitle(ShownCaption(Q(caption)));
}

void ListWindow::SetWaitCursor(bool wait) {
  gui::SetWaitCursor(wait);
}

void ListWindow::ProcessPendingEvents() {
  gui::ProcessPendingEvents();
}

void ListWindow::ShowListKind(int comboIndex) {
  QSignalBlocker block(cmbListOf_);
  cmbListOf_->setCurrentIndex(comboIndex);
}

void ListWindow::SetSelectLabel(const std::string& text) {
  lblSelect_->setText(Q(text));
}

void ListWindow::SetGridToolTip(const std::string& text) {
  flxList_->setToolTip(Q(text));
}

void ListWindow::SetUpdateButton(const std::string& caption, const std::string& tooltip) {
  buttons_["btnUpdateList"]->SetCaption(Q(caption));
  buttons_["btnUpdateList"]->Widget()->setToolTip(Q(tooltip));
}

void ListWindow::ShowEditor(int row, int col, const std::string& text) {
  flxList_->scrollTo(model_->index(model_->TableRow(row), col));
  txtEditor_->setGeometry(flxList_->CellRect(row, col));
  txtEditor_->setText(Q(text));
  txtEditor_->show();
  txtEditor_->raise();
  txtEditor_->selectAll();
  txtEditor_->setFocus();
}

void ListWindow::HideEditor() {
  HideCellEditor(txtEditor_, flxList_);
}

void ListWindow::FocusGrid() {
  flxList_->setFocus();
}

int ListWindow::VisibleRows() const {
  int rowHeight = std::max(flxList_->verticalHeader()->defaultSectionSize(), 1);
  return std::max(flxList_->viewport()->height() / rowHeight, 1);
}

void ListWindow::SelectSearchText() {
  txtItem_->setFocus();
  txtItem_->selectAll();
}

void ListWindow::SetControlsEnabled(bool enabled) {
  for (QWidget* w : {static_cast<QWidget*>(cmbListOf_), static_cast<QWidget*>(lblSelect_),
                     static_cast<QWidget*>(txtItem_), static_cast<QWidget*>(flxList_)})
    w->setEnabled(enabled);
  for (const QVariantMap& bag : ButtonLayout())
    buttons_[bag.value("name").toString()]->SetEnabled(enabled);
}

void ListWindow::ShowBackupPanel(bool open, const std::string& title) {
  if (open) lblTitleBackup_->setText(Q(title));
  frameBackup_->setVisible(open);
  frameBackup_->setEnabled(open);
  for (QWidget* w : {static_cast<QWidget*>(lstBackups_), static_cast<QWidget*>(lblTitleBackup_)})
    w->setEnabled(open);
  for (const QVariantMap& bag : BackupButtonLayout())
    buttons_[bag.value("name").toString()]->SetEnabled(open);
  if (open)
    lstBackups_->setFocus();
  else
    flxList_->setFocus();
}

void ListWindow::ShowBackupEntries(const std::vector<std::string>& entries, int selected) {
  QSignalBlocker block(lstBackups_);
  lstBackups_->clear();
  for (const std::string& e : entries) lstBackups_->addItem(Q(e));
  lstBackups_->setCurrentRow(selected);
}

}  // namespace quorvin::gui
