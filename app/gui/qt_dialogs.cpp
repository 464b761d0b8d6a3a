// Message boxes, the open-file and folder choosers, and the report viewer,
// each shown with Qt over the active window.
#include "gui/qt_dialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "ground/text.h"
#include "gui/qt_text.h"
#include "gui/text_viewer.h"

namespace quorvin::gui {

QWidget* QtDialogs::Owner() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  return fallbackParent_;
}

MsgAnswer QtDialogs::Message(const std::string& text, const std::string& title, MsgIcon icon,
                             MsgButtons buttons) {
  return MessageWithDetails(text, title, icon, buttons, {});
}

MsgAnswer QtDialogs::MessageWithDetails(const std::string& text, const std::string& title,
                                        MsgIcon icon, MsgButtons buttons,
                                        const std::string& details) {
  QMessageBox box(Owner());
  // A server's reply or a system error: bytes as they came, shown like cell text.
  if (!details.empty()) box.setDetailedText(QDisplay(details));
  box.setWindowTitle(Q(title));
  box.setText(QDisplay(text));
  switch (icon) {
    case MsgIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MsgIcon::Critical:
      box.setIcon(QMessageBox::Critical);
      break;
    case MsgIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case MsgIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case MsgIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
  }
  if (buttons != MsgButtons::Ok) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(buttons == MsgButtons::YesNoDefaultNo ? QMessageBox::No
                                                               : QMessageBox::Yes);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  int result = box.exec();
  if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  return result == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

QStringList ToQtNameFilters(const std::string& filter) {
  QStringList out;
  auto parts = SplitAll(filter, "|");
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    QString label = Q(std::string(parts[i]));
    QStringList patterns;
    for (const QString& p : Q(std::string(parts[i + 1])).split(';', Qt::SkipEmptyParts)) {
      patterns << p;
      if (p != p.toLower()) patterns << p.toLower();
    }
    // Qt reads the patterns from the last parentheses of the label.
    QString inLabel = "(" + Q(std::string(parts[i + 1])) + ")";
    if (label.endsWith(inLabel)) label.chop(inLabel.size());
    out << label.trimmed() + " (" + patterns.join(' ') + ")";
  }
  return out;
}

std::optional<std::string> QtDialogs::OpenFile(const std::string& title, const std::string& filter,
                                               int filterIndex, const std::string& startFolder) {
  QFileDialog dialog(Owner(), Q(title));
  // A file's path opens its folder with the file chosen: the clerk confirms it.
  const QFileInfo start(QPath(startFolder));
  if (!startFolder.empty() && start.isFile()) {
    dialog.setDirectory(start.absolutePath());
    dialog.selectFile(start.fileName());
  } else if (!startFolder.empty()) {
    dialog.setDirectory(QPath(startFolder));
  }
  dialog.setFileMode(QFileDialog::ExistingFile);
  QStringList filters = ToQtNameFilters(filter);
  dialog.setNameFilters(filters);
  if (filterIndex >= 1 && filterIndex <= filters.size())
    dialog.selectNameFilter(filters[filterIndex - 1]);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return SPath(dialog.selectedFiles().first());
}

std::string QtDialogs::BrowseFolder(const std::string& title, const std::string& startFolder) {
  QString chosen = QFileDialog::getExistingDirectory(Owner(), Q(title), QPath(startFolder));
  return SPath(chosen);
}

void QtDialogs::ViewTextFile(const std::string& path) {
  auto* viewer = new TextViewer(QPath(path));
  viewer->show();
}

}  // namespace quorvin::gui
