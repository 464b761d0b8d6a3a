// Naming a day's instruction file, and saving or reloading it after asking
// the clerk, warning when another clerk saved it meanwhile.
#include "day/instruction_files.h"

#include "ground/grid_text.h"
#include "ground/text.h"

namespace quorvin {

std::string InstructionFileName(const AppContext& app, const Date& settlementDate) {
  return FormatDisplayDate(settlementDate) + "_" + app.kindCode + "_" + app.settings.BrokerID +
         ".txt";
}

std::string InstructionFilePath(const AppContext& app, const Date& settlementDate) {
  return app.DataPath(InstructionFileName(app, settlementDate));
}

bool SaveInstructions(AppContext& app, const Grid& grid, const Date& settlementDate,
                      const std::optional<FileTime>& known) {
  const std::string d = FormatDisplayDate(settlementDate);
  if (app.dialogs.Message(
          "Are you sure to save the " + app.instructionKind + " file of " + d + " ?",
          "Save Confirmation", MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
    return false;
  const std::string path = InstructionFilePath(app, settlementDate);
  // Another clerk on the same data folder may have saved the day meanwhile.
  const std::optional<FileTime> now = LastWriteTime(path);
  if (known && now && *now != *known &&
      app.dialogs.Message("The " + app.instructionKind + " file of " + d + " was saved again at " +
                              DescribeFileTime(*now) +
                              ", perhaps by another clerk, since it was loaded or saved here." +
                              std::string(kCrLf) + "Replace it with the rows shown here?",
                          "File Changed", MsgIcon::Question,
                          MsgButtons::YesNoDefaultNo) != MsgAnswer::Yes)
    return false;
  if (!SaveGridText(app.dialogs, grid, path)) return false;
  app.dialogs.Message(app.instructionKind + " file of " + d + " saved successfully.", "File Saved.",
                      MsgIcon::Information, MsgButtons::Ok);
  return true;
}

bool ReloadInstructions(AppContext& app, Grid& grid, const Date& settlementDate) {
  const std::string d = FormatDisplayDate(settlementDate);
  if (app.dialogs.Message(
          "Are you sure to load the " + app.instructionKind + " file of " + d + " ?",
          "Load Confirmation", MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
    return false;
  return LoadGridText(app.dialogs, InstructionFilePath(app, settlementDate), grid);
}

}  // namespace quorvin
