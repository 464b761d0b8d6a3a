#pragma once
// One trading day's files at any scale: the BO list, the ISIN list, the
// broker's trade file and the depository's holding report, as a large broker
// would have them. Seeded, so that every run sees the same day.
#include <string>

namespace quorvin::bench {

struct DayShape {
  int tradeLines = 10000;
  unsigned seed = 1;
  // Sprinkles in what the lists and checks treat specially: unknown clients
  // and scrips, scrips given in part or in lower case, duplicate list
  // records, skipped lines, repeated and unreadable balance lines.
  bool awkward = false;
};

// What was written, and where.
struct DayFiles {
  std::string folder;  // ends with "/"
  std::string boList, isinList, tradeFile, holdingFile;
  int boAccounts = 0, securities = 0, sellLines = 0, holdingLines = 0;
};

// The day's settings: broker 204513, settlement on 10-Dec-2026 of the trades of 08-Dec-2026.
inline constexpr const char* kDayBrokerID = "204513";
inline constexpr const char* kDayClearingBOID = "1204510000067342";
inline constexpr const char* kDayBOIDFormat = "1204510000000000";

// Writes BO.txt, ISIN.txt, payin_10-Dec-2026.txt and 11DPA6UX.TXT into folder
// (created if missing). Throws std::runtime_error when a file cannot be written.
DayFiles WriteDay(const std::string& folder, const DayShape& shape);

}  // namespace quorvin::bench
