#pragma once
// The main window as a plain record of what the controller asked it to show.
#include <optional>
#include <string>
#include <vector>

#include "windows/main_controller.h"

namespace quorvin::test {

class FakeClock : public Clock {
 public:
  DateTime now{Date{2026, 12, 8}, 14, 3, 59};
  DateTime Now() const override { return now; }
};

class FakeHoldingView : public HoldingMessageView {
 public:
  std::vector<std::string> shown;
  void ShowModal(const std::string& text) override { shown.push_back(text); }
};

class FakeMainView : public MainView {
 public:
  std::string caption, gridToolTip, loadCaption, shownKind, focusedKind;
  bool checkEnabled = false, waitCursor = false, windowEnabled = true, freeEntry = false;
  Date settlement{2026, 12, 10};
  // The open editor: "text", "date" or "" when none is shown.
  std::string editor;
  int editorRow = -1, editorCol = -1;
  std::string editorText;
  std::optional<Date> pickerDate;
  int gridFocused = 0;

  std::string Caption() const override { return caption; }
  void SetCaption(const std::string& c) override { caption = c; }
  void SetWaitCursor(bool wait) override { waitCursor = wait; }
  void ProcessPendingEvents() override {}
  void ShowKind(const std::string& kind) override { shownKind = kind; }
  void FocusKindOption(const std::string& kind) override { focusedKind = kind; }
  void SetGridToolTip(const std::string& text) override { gridToolTip = text; }
  void SetLoadButtonCaption(const std::string& c) override { loadCaption = c; }
  void SetCheckEnabled(bool enabled) override { checkEnabled = enabled; }
  void ShowTextEditor(int row, int col, const std::string& text) override {
    editor = "text";
    editorRow = row;
    editorCol = col;
    editorText = text;
  }
  void ShowDatePicker(int row, int col, std::optional<Date> date) override {
    editor = "date";
    editorRow = row;
    editorCol = col;
    if (date) pickerDate = date;
  }
  void SetEditorText(const std::string& text) override { editorText = text; }
  void HideEditors() override { editor.clear(); }
  void FocusGrid() override { ++gridFocused; }
  void SetWindowEnabled(bool enabled) override { windowEnabled = enabled; }
  Date SettlementDate() const override { return settlement; }
  void SetSettlementDate(const Date& date) override { settlement = date; }
  bool FreeEntry() const override { return freeEntry; }
  void ShowProgress(const std::string&, int percent) override { progress.push_back(percent); }
  void HideProgress() override { progressHidden = true; }
  void ShowNote(const std::string& text) override { note = text; }
  std::string note;
  std::vector<int> progress;
  bool progressHidden = false;
};

}  // namespace quorvin::test
