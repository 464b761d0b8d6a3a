// Showing the holding check's failing rows in a modal window, in a
// fixed-pitch font.
#include "gui/holding_message_window.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ground/version.h"
#include "gui/qt_text.h"
#include "gui/ui_style.h"

namespace quorvin::gui {

HoldingMessageWindow::HoldingMessageWindow(const std::string& message, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("frmHoldingMessage"));
  setWindowTitle(Q(WindowCaption(" : Holding Balance Message.")));
  setModal(true);
  txtMessage_ = new QPlainTextEdit(this);
  txtMessage_->setObjectName(QStringLiteral("txtMessage"));
  txtMessage_->setReadOnly(true);
  txtMessage_->setLineWrapMode(QPlainTextEdit::NoWrap);
  txtMessage_->setFont(FixedPitchFont(8.25));
  txtMessage_->setPlainText(QDisplay(message));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(txtMessage_);
  resize(760, 360);
}

void QtHoldingMessageView::ShowModal(const std::string& text) {
  delete open_.data();
  HoldingMessageWindow window(text, parent_);
  open_ = &window;
  window.exec();
}

}  // namespace quorvin::gui
