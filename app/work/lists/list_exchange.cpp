// The FTP command lines that archive the broker's earlier BO list on the
// server, and how their replies tell that it was moved aside.
#include "work/lists/list_exchange.h"

#include "work/transfer/ftp_replies.h"

namespace quorvin {

std::string ArchiveStamp(const DateTime& now) {
  return FormatDate(now.date, "dd-MMM-yy") + "_" + FormatTime(now, "hh-nn-ssAMPM");
}

std::string BOListName(const std::string& brokerId) {
  return "BO_" + brokerId;
}

std::string BOListRemoteName(const std::string& brokerId) {
  return BOListName(brokerId) + ".txt";
}

std::string ArchivedBOListName(const std::string& brokerId, const DateTime& now) {
  const std::string name = BOListName(brokerId);
  return name + "/" + name + "_" + ArchiveStamp(now) + ".txt";
}

std::vector<std::string> ArchiveBOListLines(const std::string& brokerId, const DateTime& now) {
  const std::string current = BOListRemoteName(brokerId);
  return {"mkdir " + BOListName(brokerId), "quote SIZE " + current,
          "rename " + current + " " + ArchivedBOListName(brokerId, now)};
}

bool EarlierListMovedAside(std::string_view archiveOutput, const std::string& brokerId,
                           const DateTime& now, bool& archived, std::string& why) {
  const FtpSession session(archiveOutput);
  const std::string current = BOListRemoteName(brokerId);
  archived = session.Renamed(current, ArchivedBOListName(brokerId, now));
  if (archived) return true;
  // A first send: nothing there to archive, whatever words the server uses for it.
  if (session.Missing("SIZE", current) && session.Missing("RNFR", current)) return true;
  const FtpCommand* start = session.Find("RNFR", current);
  why = start && start->Final().code == 350
            ? session.WhyFailed("RNTO", ArchivedBOListName(brokerId, now))
            : session.WhyFailed("RNFR", current);
  return false;
}

}  // namespace quorvin
