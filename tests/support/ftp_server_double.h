#pragma once
// A server double for the transfer tests: it answers a client's script lines
// over a folder as an FTP server would and prints what the command-line client
// prints in debug mode ("---> STOR …" and the replies). The send's unit tests
// use it in-process; the Windows client's stand-in is built on it.
#include <string>
#include <vector>

namespace quorvin::test {

struct FtpDoubleFaults {
  bool down = false;           // nothing listens
  bool wrongPassword = false;  // the login is refused
  bool refuseStore = false;    // uploads are refused (553)
  long long cutAfter = -1;     // an upload's link is lost after this many bytes
};

// Runs `lines` (the whole script or only its operation lines) against the
// server folder `root` (the folder "entry" there when the script changes into
// it); local names are under `local`. Names are UTF-8.
std::string AnswerFtpLines(const std::vector<std::string>& lines, const std::string& root,
                           const std::string& local, const FtpDoubleFaults& faults = {});

}  // namespace quorvin::test
