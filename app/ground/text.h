#pragma once
// Byte-string helpers shared by every subsystem. Text is 8-bit: a cell, a line
// or a whole file is a std::string of raw bytes, never re-encoded.
#include <string>
#include <string_view>
#include <vector>

namespace quorvin {

inline constexpr std::string_view kCrLf = "\r\n";

// Splits at every occurrence of sep. An empty text gives no pieces at all;
// otherwise n separators give n + 1 pieces (empty ones included).
std::vector<std::string_view> SplitAll(std::string_view text, std::string_view sep);

std::string Join(const std::vector<std::string>& parts, std::string_view sep);

// Leading and trailing blanks (spaces only, as the clerk's tools trim).
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);

std::string RemoveAll(std::string_view text, std::string_view what);
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with);

// Case mapping of the 8-bit Western code page: ASCII and Latin-1 letters.
char ToUpperByte(char c);
char ToLowerByte(char c);
std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);

// True when needle occurs in haystack, letter case ignored. An empty needle
// is found everywhere.
bool ContainsNoCase(std::string_view haystack, std::string_view upperNeedle);

bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

}  // namespace quorvin
