#pragma once
// The one place where dates are read and written.
//
// ParseDate accepts, with blanks around it allowed and day before month as in
// the broker's regional settings:
//   d-MMM-yyyy, d MMM yyyy, d/MMM/yyyy   month as English name or 3-letter abbreviation
//   d-m-yyyy, d/m/yyyy, d.m.yyyy        numeric month
//   yyyy-m-d, yyyy/m/d                  year first when the first part has 4 digits
//   ddmmyyyy                            eight digits, no separator
// with any of "-", "/", ".", " " as separator, a 2-digit year (00-29 -> 20xx,
// 30-99 -> 19xx), and an optional time after a blank ("10:15", "10:15:30 AM"),
// which is ignored. Anything else, or a day the month does not have, is not a date.
#include <optional>
#include <string>
#include <string_view>

namespace quorvin {

struct Date {
  int year = 0, month = 0, day = 0;
  friend bool operator==(const Date&, const Date&) = default;
  friend auto operator<=>(const Date&, const Date&) = default;
};

struct DateTime {
  Date date;
  int hour = 0, minute = 0, second = 0;
};

std::optional<Date> ParseDate(std::string_view text);
bool IsValidDate(int year, int month, int day);
// The calendar day before.
Date DayBefore(const Date& date);

// Date patterns: "dd", "d", "MMM" or "mmm" (English abbreviation), "MM" or "mm"
// (two-digit month), "yyyy", "yy". Any other character is copied.
std::string FormatDate(const Date& date, std::string_view pattern);
// Time patterns: "hh" (24-hour, or 12-hour when "AMPM" appears), "nn" minutes,
// "ss" seconds, "AMPM". Any other character is copied.
std::string FormatTime(const DateTime& time, std::string_view pattern);

// The system's everyday form, "dd-MMM-yyyy".
inline std::string FormatDisplayDate(const Date& date) {
  return FormatDate(date, "dd-MMM-yyyy");
}

}  // namespace quorvin
