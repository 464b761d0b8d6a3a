#pragma once
// frmHoldingMessage: the rows a holding check failed, one line each, in a
// fixed-pitch font so that they line up. Opened modally by the check.
#include <QDialog>
#include <QPointer>
#include <string>

#include "work/checks/holding_check.h"

class QPlainTextEdit;

namespace quorvin::gui {

class HoldingMessageWindow : public QDialog {
  Q_OBJECT
 public:
  explicit HoldingMessageWindow(const std::string& message, QWidget* parent = nullptr);

 private:
  QPlainTextEdit* txtMessage_;
};

// The check's view of the window: a window still open is unloaded first, so
// that the new one always shows the newest message.
class QtHoldingMessageView : public HoldingMessageView {
 public:
  explicit QtHoldingMessageView(QWidget* parent = nullptr) : parent_(parent) {}
  void ShowModal(const std::string& text) override;

 private:
  QPointer<QWidget> parent_;
  QPointer<HoldingMessageWindow> open_;
};

}  // namespace quorvin::gui
