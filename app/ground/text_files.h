#pragma once
// Whole-file text routines. Files are raw bytes: nothing is re-encoded and no
// line end is added or taken away.
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ground/platform.h"
#include "ground/ports.h"

namespace quorvin {

// The whole file. Throws AppError for a missing, unreadable or empty file.
std::string ReadTextFile(const std::string& path);
// The whole file, nullopt when there is none, "" for an empty one; throws
// AppError as ReadTextFile does otherwise.
std::optional<std::string> ReadTextFileIfPresent(const std::string& path);

// A file's text handed out a piece at a time, each piece whole lines (lines
// end at CR LF), so that a large file is read through one small buffer.
// Opening throws AppError as ReadTextFile does, for an empty file too.
class LinePieces {
 public:
  explicit LinePieces(const std::string& path);
  ~LinePieces();
  LinePieces(const LinePieces&) = delete;
  LinePieces& operator=(const LinePieces&) = delete;

  // The next piece: lines without the line end (CR LF or LF) after the last
  // of them, so that the pieces are the file's text split at some of its line ends. False after
  // the last piece, which is what follows the file's last CR LF. A piece
  // stays valid until the next call; a read failing throws AppError.
  bool Next(std::string_view& piece);
  // The file's size when it was opened, and how much of it was handed out.
  size_t Size() const { return size_; }
  size_t Done() const { return done_; }

 private:
  // Reads on into the buffer; false at the end of the file.
  bool Fill();

  std::unique_ptr<platform::InputFile> file_;
  size_t size_ = 0, done_ = 0;
  std::unique_ptr<char[]> buffer_;
  size_t capacity_ = 0, used_ = 0, start_ = 0;  // text in [start_, used_)
  bool ended_ = false, last_ = false;
};

// Replaces the file with exactly `content`. The new text goes to a hidden
// temporary file in the same folder, is flushed to disk and then renamed over
// the target, so the target always holds either its old or its new content.
// Throws AppError on failure and leaves no temporary file behind.
void WriteTextFile(const std::string& path, const std::string& content);

// Text on its way into a file, for a write whose text is made piece by piece:
// what is appended goes to the file a block at a time, so the whole text is
// never held at once.
class TextSink {
 public:
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;

  TextSink& append(std::string_view text) {
    if (text.size() > kBlock - used_) return AppendLong(text);
    CopyShort(block_.get() + used_, text.data(), text.size());
    used_ += text.size();
    return *this;
  }
  TextSink& append(size_t count, char c) {
    if (count > kBlock - used_) return AppendLong(count, c);
    std::memset(block_.get() + used_, c, count);
    used_ += count;
    return *this;
  }

 private:
  friend void WriteTextFileFrom(const std::string& path,
                                const std::function<void(TextSink&)>& produce);
  static constexpr size_t kBlock = 256 * 1024;

  explicit TextSink(platform::FileReplacement& file);
  // memcpy, with the short texts most appends are copied in place: two
  // overlapping words cover 8 to 16 characters, two halves 4 to 7.
  static void CopyShort(char* to, const char* from, size_t n) {
    if (n >= 8 && n <= 16) {
      std::uint64_t head, tail;
      std::memcpy(&head, from, 8);
      std::memcpy(&tail, from + n - 8, 8);
      std::memcpy(to, &head, 8);
      std::memcpy(to + n - 8, &tail, 8);
    } else if (n >= 4 && n < 8) {
      std::uint32_t head, tail;
      std::memcpy(&head, from, 4);
      std::memcpy(&tail, from + n - 4, 4);
      std::memcpy(to, &head, 4);
      std::memcpy(to + n - 4, &tail, 4);
    } else if (n < 4) {
      for (size_t i = 0; i < n; ++i) to[i] = from[i];
    } else {
      std::memcpy(to, from, n);
    }
  }
  TextSink& AppendLong(std::string_view text);
  TextSink& AppendLong(size_t count, char c);
  void Flush();

  platform::FileReplacement& file_;
  std::unique_ptr<char[]> block_;
  size_t used_ = 0;
};

// WriteTextFile of the text that `produce` appends to the sink, with the same
// guarantees: should produce throw, the target keeps its old content, no
// temporary file is left and the exception goes on to the caller.
void WriteTextFileFrom(const std::string& path, const std::function<void(TextSink&)>& produce);

// WriteTextFile(target, ReadTextFile(source)); reports a failure itself.
bool CopyTextFile(Dialogs& dialogs, const std::string& source, const std::string& target);

// False for an empty path and for anything that is not a folder.
bool FolderExists(Dialogs& dialogs, const std::string& path);

// Names of the ordinary, non-hidden files matching a "folder/wild*card" pattern
// (letter case ignored in the name part), sorted by name. Never empty: when
// nothing matches, one empty name. Throws AppError when the folder cannot be read.
std::vector<std::string> ListFiles(const std::string& pattern);

// When a file was last written, to see whether someone wrote it since; nullopt
// when there is no such file.
using FileTime = std::chrono::system_clock::time_point;
std::optional<FileTime> LastWriteTime(const std::string& path);
// The time in the clerk's words: "dd-MMM-yyyy hh:nn:ss", local time.
std::string DescribeFileTime(FileTime time);

// "/a/b/" for "/a/b/c.txt" and "c.txt" for the name.
using platform::FileNameOf;
using platform::FolderOf;

}  // namespace quorvin
