#pragma once
// The reference lists' exchange with the exchange server: the broker's BO list
// goes up, the earlier upload first moved into the broker's archive folder
// there; the exchange's ISIN list comes down.
#include <string>
#include <string_view>
#include <vector>

#include "ground/dates.h"

namespace quorvin {

// "dd-MMM-yy_hh-nn-ssAMPM", the stamp of an archived BO list on the server.
std::string ArchiveStamp(const DateTime& now);

// What the server calls the broker's BO list (without ".txt") and its archive folder.
std::string BOListName(const std::string& brokerId);

// The BO list's name on the server: "BO_<broker>.txt" under "entry".
std::string BOListRemoteName(const std::string& brokerId);

// The second step of a BO list send, once the new list is up under its
// partial name: make the archive folder, ask whether there is an earlier
// upload and move it into the archive under the stamp of `now`.
std::vector<std::string> ArchiveBOListLines(const std::string& brokerId, const DateTime& now);
// Where ArchiveBOListLines moves the earlier upload: "BO_X/BO_X_<stamp>.txt".
std::string ArchivedBOListName(const std::string& brokerId, const DateTime& now);

// Whether the archive step leaves the place of the new list free: the earlier
// upload was renamed into the archive, or the server has none (its SIZE and
// its rename both answered 550). Anything else (a refused folder or rename, no
// answer) keeps the new list back, so that a list the server holds is never
// overwritten unarchived; `why` then says what the server answered.
bool EarlierListMovedAside(std::string_view archiveOutput, const std::string& brokerId,
                           const DateTime& now, bool& archived, std::string& why);

}  // namespace quorvin
