// Deciding whether a text is a number, and reading, rounding and adding
// quantities without overflowing a 32-bit whole number.
#include "ground/numbers.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "ground/errors.h"

namespace quorvin {

bool IsNumeric(std::string_view t) {
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  bool digit = false, point = false;
  for (; i < t.size(); ++i) {
    char c = t[i];
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

bool IsWholeQuantity(std::string_view t) {
  if (t.empty() || t.find_first_not_of("0123456789") != std::string_view::npos) return false;
  std::uint64_t value = 0;
  for (char c : t) {
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) return false;
  }
  return value >= 1;
}

double ToDouble(std::string_view text) {
  if (!IsNumeric(text)) throw AppError("Type mismatch");
  // Fast path for plain digit strings, the usual quantity.
  if (text.size() <= 15 && text.find_first_not_of("0123456789") == std::string_view::npos) {
    double v = 0;
    for (char c : text) v = v * 10 + (c - '0');
    return v;
  }
  std::string s(text);
  return std::strtod(s.c_str(), nullptr);
}

std::int32_t ToInt32(std::string_view text) {
  return RoundToInt32(ToDouble(text));
}

std::int32_t RoundToInt32(double value) {
  double v = std::nearbyint(value);  // default rounding mode: half to even
  if (!(v >= std::numeric_limits<std::int32_t>::min() &&
        v <= std::numeric_limits<std::int32_t>::max()))
    throw AppError("Overflow");
  return static_cast<std::int32_t>(v);
}

std::int32_t AddInt32(std::int32_t a, std::int32_t b) {
  std::int64_t sum = static_cast<std::int64_t>(a) + b;
  if (sum < std::numeric_limits<std::int32_t>::min() ||
      sum > std::numeric_limits<std::int32_t>::max())
    throw AppError("Overflow");
  return static_cast<std::int32_t>(sum);
}

std::string Grouped(long long n) {
  const std::string digits = std::to_string(n);
  const size_t first = n < 0 ? 1 : 0;
  std::string grouped = digits.substr(0, first);
  for (size_t i = first; i < digits.size(); ++i) {
    if (i > first && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace quorvin
