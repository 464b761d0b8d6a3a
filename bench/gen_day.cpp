// Writes one day's files for the day pipeline and the peer script:
//   gen_day TRADE_LINES FOLDER [--seed N] [--awkward]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "day_files.h"

int main(int argc, char** argv) {
  using namespace quorvin::bench;
  DayShape shape;
  std::string folder;
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--seed" && i + 1 < argc) {
      shape.seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--awkward") {
      shape.awkward = true;
    } else if (positional == 0) {
      shape.tradeLines = std::atoi(arg.c_str());
      ++positional;
    } else if (positional == 1) {
      folder = arg;
      ++positional;
    } else {
      positional = -1;
      break;
    }
  }
  if (positional != 2 || shape.tradeLines <= 0) {
    std::fprintf(stderr, "usage: gen_day TRADE_LINES FOLDER [--seed N] [--awkward]\n");
    return 2;
  }
  try {
    DayFiles day = WriteDay(folder, shape);
    std::printf("%s: %d trade lines (%d sells), %d BO accounts, %d securities, %d holding lines\n",
                day.folder.c_str(), shape.tradeLines, day.sellLines, day.boAccounts, day.securities,
                day.holdingLines);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gen_day: %s\n", e.what());
    return 1;
  }
  return 0;
}
