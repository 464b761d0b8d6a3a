// Tests of reading and writing dates, and of what counts as a number and how
// it is rounded to a 32-bit whole number.
#include <gtest/gtest.h>

#include "ground/dates.h"
#include "ground/errors.h"
#include "ground/numbers.h"

namespace quorvin {
namespace {

TEST(Dates, AcceptedFormsAllReadTheSameDay) {
  const Date expected{2026, 12, 8};
  for (const char* text :
       {"08-Dec-2026", "8-dec-2026", "08 December 2026", "08/12/2026", "8-12-2026", "08.12.26",
        "2026-12-08", " 08-DEC-2026 ", "08/12/2026 10:15:30 AM", "08-12-2026 14:05", "08122026"}) {
    auto d = ParseDate(text);
    ASSERT_TRUE(d.has_value()) << text;
    EXPECT_EQ(*d, expected) << text;
  }
}

TEST(Dates, RejectsWhatIsNotADay) {
  for (const char* text :
       {"", "31-Nov-2026", "29-Feb-2027", "2026", "08-Dex-2026", "08-12", "8122026", "32122026",
        "08-12-2026x", "1-1-1-1", "00-Jan-2026", "32/01/2026"})
    EXPECT_FALSE(ParseDate(text).has_value()) << text;
  EXPECT_TRUE(ParseDate("29-Feb-2028").has_value());
  EXPECT_EQ(ParseDate("01-01-30")->year, 1930);
}

TEST(Dates, FormatsTheSystemsPatterns) {
  Date d{2010, 5, 17};
  EXPECT_EQ(FormatDisplayDate(d), "17-May-2010");
  EXPECT_EQ(FormatDate(d, "ddmmyy"), "170510");
  EXPECT_EQ(FormatDate(d, "dd-mm-yyyy"), "17-05-2010");
  EXPECT_EQ(FormatDate(d, "yyyy-mm-dd"), "2010-05-17");
  EXPECT_EQ(FormatDate(d, "dd-mmm-yy"), "17-May-10");
  DateTime t{d, 14, 3, 59};
  EXPECT_EQ(FormatTime(t, "hh-nn-ssAMPM"), "02-03-59PM");
  EXPECT_EQ(FormatTime(t, "hh-nn-ss"), "14-03-59");
  EXPECT_EQ(FormatTime(DateTime{d, 0, 5, 0}, "hh-nn-ssAMPM"), "12-05-00AM");
}

TEST(Numbers, NumericMeansSignDigitsAndOnePoint) {
  for (const char* yes : {"0", "123", "-5", "+5", "1.5", ".5", "5.", "0012"})
    EXPECT_TRUE(IsNumeric(yes)) << yes;
  for (const char* no : {"", "-", ".", "1,000", " 1", "1 ", "1e5", "1.2.3", "12a", "--1"})
    EXPECT_FALSE(IsNumeric(no)) << no;
  EXPECT_DOUBLE_EQ(ToDouble("1500"), 1500);
  EXPECT_DOUBLE_EQ(ToDouble("-2.25"), -2.25);
  EXPECT_THROW(ToDouble("12a"), AppError);
  for (const char* yes : {"1", "0005", "2147483647"}) EXPECT_TRUE(IsWholeQuantity(yes)) << yes;
  for (const char* no : {"", "0", "000", "-5", "+5", "1.0", "1,000", "abc", " 5", "2147483648",
                         "99999999999999999999"})
    EXPECT_FALSE(IsWholeQuantity(no)) << no;
  for (auto [n, text] : {std::pair{0LL, "0"}, {999LL, "999"}, {1000LL, "1,000"},
                         {1234567LL, "1,234,567"}, {-1234567LL, "-1,234,567"}, {-999LL, "-999"}})
    EXPECT_EQ(Grouped(n), text) << n;
}

TEST(Numbers, Int32ConversionRoundsHalfToEvenAndGuardsItsRange) {
  EXPECT_EQ(ToInt32("2.5"), 2);
  EXPECT_EQ(ToInt32("3.5"), 4);
  EXPECT_EQ(ToInt32("2147483647"), 2147483647);
  EXPECT_THROW(ToInt32("2147483648"), AppError);
  EXPECT_EQ(AddInt32(2147483600, 47), 2147483647);
  EXPECT_THROW(AddInt32(2147483600, 48), AppError);
  EXPECT_THROW(AddInt32(-2147483647, -2), AppError);
}

}  // namespace
}  // namespace quorvin
