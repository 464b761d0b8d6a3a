#pragma once
// One instruction file per settlement date, kind and broker, in the backup location.
#include <string>

#include "day/app_context.h"
#include "ground/dates.h"
#include "ground/grid.h"

namespace quorvin {

// "10-Dec-2026_PI_204513.txt"
std::string InstructionFileName(const AppContext& app, const Date& settlementDate);
std::string InstructionFilePath(const AppContext& app, const Date& settlementDate);

// "Save Confirmation", then the whole grid to the file, then "File Saved.".
void SaveInstructions(AppContext& app, const Grid& grid, const Date& settlementDate);

// "Load Confirmation", then the file into the grid (header row included).
void ReloadInstructions(AppContext& app, Grid& grid, const Date& settlementDate);

}  // namespace quorvin
