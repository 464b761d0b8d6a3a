#include "day/instruction_files.h"

#include "ground/grid_text.h"

namespace quorvin {

std::string InstructionFileName(const AppContext& app, const Date& settlementDate) {
  return FormatDisplayDate(settlementDate) + "_" + app.kindCode + "_" + app.settings.BrokerID +
         ".txt";
}

std::string InstructionFilePath(const AppContext& app, const Date& settlementDate) {
  return app.DataPath(InstructionFileName(app, settlementDate));
}

void SaveInstructions(AppContext& app, const Grid& grid, const Date& settlementDate) {
  const std::string d = FormatDisplayDate(settlementDate);
  if (app.dialogs.Message(
          "Are you sure to save the " + app.instructionKind + " file of " + d + " ?",
          "Save Confirmation", MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
    return;
  if (!SaveGridText(app.dialogs, grid, InstructionFilePath(app, settlementDate))) return;
  app.dialogs.Message(app.instructionKind + " file of " + d + " saved successfully.", "File Saved.",
                      MsgIcon::Information, MsgButtons::Ok);
}

void ReloadInstructions(AppContext& app, Grid& grid, const Date& settlementDate) {
  const std::string d = FormatDisplayDate(settlementDate);
  if (app.dialogs.Message(
          "Are you sure to load the " + app.instructionKind + " file of " + d + " ?",
          "Load Confirmation", MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
    return;
  LoadGridText(app.dialogs, InstructionFilePath(app, settlementDate), grid);
}

}  // namespace quorvin
