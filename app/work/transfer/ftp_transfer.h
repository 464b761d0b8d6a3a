#pragma once
// The scripted FTP transfer every exchange with the server goes through: a
// command script and a small batch are written into the backup location, the
// system's command-line FTP client runs on them with its output captured in
// "out.txt", and the caller judges that output by a fixed reply. On Linux the
// batch is a POSIX shell script for `ftp`, on Windows a batch file for
// `ftp.exe`; both forms are built on either system, so that both are tested.
//
// A transfer, as the callers use it:
//   std::string out = RunTransfer(window, L, SendInstructionLines(day, file));
//   StepOutcome sent = UploadedWhole(out, remotePath, bytes);
//   DeleteTransferFiles(L);
#include <string>
#include <string_view>
#include <vector>

#include "ground/exchange.h"
#include "ground/platform.h"
#include "ground/ports.h"

namespace quorvin {

inline constexpr const char* kFtpScriptFileName = "ftp2MGX.txt";
inline constexpr const char* kFtpBatchFileName = "ftp2MGX.bat";
inline constexpr const char* kFtpOutputFileName = "out.txt";
// Held by a transfer while its client runs, so that a second Quorvin on the
// same folder neither writes over its work files nor removes them.
inline constexpr const char* kTransferLockFileName = "ftp2MGX.lock";
// The two forms of script and batch, and this system's own.
enum class ClientForm { kPosixShell, kWindowsBatch };
inline constexpr ClientForm kNativeForm =
    platform::kWindows ? ClientForm::kWindowsBatch : ClientForm::kPosixShell;
// The command-line client of each form, looked up on PATH.
inline constexpr const char* ClientProgram(ClientForm form) {
  return form == ClientForm::kWindowsBatch ? "ftp.exe" : "ftp";
}
// The day's file on the server: "dd-MMM-yyyy/<file name>" under "entry".
std::string InstructionRemotePath(const std::string& day, const std::string& fileName);
// The upload of the day's file: the day's folder made, the file put under its
// partial name. The rename to the final name is a step of its own.
std::vector<std::string> SendInstructionLines(const std::string& day, const std::string& fileName);
// The probe: the day's folder made, the file's size asked and the file fetched
// into the download work file, never over the clerk's saved file.
std::vector<std::string> ProbeInstructionLines(const std::string& day, const std::string& fileName);

// The client's command script: connect, log in, prompting off, "cd entry",
// the operation lines, "bye". The POSIX client's lines end with LF, the only
// line end it understands; the Windows client's lines are parted by CR LF.
// Throws AppError for a line that would split into two commands.
std::string FtpScriptText(const std::vector<std::string>& operationLines,
                          const ExchangeEndpoint& endpoint = {}, ClientForm form = kNativeForm);

// The batch: changes to the backup location and runs the client on the script,
// all its output going to "out.txt".
std::string FtpBatchText(const std::string& backupLocation, const ExchangeEndpoint& endpoint = {},
                         ClientForm form = kNativeForm);

// `text` as one word for the POSIX shell, whatever bytes it holds.
std::string QuoteForShell(std::string_view text);
// `text` in double quotes for a Windows batch file: "&", "^" and blanks are
// plain inside them; "%" is doubled so that it is not read as a variable.
std::string QuoteForBatch(std::string_view text);

// Writes the script and the batch into backupLocation (both readable by the
// owner only, since the script holds the password), runs the batch with
// ShellAndWait and no time limit in this system's form, and returns the text
// of "out.txt". The work
// files stay for the caller's clean-up. Throws AppError when the client is not
// installed (before anything is written), when a work file cannot be written
// or when "out.txt" cannot be read, and when another transfer holds the
// folder's transfer lock.
std::string RunTransfer(WindowPort& window, const std::string& backupLocation,
                        const std::vector<std::string>& operationLines,
                        const ExchangeEndpoint& endpoint = {});

// Removes backupLocation + "ftp2MGX.*" (the download work file too, not the
// lock) and + "out.txt"; files already gone are fine. Throws AppError when one
// cannot be removed.
void DeleteTransferFiles(const std::string& backupLocation);
// The work files a run that died left behind (they hold the password), unless
// a transfer is running from the folder now. Never throws.
void DeleteLeftoverTransferFiles(const std::string& backupLocation);

}  // namespace quorvin
