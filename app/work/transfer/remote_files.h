#pragma once
// The steps that keep the exchange's files whole: a file goes up under a
// temporary name beside its final one, its size on the server is checked
// against ours, and only then is it renamed to the final name; a file comes
// down into a work file of our own and counts only when it is as long as the
// server says. Each step is one run of the client, judged by its own replies.
#include <string>
#include <string_view>
#include <vector>

namespace quorvin {

// Where a file waits on the server until it is whole: "<final name>.part".
std::string PartialName(const std::string& remotePath);
// The local work file a download lands in; the work files' clean-up takes it.
inline constexpr const char* kDownloadFileName = "ftp2MGX.get";

// How one step went, and the reply that decided a failure.
struct StepOutcome {
  bool done = false;
  std::string why;
};

// Binary mode, any partial file of an earlier attempt removed, the local file
// put under the partial name, the server asked for its size.
std::vector<std::string> UploadLines(const std::string& localName, const std::string& remotePath);
StepOutcome UploadedWhole(std::string_view output, const std::string& remotePath,
                          long long localBytes);

// The file renamed, the server asked for the size under the new name.
std::vector<std::string> RenameLines(const std::string& from, const std::string& to);
StepOutcome RenamedWhole(std::string_view output, const std::string& from, const std::string& to,
                         long long localBytes);

// The server asked for the file's size, then the file fetched into kDownloadFileName.
std::vector<std::string> DownloadLines(const std::string& remotePath);
enum class Download { kWhole, kMissing, kFailed };
struct DownloadOutcome {
  Download state = Download::kFailed;
  std::string why;
};
// localBytes: the size of kDownloadFileName after the run, or -1 when there is none.
DownloadOutcome DownloadedWhole(std::string_view output, const std::string& remotePath,
                                long long localBytes);

}  // namespace quorvin
