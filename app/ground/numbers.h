#pragma once
// The one number module. A numeric text is: an optional "+" or "-", digits with
// at most one decimal point, at least one digit. Blanks, digit-group commas and
// exponents are not numeric: a BOID or a quantity is never written that way.
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvin {

bool IsNumeric(std::string_view text);
// A quantity the exchange takes: digits only, from 1 up to the largest signed
// 32-bit whole number (the sums are kept in one).
bool IsWholeQuantity(std::string_view text);
// Throws AppError("Type mismatch") for a text that is not numeric.
double ToDouble(std::string_view text);
// Rounds half to even; throws AppError("Type mismatch") or AppError("Overflow").
std::int32_t ToInt32(std::string_view text);
// Rounds half to even; throws AppError("Overflow") outside the signed 32-bit range.
std::int32_t RoundToInt32(double value);
// Throws AppError("Overflow") when the sum leaves the signed 32-bit range.
std::int32_t AddInt32(std::int32_t a, std::int32_t b);

// A whole number with its thousands marked, as the window shows counts:
// 1234567 -> "1,234,567".
std::string Grouped(long long n);

}  // namespace quorvin
