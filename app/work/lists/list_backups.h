#pragma once
// The dated backups of a reference list: their stamp and the files that are
// backups of a list in the data folder.
#include <string>
#include <vector>

#include "ground/dates.h"

namespace quorvin {

// One entry of the backup panel: what the clerk sees and the file behind it.
struct BackupEntry {
  std::string entry;
  std::string fileName;
};

// "yyyy-mm-dd_hh-nn-ss" (24-hour clock), the stamp of a list backup.
std::string BackupStamp(const DateTime& now);

// The entries for every file of `location` whose name ends with mainFile
// (letter case ignored), in ascending name order. Throws AppError when the
// folder cannot be read.
std::vector<BackupEntry> ListBackupEntries(const std::string& location,
                                           const std::string& mainFile);

}  // namespace quorvin
