// The date and number conversions on any text. No crash; a date that is read
// is a real calendar day and reads back the same from each form the program
// writes; the number module agrees with the C library about every numeric
// text and refuses everything else.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "fuzz_support.h"
#include "ground/dates.h"
#include "ground/errors.h"
#include "ground/numbers.h"

using namespace quorvin;
using namespace quorvin::fuzz;

namespace {

void CheckDate(std::string_view text) {
  auto date = ParseDate(text);
  if (!date) return;
  FUZZ_CHECK(IsValidDate(date->year, date->month, date->day), std::string(text));
  for (const char* pattern : {"dd-MMM-yyyy", "dd-mm-yyyy", "d/mm/yyyy", "yyyy-mm-dd", "ddmmyyyy"}) {
    std::string written = FormatDate(*date, pattern);
    auto again = ParseDate(written);
    FUZZ_CHECK(again && *again == *date, std::string(pattern) + " gave " + written);
  }
  // The two-digit forms keep the day and month; the century follows the rule.
  auto shortYear = ParseDate(FormatDate(*date, "dd-mmm-yy"));
  FUZZ_CHECK(shortYear && shortYear->day == date->day && shortYear->month == date->month &&
                 shortYear->year % 100 == date->year % 100,
             FormatDate(*date, "dd-mmm-yy"));
}

void CheckNumber(std::string_view text) {
  bool numeric = IsNumeric(text);
  double value = 0;
  try {
    value = ToDouble(text);
    FUZZ_CHECK(numeric, std::string(text));
  } catch (const AppError& e) {
    FUZZ_CHECK(!numeric && e.Description() == "Type mismatch", std::string(text));
    return;
  }
  std::string copy(text);
  char* end = nullptr;
  double reference = std::strtod(copy.c_str(), &end);
  FUZZ_CHECK(end == copy.c_str() + copy.size(), "strtod stopped early: " + copy);
  FUZZ_CHECK(value == reference || (std::isnan(value) && std::isnan(reference)), copy);

  double rounded = std::nearbyint(value);
  bool fits = rounded >= std::numeric_limits<std::int32_t>::min() &&
              rounded <= std::numeric_limits<std::int32_t>::max();
  try {
    std::int32_t whole = ToInt32(text);
    FUZZ_CHECK(fits && whole == static_cast<std::int32_t>(rounded), copy);
  } catch (const AppError& e) {
    FUZZ_CHECK(!fits && e.Description() == "Overflow", copy);
  }
}

void CheckSum(std::string_view text) {
  if (text.size() < 8) return;
  std::int32_t a, b;
  std::memcpy(&a, text.data(), 4);
  std::memcpy(&b, text.data() + 4, 4);
  std::int64_t exact = static_cast<std::int64_t>(a) + b;
  try {
    FUZZ_CHECK(AddInt32(a, b) == exact, "");
  } catch (const AppError&) {
    FUZZ_CHECK(exact < std::numeric_limits<std::int32_t>::min() ||
                   exact > std::numeric_limits<std::int32_t>::max(),
               "");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text = AsText(data, size);
  CheckDate(text);
  CheckNumber(text);
  CheckSum(text);
  // Any pattern with any day: patterns are copied through, never read as text.
  DateTime moment{{2026, 12, 8}, 14, 3, 59};
  (void)FormatDate(moment.date, text);
  (void)FormatTime(moment, text);
  return 0;
}
