// Whole text files: read at once or a piece of whole lines at a time, written
// through a temporary file put in place at once, copied and listed.
#include "ground/text_files.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <ctime>

#include "ground/dates.h"
#include "ground/errors.h"
#include "ground/fast_paths.h"
#include "ground/platform.h"

namespace quorvin {
namespace {

// Larger files are not a day's text; refuse them rather than exhaust memory.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{1} << 31;

// A write killed between creating its temporary file and putting it in place
// leaves the file behind. It is hidden, so no listing shows it; the next write
// of the same file removes it. (Another program writing the same file at this
// very moment would then see its replace fail and report it; no content is
// lost either way.)
void RemoveLeftTempFiles(const std::string& folder, const std::string& name) {
  const std::string prefix = platform::TempNamePrefix(name);
  try {
    for (const platform::FolderEntry& entry : platform::ListFolder(folder)) {
      const std::string_view found = entry.name;
      if (found.size() == prefix.size() + platform::kTempRandomChars &&
          found.substr(0, prefix.size()) == prefix)
        platform::RemoveFile(folder + entry.name);
    }
  } catch (const AppError&) {
    // Left for the next write to try again; the write itself went through.
  }
}

// Whether a name matches a wildcard of "*" and "?", letters in either case.
bool MatchesWildcard(std::string_view wildcard, std::string_view name) {
  size_t w = 0, n = 0, starW = std::string_view::npos, starN = 0;
  auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  };
  while (n < name.size()) {
    if (w < wildcard.size() && wildcard[w] == '*') {
      starW = w++;
      starN = n;
    } else if (w < wildcard.size() && (wildcard[w] == '?' || same(wildcard[w], name[n]))) {
      ++w;
      ++n;
    } else if (starW != std::string_view::npos) {
      w = starW + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (w < wildcard.size() && wildcard[w] == '*') ++w;
  return w == wildcard.size();
}

}  // namespace

std::optional<FileTime> LastWriteTime(const std::string& path) {
  return platform::LastWriteTime(path);
}

std::string DescribeFileTime(FileTime time) {
  const std::tm local = platform::LocalTime(std::chrono::system_clock::to_time_t(time));
  const DateTime when{Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}, local.tm_hour,
                      local.tm_min, local.tm_sec};
  return FormatDisplayDate(when.date) + " " + FormatTime(when, "hh:nn:ss");
}

std::optional<std::string> ReadTextFileIfPresent(const std::string& path) {
  const platform::FileStatus status = platform::StatusOf(path);
  if (status.kind == platform::FileKind::Missing) return std::nullopt;
  if (status.kind == platform::FileKind::Plain && status.size == 0) return std::string();
  return ReadTextFile(path);
}

namespace {

// Bytes read at a time into a LinePieces buffer.
constexpr size_t kPieceBlock = 256 * 1024;

// Opens a plain file for reading, refusing files too large.
std::unique_ptr<platform::InputFile> OpenForReading(const std::string& path) {
  auto file = std::make_unique<platform::InputFile>(path);
  if (file->Size() > kMaxFileBytes) throw AppError("File too large");
  return file;
}

}  // namespace

std::string ReadTextFile(const std::string& path) {
  const std::unique_ptr<platform::InputFile> file = OpenForReading(path);
  // Read straight into the text, the size the file has now; a file that grows
  // meanwhile is read on to its end.
  std::string content;
  size_t size = 0;
  content.reserve(static_cast<size_t>(file->Size()) + 1);
  AdviseLargePages(content.data(), content.capacity());
  content.resize(content.capacity());
  for (;;) {
    if (size == content.size()) content.resize(size + (1 << 16));
    const size_t n = file->Read(content.data() + size, content.size() - size);
    if (n == 0) break;
    size += n;
    if (size > kMaxFileBytes) throw AppError("File too large");
  }
  content.resize(size);
  if (content.empty()) throw AppError("Input past end of file");
  return content;
}

LinePieces::LinePieces(const std::string& path)
    : file_(OpenForReading(path)),
      size_(static_cast<size_t>(file_->Size())),
      buffer_(new char[kPieceBlock]),
      capacity_(kPieceBlock) {
  if (!Fill()) throw AppError("Input past end of file");
}

LinePieces::~LinePieces() = default;

bool LinePieces::Fill() {
  if (ended_) return false;
  if (start_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + start_, used_ - start_);
    used_ -= start_;
    start_ = 0;
  }
  if (used_ == capacity_) {  // a line longer than the buffer
    std::unique_ptr<char[]> larger(new char[capacity_ * 2]);
    std::memcpy(larger.get(), buffer_.get(), used_);
    buffer_ = std::move(larger);
    capacity_ *= 2;
  }
  const size_t n = file_->Read(buffer_.get() + used_, capacity_ - used_);
  if (n == 0) {
    ended_ = true;
    return false;
  }
  used_ += n;
  if (done_ + used_ > kMaxFileBytes) throw AppError("File too large");
  return true;
}

bool LinePieces::Next(std::string_view& piece) {
  if (last_) return false;
  // Only what came in since the last look is searched.
  for (size_t searched = 0;;) {
    std::string_view text(buffer_.get() + start_, used_ - start_);
    size_t end = text.substr(searched).rfind('\n');
    const size_t from = searched;
    searched = text.size();
    if (end != std::string_view::npos) {
      end += from;
      // The piece ends before the line end, a CR LF or a LF alone.
      piece = text.substr(0, end > 0 && text[end - 1] == '\r' ? end - 1 : end);
      start_ += end + 1;
      done_ += end + 1;
      return true;
    }
    if (!Fill()) break;
  }
  piece = std::string_view(buffer_.get() + start_, used_ - start_);
  done_ += piece.size();
  start_ = used_;
  last_ = true;
  return true;
}

TextSink::TextSink(platform::FileReplacement& file) : file_(file), block_(new char[kBlock]) {}

void TextSink::Flush() {
  file_.Write(std::string_view(block_.get(), used_));
  used_ = 0;
}

TextSink& TextSink::AppendLong(std::string_view text) {
  Flush();
  if (text.size() >= kBlock) {
    file_.Write(text);
    return *this;
  }
  return append(text);
}

TextSink& TextSink::AppendLong(size_t count, char c) {
  while (count > 0) {
    if (used_ == kBlock) Flush();
    size_t part = std::min(count, kBlock - used_);
    std::memset(block_.get() + used_, c, part);
    used_ += part;
    count -= part;
  }
  return *this;
}

void WriteTextFile(const std::string& path, const std::string& content) {
  WriteTextFileFrom(path, [&content](TextSink& sink) { sink.append(content); });
}

void WriteTextFileFrom(const std::string& path, const std::function<void(TextSink&)>& produce) {
  {
    platform::FileReplacement file(path);
    TextSink sink(file);
    produce(sink);
    sink.Flush();
    file.Commit();
  }
  RemoveLeftTempFiles(FolderOf(path), FileNameOf(path));
}

bool CopyTextFile(Dialogs& dialogs, const std::string& source, const std::string& target) {
  try {
    WriteTextFile(target, ReadTextFile(source));
    return true;
  } catch (const AppError& e) {
    ShowErrorDescription(dialogs, e.Description());
    return false;
  }
}

bool FolderExists(Dialogs& dialogs, const std::string& path) {
  if (path.empty()) return false;
  try {
    return platform::StatusOf(path).kind == platform::FileKind::Folder;
  } catch (const AppError& e) {
    ShowErrorDescription(dialogs, e.Description());
    return false;
  }
}

std::vector<std::string> ListFiles(const std::string& pattern) {
  const std::string wildcard = FileNameOf(pattern);
  std::vector<std::string> names;
  for (platform::FolderEntry& entry : platform::ListFolder(FolderOf(pattern))) {
    if (entry.name[0] == '.' || !entry.plain) continue;
    if (MatchesWildcard(wildcard, entry.name)) names.push_back(std::move(entry.name));
  }
  std::sort(names.begin(), names.end());
  if (names.empty()) names.emplace_back();
  return names;
}

}  // namespace quorvin
