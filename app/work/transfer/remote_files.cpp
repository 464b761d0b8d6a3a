// The upload, rename and download steps and how each one's replies are judged.
#include "work/transfer/remote_files.h"

#include "work/transfer/ftp_replies.h"

namespace quorvin {
namespace {

std::string SizeMismatch(long long server, long long local) {
  return "The server holds " + std::to_string(server) + " bytes of " + std::to_string(local) + ".";
}

// The server's size must be ours; its refusal to tell is a failure too.
StepOutcome SizeMatches(const FtpSession& session, const std::string& path, long long bytes) {
  const auto size = session.SizeOf(path);
  if (!size) return {false, session.WhyFailed("SIZE", path)};
  if (*size != bytes) return {false, SizeMismatch(*size, bytes)};
  return {true, {}};
}

}  // namespace

std::string PartialName(const std::string& remotePath) {
  return remotePath + ".part";
}

std::vector<std::string> UploadLines(const std::string& localName, const std::string& remotePath) {
  const std::string partial = PartialName(remotePath);
  return {"binary", "delete " + partial, "put " + localName + " " + partial,
          "quote SIZE " + partial};
}

StepOutcome UploadedWhole(std::string_view output, const std::string& remotePath,
                          long long localBytes) {
  const FtpSession session(output);
  const std::string partial = PartialName(remotePath);
  if (!session.TransferCompleted("STOR", partial)) return {false, session.WhyFailed("STOR", partial)};
  return SizeMatches(session, partial, localBytes);
}

std::vector<std::string> RenameLines(const std::string& from, const std::string& to) {
  return {"binary", "rename " + from + " " + to, "quote SIZE " + to};
}

StepOutcome RenamedWhole(std::string_view output, const std::string& from, const std::string& to,
                         long long localBytes) {
  const FtpSession session(output);
  if (!session.Renamed(from, to)) {
    const FtpCommand* start = session.Find("RNFR", from);
    const bool refusedAtOnce = !start || start->Final().code != 350;
    return {false, refusedAtOnce ? session.WhyFailed("RNFR", from) : session.WhyFailed("RNTO", to)};
  }
  return SizeMatches(session, to, localBytes);
}

std::vector<std::string> DownloadLines(const std::string& remotePath) {
  return {"binary", "quote SIZE " + remotePath,
          "get " + remotePath + " " + std::string(kDownloadFileName)};
}

DownloadOutcome DownloadedWhole(std::string_view output, const std::string& remotePath,
                                long long localBytes) {
  const FtpSession session(output);
  // The server saying it has no such file, to the size or to the fetch.
  if (session.Missing("SIZE", remotePath) || session.Missing("RETR", remotePath))
    return {Download::kMissing, session.WhyFailed("RETR", remotePath)};
  if (!session.TransferCompleted("RETR", remotePath))
    return {Download::kFailed, session.WhyFailed("RETR", remotePath)};
  const auto size = session.SizeOf(remotePath);
  if (!size) return {Download::kFailed, session.WhyFailed("SIZE", remotePath)};
  if (*size != localBytes)
    return {Download::kFailed, "Fetched " + std::to_string(localBytes < 0 ? 0 : localBytes) +
                                   " bytes of " + std::to_string(*size) + "."};
  return {Download::kWhole, {}};
}

}  // namespace quorvin
