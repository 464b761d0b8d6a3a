#pragma once
// A small read-only viewer for the report files: fixed-pitch text, Print, Close.
// Opened on a file and not waited for.
#include <QPlainTextEdit>
#include <QWidget>

namespace quorvin::gui {

class TextViewer : public QWidget {
  Q_OBJECT
 public:
  explicit TextViewer(const QString& path, QWidget* parent = nullptr);
  QString Text() const { return text_->toPlainText(); }

 private:
  void Print();
  QPlainTextEdit* text_;
};

}  // namespace quorvin::gui
