// The speed helpers answer as the plain loops they stand for.
#include "ground/fast_paths.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quorvin
