#pragma once
// A main window's worth of state for core tests: the shared values with the
// demo broker's settings and small lists, the entry grid, a fake view and the
// controller, all on a fresh temporary backup folder.
#include <gtest/gtest.h>

#include "day/entry_grid.h"
#include "support/fake_dialogs.h"
#include "support/fake_main_view.h"
#include "support/temp_folder.h"
#include "windows/main_controller.h"

namespace quorvin::test {

inline constexpr const char* kBoidA = "1204510000000011";
inline constexpr const char* kBoidB = "1204510000000022";

class EntryFixture : public ::testing::Test {
 protected:
  TempFolder dir;
  FakeDialogs dialogs;
  FakeClock clock;
  AppContext app{dialogs, clock, dir.Path()};
  Grid grid{2, kEntryColumns, 1};
  FakeMainView view;
  FakeHoldingView holdingView;
  MainController controller{app, grid, view, holdingView};

  void SetUp() override {
    app.settings = {"204513", "1204510000067342", "1204510000000000", dir.Path()};
    app.lists.SetBOList({{"S/N", "BO ID", "BO Name", "Client Code"},
                         {"1", kBoidA, "Rahim Hossain", "C1001"},
                         {"2", kBoidB, "Nasrin Akter", "C1002"}});
    app.lists.SetISINList(
        {{"S/N", "ISIN Code", "ISIN Name", "Scrip ID", "Scrip Code"},
         {"1", "MG1000ALPH31", "Alpha Textiles Limited", "ALPHATEX", "11000"},
         {"2", "MG1037BRIG52", "Bright Cement Company Ltd.", "BRIGHTCEM", "11013"}});
    controller.SetUpMainWindow();
    view.settlement = Date{2026, 12, 10};
  }

  // Appends a data row (the first call fills the blank row 1).
  int AddEntry(const std::string& tradeDate, const std::string& clientCode, const std::string& boId,
               const std::string& scrip, const std::string& isin, const std::string& qty) {
    int r = IsGridEmpty(grid) ? 1 : grid.Rows();
    if (r == grid.Rows()) grid.SetRows(r + 1);
    grid.SetText(r, col::kSN, std::to_string(r));
    grid.SetText(r, col::kTradeDate, tradeDate);
    grid.SetText(r, col::kClientCode, clientCode);
    grid.SetText(r, col::kBOID, boId);
    grid.SetText(r, col::kScripID, scrip);
    grid.SetText(r, col::kISINCode, isin);
    grid.SetText(r, col::kQuantity, qty);
    return r;
  }
};

}  // namespace quorvin::test
