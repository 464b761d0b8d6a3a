// Writing a made-up trading day to a folder: securities, accounts, the two
// lists, the trade file and the holding report, from a fixed seed.
#include "day_files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace quorvin::bench {
namespace {

constexpr int kSecurities = 2000;
constexpr const char* kTradeDate = "08/12/2026";
constexpr const char* kSettlementDate = "10/12/2026";

const char* const kSyllables[] = {"AL", "BA", "CO", "DE", "FA",  "GRA", "HA",  "IN",  "JU",
                                  "KA", "LO", "MA", "NO", "OR",  "PA",  "RA",  "SA",  "TE",
                                  "UN", "VI", "WE", "ZE", "BRI", "CEM", "TEX", "PHA", "FIN"};
const char* const kFirstNames[] = {"Habib", "Tahmina", "Belal", "Nasrin", "Rahim", "Shirin",
                                   "Kamal", "Farida",  "Jamil", "Rokeya", "Anwar", "Sultana"};
const char* const kLastNames[] = {"Ahmed", "Mia",   "Begum",  "Hossain",   "Akter",
                                  "Khan",  "Islam", "Rahman", "Chowdhury", "Sarker"};
const char* const kTrades[] = {"Textiles", "Cement", "Bank",  "Pharmaceuticals", "Insurance",
                               "Steel",    "Foods",  "Power", "Ceramics"};

class Random {
 public:
  explicit Random(unsigned seed) : rng_(seed) {}
  int Below(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  double Unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(rng_); }
  // Skewed toward 0: a few accounts and scrips carry much of the day.
  int Skewed(int n, double power) {
    return std::min(n - 1, static_cast<int>(n * std::pow(Unit(), power)));
  }
  bool Percent(int p) { return Below(1000) < p * 10; }
  bool PerMille(int p) { return Below(1000) < p; }
  std::mt19937& Engine() { return rng_; }

 private:
  std::mt19937 rng_;
};

// Distinct 16-digit BOIDs that look scattered: an affine bijection of the index.
std::string Boid(int account) {
  constexpr std::uint64_t kPrime = 999999937;
  std::uint64_t scattered = (static_cast<std::uint64_t>(account) * 387420489u + 10007u) % kPrime;
  char buf[32];
  std::snprintf(buf, sizeof buf, "1204510%09llu", static_cast<unsigned long long>(scattered));
  return buf;
}

std::string ClientCode(int account) {
  return "C" + std::to_string(100000 + account);
}

struct Security {
  std::string scrip, isin, name, code;
};

bool Contains(std::string_view haystack, std::string_view needle) {
  return haystack.find(needle) != std::string_view::npos;
}

// Upper-case scrip IDs of syllables. A clean list has no scrip inside another
// (nor inside the header's "SCRIP ID"), so each trade finds its own security;
// an awkward one keeps whatever the syllables give.
std::vector<Security> MakeSecurities(Random& rnd, bool awkward) {
  std::vector<Security> list;
  list.reserve(kSecurities);
  while (static_cast<int>(list.size()) < kSecurities) {
    std::string scrip;
    int parts = 2 + rnd.Below(3);
    for (int p = 0; p < parts; ++p) scrip += kSyllables[rnd.Below(std::size(kSyllables))];
    if (scrip.size() > 10) continue;
    bool clash = Contains("SCRIP ID", scrip) || Contains("SCRIP CODE", scrip);
    for (const Security& s : list) {
      if (clash) break;
      clash = awkward ? s.scrip == scrip : Contains(s.scrip, scrip) || Contains(scrip, s.scrip);
    }
    if (clash) continue;
    int n = static_cast<int>(list.size());
    char isin[32];
    std::snprintf(isin, sizeof isin, "MG%04d%.4s%02d", 1000 + n, (scrip + "XXXX").c_str(),
                  (n * 37 + 11) % 100);
    std::string name = scrip;  // "Grameen", not "GRAMEEN"
    std::transform(name.begin() + 1, name.end(), name.begin() + 1,
                   [](char c) { return static_cast<char>(c - 'A' + 'a'); });
    name += std::string(" ") + kTrades[rnd.Below(std::size(kTrades))] +
            (rnd.Below(2) ? " Limited" : " Company Ltd.");
    list.push_back({scrip, isin, name, std::to_string(11000 + n)});
  }
  return list;
}

struct Account {
  int index;
  std::vector<int> portfolio;   // securities it trades
  std::vector<long long> sold;  // per portfolio entry
};

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string HoldingLine(const std::string& boid, const Security& s, long long balance) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%-16s %-12s  %-34.34s %10lld %9d   %lld", boid.c_str(),
                s.isin.c_str(), s.name.c_str(), balance, 0, balance);
  return buf;
}

}  // namespace

DayFiles WriteDay(const std::string& folder, const DayShape& shape) {
  Random rnd(shape.seed);
  DayFiles files;
  files.folder = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  std::filesystem::create_directories(files.folder);
  files.boList = files.folder + "BO.txt";
  files.isinList = files.folder + "ISIN.txt";
  files.tradeFile = files.folder + "payin_10-Dec-2026.txt";
  files.holdingFile = files.folder + "11DPA6UX.TXT";

  // The broker's clients: about one account per ten trade lines of a day.
  const int accounts = std::max(200, shape.tradeLines / 10);
  std::vector<Security> securities = MakeSecurities(rnd, shape.awkward);

  // Six in ten clients trade today, each in a few scrips of its own.
  std::vector<int> order(accounts);
  for (int a = 0; a < accounts; ++a) order[a] = a;
  std::shuffle(order.begin(), order.end(), rnd.Engine());
  std::vector<Account> active;
  for (int k = 0; k < accounts * 6 / 10; ++k) {
    Account acc{order[k], {}, {}};
    int holdings = 1 + (rnd.Below(10) < 4 ? 0 : rnd.Below(10) < 5 ? 1 : 1 + rnd.Below(3));
    while (static_cast<int>(acc.portfolio.size()) < holdings) {
      int s = rnd.Skewed(kSecurities, 1.5);
      if (std::find(acc.portfolio.begin(), acc.portfolio.end(), s) == acc.portfolio.end())
        acc.portfolio.push_back(s);
    }
    acc.sold.assign(acc.portfolio.size(), 0);
    active.push_back(std::move(acc));
  }

  // Awkward lists: a client whose code carries a stray CR, a second record of
  // one client code (the first wins), and a second client code on one BOID.
  const int crClient = active[0].index, dupCodeClient = active[1].index;
  const int sharedBoidClient = active[2].index;
  const std::string secondCode = "C0SHARE";

  std::string bo = "S/N~BO ID~BO Name~Client Code";
  int serial = 0;
  auto addBO = [&](const std::string& boid, const std::string& name, const std::string& code) {
    bo += "\r\n" + std::to_string(++serial) + "~" + boid + "~" + name + "~" + code;
  };
  for (int a = 0; a < accounts; ++a) {
    std::string name = std::string(kFirstNames[rnd.Below(std::size(kFirstNames))]) + " " +
                       kLastNames[rnd.Below(std::size(kLastNames))];
    std::string code = ClientCode(a);
    if (shape.awkward && a == crClient) code += "\r";
    addBO(Boid(a), name, code);
  }
  if (shape.awkward) {
    addBO(Boid(accounts + 1), "Second Record", ClientCode(dupCodeClient));
    addBO(Boid(sharedBoidClient), "Joint Holder", secondCode);
  }
  WriteFile(files.boList, bo);
  files.boAccounts = accounts;

  std::string isin = "S/N~ISIN Code~ISIN Name~Scrip ID~Scrip Code";
  for (int s = 0; s < kSecurities; ++s) {
    const Security& sec = securities[s];
    isin += "\r\n" + std::to_string(s + 1) + "~" + sec.isin + "~" + sec.name + "~" + sec.scrip +
            "~" + sec.code;
  }
  if (shape.awkward)  // a short scrip inside an earlier one: the earlier one is found
    isin += "\r\n" + std::to_string(kSecurities + 1) + "~MG9999SHRT00~Short Scrip Ltd.~" +
            securities[3].scrip.substr(0, 4) + "~19999";
  WriteFile(files.isinList, isin);
  files.securities = kSecurities;

  // The trade file: half buys, half sells, most of them by a few busy clients.
  std::string trades;
  trades.reserve(static_cast<size_t>(shape.tradeLines) * 80);
  const int lots[] = {1, 10, 50, 100};
  for (int t = 0; t < shape.tradeLines; ++t) {
    if (shape.awkward && rnd.PerMille(5)) {
      trades += "\r\n";  // a blank line: skipped
      continue;
    }
    Account& acc = active[rnd.Skewed(static_cast<int>(active.size()), 2.0)];
    int k = rnd.Below(static_cast<int>(acc.portfolio.size()));
    const Security& sec = securities[acc.portfolio[k]];
    bool sell = rnd.Below(2) == 0;
    int quantity = lots[rnd.Below(4)] * (1 + rnd.Below(20));
    std::string scrip = sec.scrip, client = ClientCode(acc.index), side = sell ? "S" : "B";
    bool counts = sell;  // whether the sale is the client's own, as the holding sees it
    if (shape.awkward) {
      if (rnd.PerMille(10)) {
        client = "Z" + std::to_string(rnd.Below(50));
        counts = false;
      } else if (rnd.PerMille(5)) {
        scrip = "NOSUCH" + std::to_string(rnd.Below(5));
        counts = false;
      } else if (rnd.PerMille(10)) {
        std::transform(scrip.begin(), scrip.end(), scrip.begin(),
                       [](char c) { return static_cast<char>(c - 'A' + 'a'); });
      } else if (rnd.PerMille(5)) {
        scrip = scrip.substr(0, 4);
        counts = false;
      } else if (acc.index == sharedBoidClient && rnd.Below(4) == 0) {
        client = secondCode;  // the joint holder's trades: sorted apart, never summed in
        counts = false;
      } else if (rnd.PerMille(5)) {
        side = "s";  // lower case: not a sell as far as the import is concerned
        counts = false;
      }
      if (rnd.PerMille(5)) quantity = 0;
    }
    if (counts) acc.sold[k] += quantity;
    if (sell) ++files.sellLines;
    char price[32], value[32];
    double p = 10 + rnd.Below(89000) / 100.0;
    std::snprintf(price, sizeof price, "%.2f", p);
    std::snprintf(value, sizeof value, "%.2f", p * quantity);
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", 10 + rnd.Below(5), rnd.Below(60),
                  rnd.Below(60));
    trades += std::to_string(700000 + t) + "|" + scrip + "|A|" + side + "|" +
              std::to_string(quantity) + "|" + price + "|" + client + "|" + value + "|T0" +
              std::to_string(1 + rnd.Below(9)) + "|" + time + "|" + kTradeDate + "|" +
              kSettlementDate + "\r\n";
  }
  WriteFile(files.tradeFile, trades);

  // The holding report, by BOID and ISIN: a line for every security a client
  // holds. Most sales are covered; a few are short and a few have no line.
  std::sort(active.begin(), active.end(),
            [](const Account& a, const Account& b) { return Boid(a.index) < Boid(b.index); });
  std::vector<std::string> lines;
  std::string headingBoid;
  for (const Account& acc : active) {
    std::string boid = Boid(acc.index);
    std::vector<size_t> byIsin(acc.portfolio.size());
    for (size_t k = 0; k < byIsin.size(); ++k) byIsin[k] = k;
    std::sort(byIsin.begin(), byIsin.end(), [&](size_t a, size_t b) {
      return securities[acc.portfolio[a]].isin < securities[acc.portfolio[b]].isin;
    });
    for (size_t k : byIsin) {
      const Security& sec = securities[acc.portfolio[k]];
      long long sold = acc.sold[k];
      long long balance;
      if (sold > 0) {
        int fate = rnd.Below(100);
        if (fate < 2) {  // no balance at all
          if (shape.awkward && headingBoid.empty()) headingBoid = boid + " " + sec.isin;
          continue;
        }
        balance = fate < 5 ? sold - 1 - rnd.Below(static_cast<int>(std::min<long long>(sold, 1000)))
                           : sold + 10LL * rnd.Below(200);
        if (balance < 0) balance = 0;
      } else {
        balance = 10LL * (1 + rnd.Below(500));
      }
      std::string line = HoldingLine(boid, sec, balance);
      if (shape.awkward && rnd.PerMille(10)) {
        lines.push_back(line);
        line = HoldingLine(boid, sec, balance / 2);  // a later line of the same pair: ignored
      } else if (shape.awkward && rnd.PerMille(20)) {
        line += " ";  // an empty last token: not a number
      } else if (shape.awkward && rnd.PerMille(5)) {
        line = sec.isin + "  " + boid + "  " + std::to_string(balance);  // any order will do
      }
      lines.push_back(std::move(line));
    }
  }
  std::string holding =
      "Report for 08-Dec-2026 : Holding Balance of Participant 204513\r\n"
      "Depository Participant : Demo Securities Ltd.\r\n"
      "Run Date : 08-Dec-2026 18:42:07\r\n" +
      // A pair named in the heading only still has no balance.
      (headingBoid.empty() ? std::string() : "Queried: " + headingBoid) +
      "\r\n"
      "BO ID            ISIN          Name of Security                    Free Bal.   Lock-in"
      "    Current Bal.\r\n" +
      std::string(100, '-') + "\r\n\r\n";
  holding.reserve(holding.size() + lines.size() * 100);
  for (const std::string& l : lines) holding += "\r\n" + l;
  holding += "\r\n";
  WriteFile(files.holdingFile, holding);
  files.holdingLines = static_cast<int>(lines.size());
  return files;
}

}  // namespace quorvin::bench
