// The server double's commands: each prints the protocol command the client
// sends and the replies a server gives, and does to the folders what they do.
#include "support/ftp_server_double.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "ground/platform.h"

namespace quorvin::test {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class Session {
 public:
  Session(const std::string& root, const std::string& local, const FtpDoubleFaults& faults)
      : folder_(platform::PathOf(root)), local_(platform::PathOf(local)), faults_(faults) {}

  // False once the link is gone: the client then only says it is not connected.
  bool Run(const std::string& line) {
    std::istringstream words(line);
    std::string command, a, b, c;
    words >> command >> a >> b >> c;
    if (command == "open") {
      if (faults_.down) {
        out_ << "ftp: Can't connect to `" << a << ":" << b << "': Connection refused\n";
        return false;
      }
      out_ << "Connected to " << a << ".\n220 ready\n";
    } else if (command == "user") {
      Sent("USER " + a, "331 Password required for " + a + ".");
      if (faults_.wrongPassword) {
        Sent("PASS XXXX", "530 Login incorrect.");
        out_ << "Login failed.\n";
        return false;
      }
      Sent("PASS XXXX", "230 User " + a + " logged in.");
    } else if (command == "prompt") {
      out_ << "Interactive mode off.\n";
    } else if (command == "cd") {
      const bool there = fs::is_directory(folder_ / platform::PathOf(a), error_);
      if (there) folder_ /= platform::PathOf(a);
      Sent("CWD " + a, there ? "250 CWD command successful." : "550 " + a + ": No such file.");
    } else if (command == "binary") {
      Sent("TYPE I", "200 Type set to I.");
    } else if (command == "mkdir") {
      Sent("MKD " + a, fs::create_directory(Server(a), error_) ? "257 \"" + a + "\" created."
                                                               : "550 " + a + ": File exists.");
    } else if (command == "delete") {
      Sent("DELE " + a, fs::remove(Server(a), error_) ? "250 DELE command successful."
                                                      : "550 " + a + ": No such file.");
    } else if (command == "quote" && a == "SIZE") {
      const auto size = fs::file_size(Server(b), error_);
      Sent("SIZE " + b, error_ ? "550 " + b + ": No such file." : "213 " + std::to_string(size));
    } else if (command == "rename") {
      if (!fs::exists(Server(a), error_)) {
        Sent("RNFR " + a, "550 " + a + ": No such file.");
        return true;
      }
      Sent("RNFR " + a, "350 File exists, ready for destination name.");
      fs::rename(Server(a), Server(b), error_);
      Sent("RNTO " + b, error_ ? "550 " + b + ": Permission denied." : "250 Rename successful.");
    } else if (command == "put") {
      return Put(a, b.empty() ? a : b);
    } else if (command == "get") {
      const std::string to = b.empty() ? a : b;
      if (!fs::is_regular_file(Server(a), error_)) {
        Sent("RETR " + a, "550 " + a + ": No such file.");
        return true;
      }
      std::string bytes = ReadBytes(Server(a));
      const bool cut = Cut(bytes);
      std::ofstream(local_ / platform::PathOf(to), std::ios::binary | std::ios::trunc) << bytes;
      Sent("RETR " + a, "150 Opening BINARY mode data connection.");
      return Ended(cut);
    } else if (command == "bye") {
      Sent("QUIT", "221 Goodbye.");
    } else {
      out_ << "?Invalid command.\n";
    }
    return true;
  }

  std::string Output() const { return out_.str(); }
  void NotConnected() { out_ << "Not connected.\n"; }

 private:
  fs::path Server(const std::string& name) const { return folder_ / platform::PathOf(name); }

  void Sent(const std::string& command, const std::string& reply) {
    out_ << "---> " << command << "\n" << reply << "\n";
  }

  bool Put(const std::string& from, const std::string& to) {
    const fs::path source = local_ / platform::PathOf(from);
    if (!fs::is_regular_file(source, error_)) {
      out_ << "local: " << from << ": No such file or directory\n";
      return true;
    }
    if (faults_.refuseStore) {
      Sent("STOR " + to, "553 " + to + ": Permission denied.");
      return true;
    }
    std::string bytes = ReadBytes(source);
    const bool cut = Cut(bytes);
    // What arrived stays on the server under the name it was sent to.
    std::ofstream(Server(to), std::ios::binary | std::ios::trunc) << bytes;
    Sent("STOR " + to, "150 Opening BINARY mode data connection.");
    return Ended(cut);
  }

  // A link lost part way: only the first bytes cross.
  bool Cut(std::string& bytes) const {
    if (faults_.cutAfter < 0 || static_cast<long long>(bytes.size()) <= faults_.cutAfter)
      return false;
    bytes.resize(static_cast<size_t>(faults_.cutAfter));
    return true;
  }

  bool Ended(bool cut) {
    out_ << (cut ? "421 Service not available, remote server has closed connection.\n"
                 : "226 Transfer complete.\n");
    return !cut;
  }

  fs::path folder_, local_;
  FtpDoubleFaults faults_;
  std::ostringstream out_;
  std::error_code error_;
};

}  // namespace

std::string AnswerFtpLines(const std::vector<std::string>& lines, const std::string& root,
                           const std::string& local, const FtpDoubleFaults& faults) {
  Session session(root, local, faults);
  // Operation lines alone: the session starts connected and logged in, in `root`.
  bool connected = true;
  if (lines.empty() || lines.front().rfind("open ", 0) != 0)
    connected = session.Run("open 127.0.0.1 21") && session.Run("user quorvinftp secret");
  for (const std::string& line : lines) {
    if (connected) {
      connected = session.Run(line);
    } else {
      session.NotConnected();
    }
  }
  return session.Output();
}

}  // namespace quorvin::test
