// Splitting, joining, trimming, replacing and case-folding byte strings.
#include "ground/text.h"

#include <algorithm>

namespace quorvin {

std::vector<std::string_view> SplitAll(std::string_view text, std::string_view sep) {
  std::vector<std::string_view> parts;
  if (text.empty()) return parts;
  size_t start = 0;
  for (;;) {
    size_t at = text.find(sep, start);
    if (at == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, at - start));
    start = at + sep.size();
  }
}

std::string Join(const std::vector<std::string>& parts, std::string_view sep) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += sep;
    out += parts[i];
  }
  return out;
}

std::string_view TrimView(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  return text.substr(b, e - b);
}

std::string Trim(std::string_view text) {
  return std::string(TrimView(text));
}

std::string RemoveAll(std::string_view text, std::string_view what) {
  return ReplaceAll(text, what, {});
}

std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
  std::string out;
  out.reserve(text.size());
  size_t start = 0;
  for (;;) {
    size_t at = text.find(what, start);
    if (at == std::string_view::npos || what.empty()) break;
    out.append(text.substr(start, at - start));
    out.append(with);
    start = at + what.size();
  }
  out.append(text.substr(start));
  return out;
}

char ToUpperByte(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u >= 'a' && u <= 'z') return static_cast<char>(u - 32);
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 32);
  return c;
}

char ToLowerByte(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u >= 'A' && u <= 'Z') return static_cast<char>(u + 32);
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<char>(u + 32);
  return c;
}

std::string ToUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = ToUpperByte(c);
  return out;
}

std::string ToLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = ToLowerByte(c);
  return out;
}

bool ContainsNoCase(std::string_view haystack, std::string_view upperNeedle) {
  if (upperNeedle.empty()) return true;
  if (upperNeedle.size() > haystack.size()) return false;
  auto eq = [](char a, char b) { return ToUpperByte(a) == b; };
  return std::search(haystack.begin(), haystack.end(), upperNeedle.begin(), upperNeedle.end(),
                     eq) != haystack.end();
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

}  // namespace quorvin
