// Reading the administrator's exchange file and refusing any value that
// could not go onto one line of the transfer script.
#include "ground/exchange.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "ground/errors.h"
#include "ground/platform.h"
#include "ground/text.h"
#include "ground/text_files.h"

namespace quorvin {
namespace {

// Longer than any host name or login; a longer value is a broken file.
constexpr size_t kLongestValue = 255;

// A value goes onto one line of the client's script as one word.
bool OneWord(std::string_view value) {
  for (unsigned char c : value)
    if (c <= ' ' || c >= 0x7f) return false;
  return true;
}

std::string CheckValue(const std::string& key, const std::string& value) {
  if (value.size() > kLongestValue) return "the value of " + key + " is too long";
  if (value.empty()) return key + " is empty";
  if (!OneWord(value)) return key + " must be one word of visible ASCII characters";
  // The client's own command reader takes quotes and backslashes in a "user"
  // line as quoting, so the server would be sent other words than these.
  if ((key == "User" || key == "Password") && value.find_first_of("\"\\") != std::string::npos)
    return key + " holds a \" or \\, which the FTP client cannot pass on";
  if (key == "Port") {
    bool digits = value.size() <= 5;
    for (char c : value) digits = digits && c >= '0' && c <= '9';
    if (!digits || std::stoi(value) < 1 || std::stoi(value) > 65535)
      return "Port must be a number from 1 to 65535, not \"" + value + "\"";
  }
  return {};
}

}  // namespace

ExchangeEndpoint ReadExchangeConfig(const std::string& path) {
  ExchangeEndpoint endpoint;
  auto refuse = [&](const std::string& why) {
    endpoint.unusable = "The exchange configuration " + path + " cannot be used: " + why + ".";
    return endpoint;
  };
  std::error_code error;
  const auto status = std::filesystem::status(platform::PathOf(path), error);
  if (status.type() == std::filesystem::file_type::not_found) return endpoint;
  if (error) return refuse(error.message());
  // A pipe or device would block the start; only a plain file is read.
  if (status.type() != std::filesystem::file_type::regular) return refuse("it is not a file");
  if (std::filesystem::file_size(platform::PathOf(path), error) == 0 && !error) return endpoint;
  std::string text;
  try {
    text = ReadTextFile(path);
  } catch (const AppError& e) {
    return refuse(e.Description());
  }
  int number = 0;
  for (std::string_view line : SplitAll(text, "\n")) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (TrimView(line).empty() || line.front() == '#') continue;
    const size_t colon = line.find(" : ");
    const std::string key =
        colon == std::string_view::npos ? std::string() : Trim(line.substr(0, colon));
    std::string* field = key == "Host"       ? &endpoint.host
                         : key == "Port"     ? &endpoint.port
                         : key == "User"     ? &endpoint.user
                         : key == "Password" ? &endpoint.password
                                             : nullptr;
    if (!field)
      return refuse("line " + std::to_string(number) +
                    " is not \"Host\", \"Port\", \"User\" or \"Password\" : value");
    const std::string value = Trim(line.substr(colon + 3));
    if (std::string why = CheckValue(key, value); !why.empty()) return refuse(why);
    *field = value;
  }
  return endpoint;
}

}  // namespace quorvin
