#pragma once
// The entry fixture made ready to send: rows that pass every check, a holding
// file that covers them, a window that keeps every caption it was given, and
// the names of the day's file and its archive copies.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "day/instruction_files.h"
#include "ground/grid_text.h"
#include "support/entry_fixture.h"
#include "support/recording_window.h"
#include "work/checks/holding_file.h"
#include "work/transfer/send_instructions.h"

namespace quorvin::test {

class CaptionLog : public RecordingWindow {
 public:
  CaptionLog() : RecordingWindow("Quorvin : Pay In") {}
};

class SendFixture : public EntryFixture {
 protected:
  static constexpr const char* kDay = "10-Dec-2026";
  const Date settlement{2026, 12, 10};

  // A row every check accepts; the Internal Ref. No. carries the kind's letter.
  int AddGoodRow(const std::string& clientCode, const std::string& boId, bool alpha,
                 const std::string& qty) {
    int r = AddEntry("08-Dec-2026", clientCode, boId, alpha ? "ALPHATEX" : "BRIGHTCEM",
                     alpha ? "MG1000ALPH31" : "MG1037BRIG52", qty);
    grid.SetText(r, col::kBrokerID, "204513");
    grid.SetText(r, col::kClearingBOID, "1204510000067342");
    grid.SetText(r, col::kDeliveryDate, kDay);
    grid.SetText(r, col::kBOName, boId == kBoidA ? "Rahim Hossain" : "Nasrin Akter");
    grid.SetText(r, col::kISINName,
                 alpha ? "Alpha Textiles Limited" : "Bright Cement Company Ltd.");
    grid.SetText(r, col::kInternalRefNo,
                 app.kindCode.substr(1) + "204513081226" + std::to_string(r));
    return r;
  }

  // Two rows of different accounts, in the order the sort gives them.
  void AddTwoGoodRows() {
    AddGoodRow("C1001", kBoidA, true, "100");
    AddGoodRow("C1002", kBoidB, false, "250");
  }

  // A holding report with a large balance for each data row's BOID and ISIN.
  std::string WriteCoveringHoldingFile() {
    std::string text = "Report for 08-Dec-2026 : Holding Balance of Participant 204513";
    for (int i = 1; i < kFirstBalanceLine; ++i) text += "\r\n";
    for (int r = 1; r < grid.Rows(); ++r)
      text += "\r\n" + grid.Text(r, col::kBOID) + " " + grid.Text(r, col::kISINCode) +
              "  Name  1000000";
    dir.Write("11DPA6UX.TXT", text);
    return dir.File("11DPA6UX.TXT");
  }

  void ExpectConfirmation(MsgAnswer answer = MsgAnswer::Yes) {
    dialogs.ExpectQuestion("Are you sure to send the entered records to MGX as " +
                               app.instructionKind + " file of " + kDay + " ?",
                           app.instructionKind + " of " + kDay + " Send Confirmation", answer);
  }

  std::string FileName() const { return InstructionFileName(app, settlement); }
  std::string LocalFile() const { return InstructionFilePath(app, settlement); }
  std::string ArchiveName(const std::string& stamp) const {
    return std::string(kDay) + "_" + app.kindCode + "_204513_" + stamp + ".txt";
  }

  // Names of the files in L + "Sent/", sorted; empty when there is no folder.
  std::vector<std::string> Archives() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("Sent"), error))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  void ExpectNoWorkFiles() const {
    EXPECT_FALSE(dir.Exists("ftp2MGX.txt"));
    EXPECT_FALSE(dir.Exists("ftp2MGX.bat"));
    EXPECT_FALSE(dir.Exists("out.txt"));
  }

  CaptionLog window;
  std::string savedCaption = "stale";
};

}  // namespace quorvin::test
