#pragma once
// What every check test needs: scripted dialogs, a window that records its
// caption and pointer, the shared values of a pay-in day and an entry grid.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "day/app_context.h"
#include "day/entry_grid.h"
#include "ground/grid.h"
#include "support/fake_dialogs.h"
#include "support/recording_window.h"

namespace quorvin::test {

// The send sequence has set its hourglass before a check runs.
class FakeWindow : public RecordingWindow {
 public:
  FakeWindow() : RecordingWindow("Quorvin v1.3 : Pay In", true) {}
};

// One instruction row; the fields the checks care about first.
struct Entry {
  std::string boid, isin, quantity, client = "C1001";
};

class CheckTest : public ::testing::Test {
 protected:
  CheckTest() {
    app.instructionKind = kPayIn;
    app.kindCode = "PI";
    app.settings.BrokerID = "204513";
    app.settings.ClearingBOID = "1204510000000001";
    SetUpEntryGrid(grid);
  }

  // Replaces the data rows with complete rows holding these values.
  void SetEntries(const std::vector<Entry>& entries) {
    grid.SetRows(1 + static_cast<int>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
      int r = static_cast<int>(i) + 1;
      const Entry& e = entries[i];
      std::vector<std::string> cells = {
          std::to_string(r), "204513",   "1204510000000001", "08-Dec-2026", "10-Dec-2026",
          e.client,          e.boid,     "Some Name",        "SCRIP",       e.isin,
          "Some Security",   e.quantity, "I2045130812261"};
      for (int c = 0; c < kEntryColumns; ++c) grid.SetText(r, c, cells[c]);
    }
  }

  // Column c of every data row.
  std::vector<std::string> Column(int c) const {
    std::vector<std::string> out;
    for (int r = 1; r < grid.Rows(); ++r) out.push_back(grid.Text(r, c));
    return out;
  }

  FakeDialogs dialogs;
  SystemClock clock;
  AppContext app{dialogs, clock, "/tmp/"};
  Grid grid;
  FakeWindow window;
};

}  // namespace quorvin::test
