// The speed helpers answer as the plain loops they stand for.
#include "ground/fast_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

namespace quorvin {
namespace {

TEST(FastPaths, SixteenBytesAtOnceAndWordsInByteOrderAnswerAsPlainLoops) {
  std::mt19937 rng(5);
  const std::string alphabet = " |\r\n\xe9xY0";
  for (int round = 0; round < 500; ++round) {
    std::string text(16, ' ');
    for (char& c : text) c = alphabet[rng() % alphabet.size()];
    for (char wanted : {' ', '|', '\r', '\xe9'}) {
      unsigned plain = 0;
      for (int i = 0; i < 16; ++i) plain |= static_cast<unsigned>(text[i] == wanted) << i;
      EXPECT_EQ(EqualBytes16(text.data(), wanted), plain) << round;
    }
    // Comparing the words compares the first eight bytes as unsigned bytes.
    const std::string other = text.substr(8) + text.substr(0, 8);
    const int bytes = std::memcmp(text.data(), other.data(), 8);
    const std::uint64_t a = BigEndianWord(text.data()), b = BigEndianWord(other.data());
    EXPECT_EQ(bytes < 0, a < b) << round;
    EXPECT_EQ(bytes == 0, a == b) << round;
  }
}

TEST(FastPaths, WordScansFindWhatACharacterWalkFinds) {
  std::mt19937 rng(9);
  for (int round = 0; round < 300; ++round) {
    std::string line(rng() % 140, ' ');
    for (char& c : line) c = rng() % 3 ? ' ' : 'x';
    const size_t n = line.size();
    for (size_t i = 0; i <= n; ++i) {
      size_t nonSpace = i, space = i;
      while (nonSpace < n && line[nonSpace] == ' ') ++nonSpace;
      while (space < n && line[space] != ' ') ++space;
      EXPECT_EQ(NextNonSpace(line.data(), i, n), nonSpace);
      EXPECT_EQ(NextSpace(line.data(), i, n), space);
    }
#if defined(QUORVIN_WIDE_BITS)
    const size_t shortN = std::min<size_t>(n, 128);
    const WideBits bits = NonSpaceBits(line.data(), shortN);
    for (size_t i = 0; i < shortN; ++i)
      EXPECT_EQ(static_cast<bool>((bits >> i) & 1), line[i] != ' ') << round << " " << i;
#endif
  }
}

}  // namespace
}  // namespace quorvin
