#pragma once
// The values the whole program shares for its lifetime: the settings, the two
// reference lists, the instruction kind and its code, the list kind and the
// holding message, with the ports every handler reports through.
#include <map>
#include <string>

#include "day/list_answers.h"
#include "day/reference_lists.h"
#include "ground/exchange.h"
#include "ground/ports.h"
#include "ground/settings.h"

namespace quorvin {

inline constexpr const char* kPayIn = "Pay In";
inline constexpr const char* kPayOut = "Pay Out";

struct AppContext {
  AppContext(Dialogs& dialogs, const Clock& clock, std::string programFolder)
      : dialogs(dialogs), clock(clock), programFolder(std::move(programFolder)), lists(dialogs) {}

  Dialogs& dialogs;
  const Clock& clock;
  std::string programFolder;  // ends with "/"

  Settings settings;
  ReferenceLists lists;
  ListAnswers answers;          // the lists' answers for the entry grid's cells
  std::string instructionKind;  // "Pay In" or "Pay Out"; empty until the first kind change
  std::string kindCode;         // "PI" or "PO"
  std::string listKind;         // "BO" or "ISIN"
  std::string holdingMessage;
  // The holding report the clerk used last for each settlement day and kind
  // ("10-Dec-2026 PI"), and the day and kind the main window works on now.
  std::map<std::string, std::string> holdingFiles;
  std::string holdingDay;
  ExchangeEndpoint exchange;  // where every transfer connects

  std::string IniPath() const { return programFolder + kSettingsFileName; }
  std::string DataPath(const std::string& fileName) const {
    return settings.BackupLocation + fileName;
  }
  // BO.txt and ISIN.txt from the backup location.
  void LoadLists() { LoadListsFrom(settings.BackupLocation); }
  // A data folder used for the first time gets lists that hold their header
  // line only, so a new clerk starts with empty lists, not a load error.
  void LoadListsFrom(const std::string& folder) {
    ProvideListFile(folder + "BO.txt", kBOListHeader);
    ProvideListFile(folder + "ISIN.txt", kISINListHeader);
    lists.LoadBOList(folder + "BO.txt");
    lists.LoadISINList(folder + "ISIN.txt");
  }
};

}  // namespace quorvin
