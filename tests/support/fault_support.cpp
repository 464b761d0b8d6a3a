// Running a piece of the program in a child process and reading how it ended,
// and dropping root's permission override for a test.
#include "support/fault_support.h"

#ifndef _WIN32
#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <exception>
#include <filesystem>
#include <stdexcept>

namespace quorvin::test {

MsgAnswer AnsweringDialogs::Message(const std::string& text, const std::string& title, MsgIcon,
                                    MsgButtons buttons) {
  transcript += title + ": " + text + "\n";
  return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}

#ifndef _WIN32  // forked children and capabilities are POSIX
ChildEnd RunInChild(const std::function<void(std::string& output)>& body) {
  int pipe[2];
  if (::pipe(pipe) != 0) throw std::runtime_error("pipe failed");
  pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    ::close(pipe[0]);
    std::string output;
    try {
      body(output);
    } catch (const std::exception& e) {
      output += std::string("exception: ") + e.what() + "\n";
    }
    for (size_t done = 0; done < output.size();) {
      ssize_t n = ::write(pipe[1], output.data() + done, output.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    ::_exit(0);  // no test teardown, no exit handlers of the parent's
  }
  ::close(pipe[1]);
  ChildEnd end;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
    end.output.append(buffer, static_cast<size_t>(n));
  ::close(pipe[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  end.exited = WIFEXITED(status);
  end.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return end;
}

namespace {

bool Capabilities(__user_cap_data_struct (&data)[2], bool set) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  return ::syscall(set ? SYS_capset : SYS_capget, &header, data) == 0;
}

}  // namespace

WithoutPermissionOverride::WithoutPermissionOverride() {
  if (::geteuid() != 0) return;
  __user_cap_data_struct data[2];
  if (!Capabilities(data, false)) throw std::runtime_error("capget failed");
  for (int i = 0; i < 2; ++i) {
    saved_[i][0] = data[i].effective;
    saved_[i][1] = data[i].permitted;
    saved_[i][2] = data[i].inheritable;
  }
  for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
    data[cap / 32].effective &= ~(1u << (cap % 32));
  if (!Capabilities(data, true)) throw std::runtime_error("capset failed");
  dropped_ = true;
}

WithoutPermissionOverride::~WithoutPermissionOverride() {
  if (!dropped_) return;
  __user_cap_data_struct data[2];
  for (int i = 0; i < 2; ++i) data[i] = {saved_[i][0], saved_[i][1], saved_[i][2]};
  Capabilities(data, true);
}

#endif

}  // namespace quorvin::test
