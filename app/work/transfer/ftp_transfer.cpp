// Writing the FTP command script and its batch, running the client on them,
// judging its captured output and deleting the work files afterwards.
#include "work/transfer/ftp_transfer.h"

#include <cstdlib>

#include "ground/errors.h"
#include "ground/text.h"
#include "ground/text_files.h"
#include "work/transfer/remote_files.h"
#include "work/transfer/shell_and_wait.h"

namespace quorvin {
namespace {

// One script line must stay one client command: a line end inside it would
// let a name smuggle in commands of its own.
void RequireSingleLine(std::string_view line) {
  if (line.find_first_of("\r\n") != std::string_view::npos || line.find('\0') != line.npos) {
    throw AppError("Invalid FTP command: " +
                   std::string(line.substr(0, line.find_first_of("\r\n"))));
  }
}

// Host and port are single words on the "open" line.
void RequireWord(std::string_view word) {
  bool ok = !word.empty();
  for (unsigned char c : word) ok = ok && c > ' ' && c < 0x7f;
  if (!ok) throw AppError("Invalid FTP server address");
}

}  // namespace

// The day's file is named with its folder on the server rather than after a
// "cd" into it: a server that refuses the folder then refuses the transfer,
// instead of taking the file into (or giving it from) "entry" itself.
std::string InstructionRemotePath(const std::string& day, const std::string& fileName) {
  return day + "/" + fileName;
}

std::vector<std::string> SendInstructionLines(const std::string& day, const std::string& fileName) {
  std::vector<std::string> lines = {"mkdir " + day};
  for (std::string& line : UploadLines(fileName, InstructionRemotePath(day, fileName)))
    lines.push_back(std::move(line));
  return lines;
}

std::vector<std::string> ProbeInstructionLines(const std::string& day,
                                               const std::string& fileName) {
  std::vector<std::string> lines = {"mkdir " + day};
  for (std::string& line : DownloadLines(InstructionRemotePath(day, fileName)))
    lines.push_back(std::move(line));
  return lines;
}

std::string FtpScriptText(const std::vector<std::string>& operationLines,
                          const ExchangeEndpoint& endpoint, ClientForm form) {
  if (!endpoint.unusable.empty()) throw AppError(endpoint.unusable);
  RequireWord(endpoint.host);
  RequireWord(endpoint.port);
  RequireWord(endpoint.user);
  RequireWord(endpoint.password);
  const bool windows = form == ClientForm::kWindowsBatch;
  std::vector<std::string> lines = {
      "open " + endpoint.host + " " + endpoint.port,
      "user " + endpoint.user + " " + endpoint.password,
  };
  // The POSIX client starts with prompting on and "prompt" turns it off; the
  // Windows client is started with it off (-i), where "prompt" would turn it on.
  if (!windows) lines.push_back("prompt");
  lines.push_back("cd entry");
  for (const std::string& line : operationLines) {
    RequireSingleLine(line);
    lines.push_back(line);
  }
  lines.push_back("bye");
  return windows ? Join(lines, "\r\n") : Join(lines, "\n") + "\n";
}

std::string QuoteForShell(std::string_view text) {
  // Inside single quotes nothing is special but the single quote itself,
  // which is closed, escaped and reopened.
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string QuoteForBatch(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    quoted += c;
    if (c == '%') quoted += '%';
  }
  return quoted + "\"";
}

std::string FtpBatchText(const std::string& backupLocation, const ExchangeEndpoint& endpoint,
                         ClientForm form) {
  if (backupLocation.find('\0') != std::string::npos) throw AppError("Path not found");
  if (form == ClientForm::kWindowsBatch) {
    // A Windows name never holds a double quote; a line end would end the line.
    if (backupLocation.find_first_of("\"\r\n") != std::string::npos)
      throw AppError("Path not found");
    // chcp 65001: the lines that follow are read as UTF-8, so a folder named
    // outside the ANSI code page is found. cd /d changes the drive as well.
    // -i: no prompting; -n: log in only through the script's "user" line;
    // -d: every command sent is printed before its replies, so that each step
    // is judged by its own. (Not -v: the Windows client would then keep the
    // server's replies, which are what the caller reads, out of out.txt.)
    std::string folder = backupLocation;
    for (char& c : folder)
      if (c == '/') c = '\\';  // cmd's own separator
    return "@echo off\r\n"
           "chcp 65001 >nul\r\n"
           "cd /d " +
           QuoteForBatch(folder) + "\r\n" + ClientProgram(form) +
           " -i -n -d -s:" + kFtpScriptFileName + " >" + kFtpOutputFileName + " 2>&1\r\nexit";
  }
  // -n: log in only through the script's "user" line, never from ~/.netrc;
  // -v: print every server reply, which is what the caller reads;
  // -d: print every command sent before its replies, so that each step is
  // judged by its own replies;
  // -q: give up on a server that stays silent.
  // umask: out.txt is private like the script.
  // exec: the client takes the shell's place, and with it the tie that ends
  // it when the program ends.
  return "#!/bin/sh\n"
         "umask 077\n"
         "unset CDPATH\n"
         "cd -- " +
         QuoteForShell(backupLocation) + " || exit 1\nexec " + ClientProgram(form) + " -n -v -d -q " +
         std::to_string(endpoint.stallSeconds > 0 ? endpoint.stallSeconds : 60) + " <" +
         kFtpScriptFileName + " >" + kFtpOutputFileName + " 2>&1\n";
}

std::string RunTransfer(WindowPort& window, const std::string& backupLocation,
                        const std::vector<std::string>& operationLines,
                        const ExchangeEndpoint& endpoint) {
  // A folder where the lock cannot be made fails below, at the first write.
  const platform::FileLock lock(backupLocation + kTransferLockFileName);
  if (lock.HeldElsewhere())
    throw AppError("Another transfer is running from " + backupLocation +
                   "; try again when it has ended.");
  // Without the client the batch would only leave a complaint in out.txt; the
  // clerk is told what is missing instead.
  const char* client = ClientProgram(kNativeForm);
  if (!platform::ProgramOnPath(client))
    throw AppError(std::string("FTP client not found: ") + client);
  const std::string script = FtpScriptText(operationLines, endpoint);
  const std::string batch = FtpBatchText(backupLocation, endpoint);
  const std::string output = backupLocation + kFtpOutputFileName;
  platform::WritePrivateFile(backupLocation + kFtpScriptFileName, script);
  platform::WritePrivateFile(backupLocation + kFtpBatchFileName, batch);
  if constexpr (kNativeForm == ClientForm::kWindowsBatch) {
    // An empty private out.txt for the batch to fill: its writing into a
    // file that is there keeps the file's owner-only access.
    platform::WritePrivateFile(output, "");
    // Started in the backup location, the batch is named without a folder:
    // nothing in the folder's name reaches the command line. /d: no start-up
    // commands of the user's; /v:off: "!" in a name stays a plain character.
    // The system's command interpreter by its full name (ComSpec), never a
    // cmd.exe that happens to lie in the program's or the current folder.
    const char* comspec = std::getenv("ComSpec");
    ShellAndWait(
        {comspec && *comspec ? comspec : "cmd.exe", "/d", "/v:off", "/c", kFtpBatchFileName}, 0,
        window, backupLocation);
  } else {
    // An output left by an interrupted run must never be read as this run's.
    platform::RemoveFile(output);
    ShellAndWait({"/bin/sh", backupLocation + kFtpBatchFileName}, 0, window);
  }
  return ReadTextFile(output);
}

void DeleteTransferFiles(const std::string& backupLocation) {
  for (const std::string& name : ListFiles(backupLocation + "ftp2MGX.*")) {
    if (!name.empty() && name != kTransferLockFileName) platform::RemoveFile(backupLocation + name);
  }
  platform::RemoveFile(backupLocation + kFtpOutputFileName);
}

void DeleteLeftoverTransferFiles(const std::string& backupLocation) {
  try {
    const platform::FileLock lock(backupLocation + kTransferLockFileName);
    if (lock.Held()) DeleteTransferFiles(backupLocation);
  } catch (const std::exception&) {
    // Left for the next transfer, which removes them before it starts.
  }
}

}  // namespace quorvin
