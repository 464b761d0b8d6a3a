// The FTP command lines that archive and upload the broker's BO list, and how
// their output tells that the earlier list was moved aside.
#include "work/lists/list_exchange.h"

#include "work/transfer/ftp_transfer.h"

namespace quorvin {

std::string ArchiveStamp(const DateTime& now) {
  return FormatDate(now.date, "dd-MMM-yy") + "_" + FormatTime(now, "hh-nn-ssAMPM");
}

std::string BOListName(const std::string& brokerId) {
  return "BO_" + brokerId;
}

std::vector<std::string> ArchiveBOListLines(const std::string& brokerId, const DateTime& now) {
  const std::string name = BOListName(brokerId);
  return {"mkdir " + name,
          "rename " + name + ".txt " + name + "/" + name + "_" + ArchiveStamp(now) + ".txt"};
}

std::vector<std::string> UploadBOListLines(const std::string& brokerId) {
  return {"put " + BOListName(brokerId) + ".txt"};
}

bool EarlierListMovedAside(std::string_view archiveOutput) {
  return RenameSucceeded(archiveOutput) || RemoteFileMissing(archiveOutput);
}

}  // namespace quorvin
