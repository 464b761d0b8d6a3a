// Tests of the holding report's date and balance text, and that its index
// finds the same line as a scan of every line.
#include "work/checks/holding_file.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string_view>

#include "ground/errors.h"
#include "straight_algorithms.h"

namespace quorvin::test {
namespace {

TEST(HoldingFileTest, ReportDateAndBalanceText) {
  HoldingFile file("Report for 08-Dec-2026 : Holding Balance\r\nx : y");
  EXPECT_EQ(file.ReportDate(), "08-Dec-2026");
  EXPECT_THROW(HoldingFile("Report 08-Dec-2026 : x").ReportDate(), AppError);
  EXPECT_THROW(HoldingFile("Report for 08-Dec-2026\r\nReport for x : y").ReportDate(), AppError);
  EXPECT_EQ(BalanceText("1204 MG1 Name   1400"), "1400");
  EXPECT_EQ(BalanceText("1204 MG1 1400 "), "");
  EXPECT_EQ(BalanceText("1400"), "1400");
}

// Random files over a tiny alphabet, so that texts overlap, nest, span spaces
// and recur on many lines: the index must name the same line as a scan of
// every line for every pair.
TEST(HoldingFileTest, IndexFindsTheSameLineAsAScanOfEveryLine) {
  std::mt19937 rng(2024);
  const std::vector<std::string> tokens = {"ab", "ba", "a", "b", "abab", "12", "1204", "MG1", ""};
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  for (int round = 0; round < 800; ++round) {
    std::vector<std::string> lines(pick(40));
    for (auto& line : lines) {
      int count = pick(7);
      for (int t = 0; t < count; ++t) line += (t ? " " : "") + tokens[pick(tokens.size())];
      if (pick(8) == 0) line += " ";
    }
    std::string text;
    for (size_t l = 0; l < lines.size(); ++l) text += (l ? "\r\n" : "") + lines[l];

    auto needle = [&]() -> std::string {
      switch (pick(5)) {
        case 0:
          return tokens[pick(tokens.size())];
        case 1:
          return std::string(1 + pick(2), ' ');
        case 2:
          return "zz";
        default: {
          if (text.empty()) return "a";
          size_t at = pick(text.size());
          return text.substr(at, 1 + pick(6));  // may span spaces and line ends
        }
      }
    };
    std::vector<std::pair<std::string, std::string>> pairs(pick(30));
    for (auto& p : pairs) p = {needle(), needle()};
    if (!pairs.empty() && pick(2)) pairs.push_back(pairs[0]);

    HoldingFile file(text);
    std::vector<std::pair<std::string_view, std::string_view>> views(pairs.begin(), pairs.end());
    std::vector<int> found = file.FirstBalanceLines(views);
    ASSERT_EQ(found.size(), pairs.size());
    pairs.emplace_back(needle(), needle());
    found.push_back(file.FirstBalanceLine(pairs.back().first, pairs.back().second));
    for (size_t k = 0; k < pairs.size(); ++k) {
      auto expected = straight::BalanceLine(text, pairs[k].first, pairs[k].second);
      ASSERT_EQ(found[k] >= 0, expected.has_value())
          << "round " << round << " [" << pairs[k].first << "] [" << pairs[k].second << "]";
      if (expected) {
        EXPECT_EQ(std::string(file.Lines()[found[k]]), *expected);
      }
    }
  }
}

// Texts as the holding check hands them over: BOIDs in runs and again later,
// ISINs recurring all over, some views sharing their characters and some
// equal texts lying apart; texts from one character to past two words of
// eight, sharing their first characters; lines with long and short segments
// and runs of spaces.
TEST(HoldingFileTest, IndexFindsTheSameLineForSharedAndSeparateTexts) {
  std::mt19937 rng(77);
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  auto word = [&](size_t longest) {
    std::string w = pick(3) == 0 ? "12" : "MG";  // common starts
    for (size_t n = pick(longest); n > 0; --n) w += "0123456789ABMG"[pick(14)];
    return w.substr(0, 1 + pick(w.size()));
  };
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> vocabulary(1 + pick(12));
    for (auto& w : vocabulary) w = pick(6) == 0 ? word(4) + " " + word(4) : word(22);
    std::string text;
    for (int l = static_cast<int>(pick(60)); l >= 0; --l) {
      std::string line;
      // Now and then a line longer than 128 characters, which is read differently.
      for (int t = static_cast<int>(pick(8) + (pick(5) == 0 ? 12 : 0)); t > 0; --t)
        line += std::string(1 + pick(pick(4) == 0 ? 12 : 2), ' ') +
                (pick(3) ? vocabulary[pick(vocabulary.size())] : word(20));
      text += (text.empty() && l % 2 ? "" : "\r\n") + line;
    }

    // One copy of every word, which most views share, and loose copies.
    std::deque<std::string> storage(vocabulary.begin(), vocabulary.end());
    auto view = [&](size_t w) -> std::string_view {
      if (pick(4) == 0) return storage.emplace_back(vocabulary[w]);
      return storage[w];
    };
    std::vector<std::pair<std::string_view, std::string_view>> pairs;
    for (int n = static_cast<int>(pick(40)); n > 0; --n) {
      size_t boid = pick(vocabulary.size());
      for (int run = static_cast<int>(1 + pick(3)); run > 0 && n > 0; --run, --n)
        pairs.emplace_back(view(boid), view(pick(vocabulary.size())));
    }

    HoldingFile file(text);
    std::vector<int> found = file.FirstBalanceLines(pairs);
    ASSERT_EQ(found.size(), pairs.size());
    for (size_t k = 0; k < pairs.size(); ++k) {
      std::string boid(pairs[k].first), isin(pairs[k].second);
      auto expected = straight::BalanceLine(text, boid, isin);
      ASSERT_EQ(found[k] >= 0, expected.has_value())
          << "round " << round << " [" << boid << "] [" << isin << "]";
      if (expected) {
        EXPECT_EQ(std::string(file.Lines()[found[k]]), *expected);
      }
      EXPECT_EQ(found[k], file.FirstBalanceLine(boid, isin));
    }
  }
}

}  // namespace
}  // namespace quorvin::test
