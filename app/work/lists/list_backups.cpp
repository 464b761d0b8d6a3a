// The date-and-time stamp of a list backup, and the backups of a list found
// in the backup location.
#include "work/lists/list_backups.h"

#include "ground/text_files.h"

namespace quorvin {

std::string BackupStamp(const DateTime& now) {
  return FormatDate(now.date, "yyyy-mm-dd") + "_" + FormatTime(now, "hh-nn-ss");
}

std::vector<BackupEntry> ListBackupEntries(const std::string& location,
                                           const std::string& mainFile) {
  std::vector<BackupEntry> entries;
  const std::string suffix = "_" + mainFile;
  for (std::string& name : ListFiles(location + "*" + mainFile)) {
    if (name.empty()) continue;
    size_t at = name.find(suffix);
    std::string entry = at == std::string::npos ? name : name.substr(0, at);
    entries.push_back({std::move(entry), std::move(name)});
  }
  return entries;
}

}  // namespace quorvin
