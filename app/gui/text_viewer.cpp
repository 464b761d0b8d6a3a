// Opening a report file read-only in a fixed-pitch window and printing it.
#include "gui/text_viewer.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/ui_style.h"

namespace quorvin::gui {

TextViewer::TextViewer(const QString& path, QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("TextViewer");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QFileInfo(path).fileName());
  text_ = new QPlainTextEdit(this);
  text_->setObjectName("txtReport");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(FixedPitchFont(QFontDatabase::systemFont(QFontDatabase::FixedFont).pointSizeF()));
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) {
    QString content = QString::fromLatin1(file.readAll());
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text_->setPlainText(content);
  } else {
    text_->setPlainText(tr("The file %1 cannot be opened: %2").arg(path, file.errorString()));
  }
  auto* print = new QPushButton(tr("&Print..."), this);
  print->setObjectName("btnPrint");
  auto* close = new QPushButton(tr("&Close"), this);
  close->setObjectName("btnClose");
  connect(print, &QPushButton::clicked, this, &TextViewer::Print);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(print);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addLayout(buttons);
  resize(760, 560);
}

void TextViewer::Print() {
  QPrinter printer;
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() == QDialog::Accepted) text_->print(&printer);
}

}  // namespace quorvin::gui
