// Reading a date the clerk typed in any of the accepted forms, checking that
// the day exists, and writing dates and times out by pattern.
#include "ground/dates.h"

#include <array>
#include <cctype>
#include <vector>

#include "ground/text.h"

namespace quorvin {
namespace {

constexpr std::array<const char*, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

int ToInt(std::string_view s) {
  int v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}

// Month by English name or abbreviation of at least 3 letters, 0 when none.
int MonthByName(std::string_view s) {
  if (s.size() < 3) return 0;
  std::string upper = ToUpper(s);
  for (int m = 0; m < 12; ++m) {
    std::string full = ToUpper(kMonthNames[m]);
    if (upper.size() <= full.size() && full.compare(0, upper.size(), upper) == 0) return m + 1;
  }
  return 0;
}

int ExpandYear(std::string_view s) {
  int y = ToInt(s);
  if (s.size() <= 2) y += y < 30 ? 2000 : 1900;
  return y;
}

bool IsTimePart(std::string_view s) {
  s = TrimView(s);
  if (s.empty()) return false;
  for (char c : s) {
    unsigned char u = static_cast<unsigned char>(c);
    if (!std::isdigit(u) && c != ':' && c != ' ' && c != 'A' && c != 'P' && c != 'M' && c != 'a' &&
        c != 'p' && c != 'm')
      return false;
  }
  return s.find(':') != std::string_view::npos;
}

std::string Pad2(int v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int max = kDays[month - 1];
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (month == 2 && leap) max = 29;
  return day <= max;
}

std::optional<Date> ParseDate(std::string_view text) {
  text = TrimView(text);
  if (text.empty() || text.size() > 64) return std::nullopt;
  if (text.size() == 8 && AllDigits(text)) {
    Date d{ToInt(text.substr(4)), ToInt(text.substr(2, 2)), ToInt(text.substr(0, 2))};
    if (!IsValidDate(d.year, d.month, d.day)) return std::nullopt;
    return d;
  }
  // Split into the three date parts; a fourth part starting after a blank may be a time.
  std::vector<std::string_view> parts;
  size_t i = 0;
  while (i < text.size() && parts.size() < 3) {
    size_t start = i;
    while (i < text.size() && text[i] != '-' && text[i] != '/' && text[i] != '.' && text[i] != ' ')
      ++i;
    parts.push_back(text.substr(start, i - start));
    if (parts.size() == 3) break;
    if (i >= text.size()) break;
    char sep = text[i++];
    if (sep == ' ')
      while (i < text.size() && text[i] == ' ') ++i;
  }
  if (parts.size() != 3) return std::nullopt;
  std::string_view rest = text.substr(i);
  if (!rest.empty() && (rest[0] != ' ' || !IsTimePart(rest))) return std::nullopt;

  int year, month, day;
  if (AllDigits(parts[0]) && parts[0].size() == 4) {  // yyyy-m-d
    if (!AllDigits(parts[1]) || !AllDigits(parts[2]) || parts[1].size() > 2 || parts[2].size() > 2)
      return std::nullopt;
    year = ToInt(parts[0]);
    month = ToInt(parts[1]);
    day = ToInt(parts[2]);
  } else {
    if (!AllDigits(parts[0]) || parts[0].size() > 2) return std::nullopt;
    day = ToInt(parts[0]);
    if (AllDigits(parts[1])) {
      if (parts[1].size() > 2) return std::nullopt;
      month = ToInt(parts[1]);
    } else {
      month = MonthByName(parts[1]);
      if (month == 0) return std::nullopt;
    }
    if (!AllDigits(parts[2]) || (parts[2].size() != 2 && parts[2].size() != 4)) return std::nullopt;
    year = ExpandYear(parts[2]);
  }
  if (!IsValidDate(year, month, day)) return std::nullopt;
  return Date{year, month, day};
}

std::string FormatDate(const Date& date, std::string_view p) {
  std::string out;
  for (size_t i = 0; i < p.size();) {
    auto at = [&](std::string_view token) { return p.substr(i, token.size()) == token; };
    if (at("yyyy")) {
      std::string y = std::to_string(date.year);
      out += std::string(y.size() < 4 ? 4 - y.size() : 0, '0') + y;
      i += 4;
    } else if (at("yy")) {
      out += Pad2(date.year % 100);
      i += 2;
    } else if (at("MMM") || at("mmm")) {
      out += std::string(kMonthNames[date.month - 1]).substr(0, 3);
      i += 3;
    } else if (at("MM") || at("mm")) {
      out += Pad2(date.month);
      i += 2;
    } else if (at("dd")) {
      out += Pad2(date.day);
      i += 2;
    } else if (at("d")) {
      out += std::to_string(date.day);
      i += 1;
    } else {
      out += p[i++];
    }
  }
  return out;
}

std::string FormatTime(const DateTime& t, std::string_view p) {
  bool twelve = p.find("AMPM") != std::string_view::npos;
  std::string out;
  for (size_t i = 0; i < p.size();) {
    auto at = [&](std::string_view token) { return p.substr(i, token.size()) == token; };
    if (at("AMPM")) {
      out += t.hour < 12 ? "AM" : "PM";
      i += 4;
    } else if (at("hh")) {
      int h = t.hour;
      if (twelve) h = h % 12 == 0 ? 12 : h % 12;
      out += Pad2(h);
      i += 2;
    } else if (at("nn")) {
      out += Pad2(t.minute);
      i += 2;
    } else if (at("ss")) {
      out += Pad2(t.second);
      i += 2;
    } else {
      out += p[i++];
    }
  }
  return out;
}

Date DayBefore(const Date& date) {
  if (date.day > 1) return {date.year, date.month, date.day - 1};
  Date before{date.month == 1 ? date.year - 1 : date.year, date.month == 1 ? 12 : date.month - 1,
              31};
  while (before.day > 28 && !IsValidDate(before.year, before.month, before.day)) --before.day;
  return before;
}

}  // namespace quorvin
