#pragma once
// Shared pieces of the widget tests: a program folder with a valid settings
// file and the demo data, the application shell started on it, and answers
// for the real modal boxes the windows open.
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "gui/app_shell.h"
#include "gui/main_window.h"
#include "support/temp_folder.h"

namespace quorvin::test {

// A program folder holding Quorvin.ini and a data folder copied from demo/.
class DemoInstall {
 public:
  DemoInstall();
  std::string ProgramFolder() const { return program_.Path(); }
  const TempFolder& Data() const { return data_; }

 private:
  TempFolder program_, data_;
};

// Answers the next modal message box with `button` and records its text and
// title in `seen` ("title|text").
void AnswerNextBox(QMessageBox::StandardButton button, QStringList* seen = nullptr);

template <typename T>
T* Find(QWidget* root, const char* name) {
  return root->findChild<T*>(QString::fromLatin1(name));
}

}  // namespace quorvin::test
