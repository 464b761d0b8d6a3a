#pragma once
// Reading the FTP client's captured output command by command. Both clients
// run in debug mode, so every protocol command they send is printed as
// "---> VERB argument", followed by the server's replies to it. A step of a
// transfer is judged only by the replies to its own command: no text found
// elsewhere in the output (a banner, a login message, a file name) can make a
// step succeed.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvin {

struct FtpReply {
  int code = 0;
  std::string text;  // the reply's last line, e.g. "226 Transfer complete."
};

struct FtpCommand {
  std::string verb;      // upper case: "STOR", "RNFR", "SIZE", …
  std::string argument;  // as sent: "10-Dec-2026/10-Dec-2026_PI_204513.txt.part"
  std::vector<FtpReply> replies;

  // The last reply, or code 0 when the server never answered.
  FtpReply Final() const { return replies.empty() ? FtpReply{} : replies.back(); }
};

class FtpSession {
 public:
  explicit FtpSession(std::string_view clientOutput);

  // The last command sent with this verb and argument, or null.
  const FtpCommand* Find(std::string_view verb, std::string_view argument) const;

  // A data transfer (STOR, RETR) that the server opened (125/150) and ended
  // as complete (226/250).
  bool TransferCompleted(std::string_view verb, std::string_view argument) const;
  // The server's SIZE of a file (213), when it gave one.
  std::optional<long long> SizeOf(std::string_view path) const;
  // The command asking for the file got 550: the server has no such file.
  bool Missing(std::string_view verb, std::string_view argument) const;
  // A rename from `from` to `to` that the server accepted (350, then 250).
  bool Renamed(std::string_view from, std::string_view to) const;

  // The words that decided a failed step, for the clerk: the step's own
  // reply when it got one, else the refused login, else the client's own
  // complaint (no connection, a closed link), else that no reply came.
  std::string WhyFailed(std::string_view verb, std::string_view argument) const;

 private:
  std::vector<FtpReply> greeting_;
  std::vector<FtpCommand> commands_;
  std::vector<std::string> clientLines_;
};

}  // namespace quorvin
