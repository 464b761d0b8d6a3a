#pragma once
// A list window's worth of state for core tests: the shared values on a fresh
// backup folder holding a small BO and ISIN list, the grid, a fake view that
// records what the controller asked it to show, and the controller.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_dialogs.h"
#include "support/fake_main_view.h"
#include "support/temp_folder.h"
#include "windows/list_window.h"

namespace quorvin::test {

class FakeListView : public ListView {
 public:
  std::string caption, selectLabel, gridToolTip, updateCaption, updateToolTip;
  bool waitCursor = false, controlsEnabled = true, panelOpen = false;
  std::string panelTitle;
  std::vector<std::string> entries;
  int selectedEntry = -1;
  // The open editor's cell, or -1 when hidden.
  int editorRow = -1, editorCol = -1;
  std::string editorText;
  int listKindIndex = -1;
  int gridFocused = 0, searchSelected = 0, visibleRows = 10;
  // Captions and cursor states in the order they were set.
  std::vector<std::string> captions;
  std::vector<bool> cursors;

  std::string Caption() const override { return caption; }
  void SetCaption(const std::string& c) override {
    caption = c;
    captions.push_back(c);
  }
  void SetWaitCursor(bool wait) override {
    waitCursor = wait;
    cursors.push_back(wait);
  }
  void ProcessPendingEvents() override {}
  void ShowListKind(int comboIndex) override { listKindIndex = comboIndex; }
  void SetSelectLabel(const std::string& text) override { selectLabel = text; }
  void SetGridToolTip(const std::string& text) override { gridToolTip = text; }
  void SetUpdateButton(const std::string& c, const std::string& tip) override {
    updateCaption = c;
    updateToolTip = tip;
  }
  void ShowEditor(int row, int col, const std::string& text) override {
    editorRow = row;
    editorCol = col;
    editorText = text;
  }
  void HideEditor() override { editorRow = editorCol = -1; }
  void FocusGrid() override { ++gridFocused; }
  int VisibleRows() const override { return visibleRows; }
  void SelectSearchText() override { ++searchSelected; }
  void SetControlsEnabled(bool enabled) override { controlsEnabled = enabled; }
  void ShowBackupPanel(bool open, const std::string& title) override {
    panelOpen = open;
    if (open) panelTitle = title;
  }
  void ShowBackupEntries(const std::vector<std::string>& e, int selected) override {
    entries = e;
    selectedEntry = selected;
  }
  bool EditorShown() const { return editorRow >= 0; }
};

inline constexpr const char* kBOText =
    "S/N~BO ID~BO Name~Client Code\r\n"
    "1~1204510000000011~Rahim Hossain~C1001\r\n"
    "2~1204510000000022~Nasrin Akter~C1002\r\n"
    "3~1204510000000033~Belal Begum~C1003";
inline constexpr const char* kISINText =
    "S/N~ISIN Code~ISIN Name~Scrip ID~Scrip Code\r\n"
    "1~MG1000ALPH31~Alpha Textiles Limited~ALPHATEX~11000\r\n"
    "2~MG1037BRIG52~Bright Cement Company Ltd.~BRIGHTCEM~11013";

class ListFixture : public ::testing::Test {
 protected:
  TempFolder dir;
  FakeDialogs dialogs;
  FakeClock clock;
  AppContext app{dialogs, clock, dir.Path()};
  Grid grid{2, 4, 1};
  FakeListView view;
  ListController controller{app, grid, view};

  void SetUp() override {
    app.settings = {"204513", "1204510000067342", "1204510000000000", dir.Path()};
    dir.Write("BO.txt", kBOText);
    dir.Write("ISIN.txt", kISINText);
    app.LoadLists();
    app.listKind = "BO";
  }

  // Opens the window on `kind`.
  void Open(const std::string& kind) {
    app.listKind = kind;
    controller.Open();
  }
  // Makes (row, col) current and commits `text` through the editor.
  void Type(int row, int col, const std::string& text) {
    grid.SetCurrent(row, col);
    controller.StartCellEdit();
    ASSERT_TRUE(view.EditorShown());
    controller.EditorEnter(text);
  }
  std::vector<std::string> Column(int col) const {
    std::vector<std::string> out;
    for (int r = 0; r < grid.Rows(); ++r) out.push_back(grid.Text(r, col));
    return out;
  }
};

}  // namespace quorvin::test
