#pragma once
// One instruction file per settlement date, kind and broker, in the backup location.
#include <string>

#include "day/app_context.h"
#include "ground/dates.h"
#include "ground/grid.h"
#include "ground/text_files.h"

namespace quorvin {

// "10-Dec-2026_PI_204513.txt"
std::string InstructionFileName(const AppContext& app, const Date& settlementDate);
std::string InstructionFilePath(const AppContext& app, const Date& settlementDate);

// "Save Confirmation", then the whole grid to the file, then "File Saved.".
// When the file was written by someone else since `known` (when this window
// last loaded or saved it), "File Changed" asks first, and No writes nothing.
// True when the file now holds the grid.
bool SaveInstructions(AppContext& app, const Grid& grid, const Date& settlementDate,
                      const std::optional<FileTime>& known = std::nullopt);

// "Load Confirmation", then the file into the grid (header row included).
// True when the whole file was loaded.
bool ReloadInstructions(AppContext& app, Grid& grid, const Date& settlementDate);

}  // namespace quorvin
