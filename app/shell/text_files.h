#pragma once
// Whole-file text routines. Files are raw bytes: nothing is re-encoded and no
// line end is added or taken away.
#include <string>
#include <vector>

#include "shell/ports.h"

namespace quorvin {

// The whole file. Throws AppError for a missing, unreadable or empty file.
std::string ReadTextFile(const std::string& path);

// Replaces the file with exactly `content`. The new text goes to a hidden
// temporary file in the same folder, is flushed to disk and then renamed over
// the target, so the target always holds either its old or its new content.
// Throws AppError on failure and leaves no temporary file behind.
void WriteTextFile(const std::string& path, const std::string& content);

// WriteTextFile(target, ReadTextFile(source)); reports a failure itself.
bool CopyTextFile(Dialogs& dialogs, const std::string& source, const std::string& target);

// False for an empty path and for anything that is not a folder.
bool FolderExists(Dialogs& dialogs, const std::string& path);

// Names of the ordinary, non-hidden files matching a "folder/wild*card" pattern
// (letter case ignored in the name part), sorted by name. Never empty: when
// nothing matches, one empty name. Throws AppError when the folder cannot be read.
std::vector<std::string> ListFiles(const std::string& pattern);

// "/a/b/" for "/a/b/c.txt" and "c.txt" for the name.
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);

}  // namespace quorvin
