#pragma once
// Large, realistic days for the benchmarks: many trades per account and
// security, and a holding report that lists them among many others.
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "day/app_context.h"
#include "day/entry_grid.h"
#include "ground/grid.h"

namespace quorvin::bench {

class SilentDialogs : public Dialogs {
 public:
  MsgAnswer Message(const std::string&, const std::string&, MsgIcon, MsgButtons) override {
    ++boxes;
    return MsgAnswer::Yes;
  }
  std::optional<std::string> OpenFile(const std::string&, const std::string&, int,
                                      const std::string&) override {
    return std::nullopt;
  }
  std::string BrowseFolder(const std::string&, const std::string&) override { return {}; }
  void ViewTextFile(const std::string&) override {}
  int boxes = 0;
};

// The benchmarks' day: the trades of 08-Dec-2026, at ten in the morning.
class FixedClock : public Clock {
 public:
  DateTime Now() const override { return {Date{2026, 12, 8}, 10, 0, 0}; }
};

class SilentWindow : public WindowPort {
 public:
  std::string Caption() const override { return caption; }
  void SetCaption(const std::string& text) override { caption = text; }
  void SetWaitCursor(bool) override {}
  void ProcessPendingEvents() override {}
  std::string caption;
};

inline std::string Boid(int account) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "12045100%08d", account);
  return buf;
}

inline std::string Isin(int security) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "MG%04dSCRP%02d", security, security % 97);
  return buf;
}

// A pay-in day of `rows` trades: about three trades per account and security.
inline void MakeDay(Grid& grid, int rows, unsigned seed = 1) {
  std::mt19937 rng(seed);
  const int accounts = std::max(1, rows / 6);
  SetUpEntryGrid(grid);
  grid.SetRows(rows + 1);
  for (int r = 1; r <= rows; ++r) {
    // Two securities per account.
    int account = static_cast<int>(rng() % accounts);
    int security = static_cast<int>(rng() % 2) * 150 + account % 150;
    Grid::CellRow row = {std::to_string(r),
                         "204513",
                         "1204510000000001",
                         "08-Dec-2026",
                         "10-Dec-2026",
                         "C" + std::to_string(account),
                         Boid(account),
                         "Client " + std::to_string(account),
                         "SCRIP" + std::to_string(security),
                         Isin(security),
                         "Security Name Ltd.",
                         std::to_string(1 + rng() % 5000),
                         ""};
    for (int c = 0; c < grid.Cols(); ++c) grid.SetText(r, c, row[c]);
  }
}

// Eight heading lines, then `lines` balance lines in no particular order:
// MakeDay's accounts and securities, mostly with balances that cover them
// and one in a hundred absent, among other clients of the depository.
inline std::string MakeHoldingFile(int lines, int accounts, unsigned seed = 2) {
  std::mt19937 rng(seed);
  auto line = [](int account, int security, unsigned balance) {
    std::string b = std::to_string(balance);
    return Boid(account) + " " + Isin(security) + "  Security Name Ltd.            " + b +
           "         0   " + b;
  };
  std::vector<std::string> body;
  body.reserve(lines);
  for (int account = 0; account < accounts; ++account)
    for (int security : {account % 150, 150 + account % 150})
      if (rng() % 100 != 0 && static_cast<int>(body.size()) < lines)
        body.push_back(line(account, security, 5000 + rng() % 40000));
  while (static_cast<int>(body.size()) < lines)
    body.push_back(line(accounts + static_cast<int>(rng() % 10000000),
                        static_cast<int>(rng() % 600), rng() % 40000));
  std::shuffle(body.begin(), body.end(), rng);
  std::string text =
      "Report for 08-Dec-2026 : Holding Balance of Participant 204513\r\n"
      "Depository Participant : Demo Securities Ltd.\r\nRun Date : 08-Dec-2026 18:42:07\r\n\r\n"
      "BO ID            ISIN          Name of Security      Free Bal.   Lock-in    Current Bal.\r\n"
      "------------------------------------------------------------------------------------\r\n"
      "\r\n";
  text.reserve(static_cast<size_t>(lines) * 90);
  for (const std::string& l : body) text += "\r\n" + l;
  return text;
}

}  // namespace quorvin::bench
