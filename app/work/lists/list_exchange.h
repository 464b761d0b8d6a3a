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

// The first transfer of a BO list send: make the archive folder and move the
// earlier upload into it under the stamp of `now`.
std::vector<std::string> ArchiveBOListLines(const std::string& brokerId, const DateTime& now);
// The second: the upload itself.
std::vector<std::string> UploadBOListLines(const std::string& brokerId);

// Whether the first transfer's output shows that no earlier upload is left
// where the new one goes: it was renamed into the archive, or there was none.
// Anything else (a refused folder or rename, no answer) keeps the upload back,
// so that a list the server holds is never overwritten unarchived.
bool EarlierListMovedAside(std::string_view archiveOutput);

}  // namespace quorvin
