// Parting the client's output into the commands it sent and the replies each
// one got, and judging a step by its own replies.
#include "work/transfer/ftp_replies.h"

#include <cctype>
#include <cstdlib>

#include "ground/text.h"

namespace quorvin {
namespace {

constexpr std::string_view kCommandMark = "---> ";

// "226 Transfer complete." or the first line "211-Features:" of a long reply;
// not the client's own "442 bytes sent in 00:00", which starts the same way.
bool IsReplyLine(std::string_view line) {
  if (line.size() < 3 || line[0] < '1' || line[0] > '5') return false;
  for (int i = 1; i < 3; ++i)
    if (!std::isdigit(static_cast<unsigned char>(line[i]))) return false;
  if (line.size() > 3 && line[3] != ' ' && line[3] != '-') return false;
  const std::string_view rest = line.substr(3);
  return rest.rfind(" bytes sent in ", 0) != 0 && rest.rfind(" bytes received in ", 0) != 0;
}

int CodeOf(std::string_view line) {
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

}  // namespace

FtpSession::FtpSession(std::string_view clientOutput) {
  int longReply = 0;  // the code of a reply that runs over several lines
  for (std::string_view line : SplitAll(clientOutput, "\n")) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (longReply != 0) {
      // Inside a long reply only "<code> " ends it; whatever else its lines
      // hold (other codes, arrows) is the server's text.
      if (IsReplyLine(line) && CodeOf(line) == longReply && (line.size() == 3 || line[3] == ' ')) {
        (commands_.empty() ? greeting_ : commands_.back().replies)
            .push_back({longReply, std::string(line)});
        longReply = 0;
      }
      continue;
    }
    if (line.substr(0, kCommandMark.size()) == kCommandMark) {
      std::string_view sent = line.substr(kCommandMark.size());
      const size_t blank = sent.find(' ');
      FtpCommand command;
      command.verb = ToUpper(sent.substr(0, blank));
      if (blank != std::string_view::npos) command.argument = std::string(sent.substr(blank + 1));
      commands_.push_back(std::move(command));
    } else if (IsReplyLine(line)) {
      if (line.size() > 3 && line[3] == '-') {
        longReply = CodeOf(line);
        continue;
      }
      (commands_.empty() ? greeting_ : commands_.back().replies)
          .push_back({CodeOf(line), std::string(line)});
    } else if (!TrimView(line).empty()) {
      clientLines_.emplace_back(line);
    }
  }
}

const FtpCommand* FtpSession::Find(std::string_view verb, std::string_view argument) const {
  for (auto it = commands_.rbegin(); it != commands_.rend(); ++it)
    if (it->verb == verb && it->argument == argument) return &*it;
  return nullptr;
}

bool FtpSession::TransferCompleted(std::string_view verb, std::string_view argument) const {
  const FtpCommand* command = Find(verb, argument);
  if (!command) return false;
  bool opened = false;
  for (const FtpReply& reply : command->replies) opened = opened || reply.code / 100 == 1;
  const int last = command->Final().code;
  return opened && (last == 226 || last == 250);
}

std::optional<long long> FtpSession::SizeOf(std::string_view path) const {
  const FtpCommand* command = Find("SIZE", path);
  if (!command || command->Final().code != 213) return std::nullopt;
  const std::string& text = command->Final().text;
  const std::string digits = Trim(text.substr(3));
  if (digits.empty() || digits.size() > 18 ||
      digits.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return std::strtoll(digits.c_str(), nullptr, 10);
}

bool FtpSession::Missing(std::string_view verb, std::string_view argument) const {
  const FtpCommand* command = Find(verb, argument);
  return command && command->Final().code == 550;
}

bool FtpSession::Renamed(std::string_view from, std::string_view to) const {
  const FtpCommand* start = Find("RNFR", from);
  const FtpCommand* end = Find("RNTO", to);
  return start && end && start < end && start->Final().code == 350 && end->Final().code == 250;
}

std::string FtpSession::WhyFailed(std::string_view verb, std::string_view argument) const {
  if (const FtpCommand* command = Find(verb, argument); command && !command->replies.empty()) {
    // Opened and never ended: the link or the client went away part way.
    if (command->Final().code / 100 == 1)
      return "The transfer stopped before the server said it was complete (" +
             command->Final().text + ").";
    return command->Final().text;
  }
  for (const FtpCommand& command : commands_)
    if ((command.verb == "USER" || command.verb == "PASS") && command.Final().code >= 400)
      return command.Final().text;
  for (const FtpCommand& command : commands_)
    for (const FtpReply& reply : command.replies)
      if (reply.code == 421) return reply.text;
  for (const FtpReply& reply : greeting_)
    if (reply.code >= 400) return reply.text;
  for (const std::string& line : clientLines_)
    if (line.rfind("ftp: ", 0) == 0) return line;
  return "No reply from the server to " + std::string(verb) + " " + std::string(argument) + ".";
}

}  // namespace quorvin
