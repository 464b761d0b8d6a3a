#pragma once
// Whole-row work shared by the entry grid and the list grid: adding, deleting,
// copying a cell down a selection, and finding a row.
#include <string>

#include "ground/grid.h"
#include "ground/ports.h"

namespace quorvin {

// Appends a data row numbered with its index, makes it current (column 1) and
// scrolls it to the top.
void AddRow(Grid& grid);

// Deletes the selected rows after "Delete Confirmation"; always leaves one data row.
void DeleteSelectedRows(Dialogs& dialogs, Grid& grid);

// Copies cell (copiedRow, copiedCol) into the current column of every selected
// row; with linkGroups, a cell of the account or security group brings its
// two partners along when pasted into its own column.
void PasteCell(Grid& grid, int copiedRow, int copiedCol, bool linkGroups);

// Finds the next row after the current one whose cell in `col` contains the
// needle (trimmed, letter case ignored), wrapping to the top; selects it whole
// and scrolls it to the top. Shows "No such record found." when none does.
void SearchRows(Dialogs& dialogs, Grid& grid, int col, const std::string& needle);

// The first data row from `from` on whose cell in `col` contains the needle
// (trimmed, letter case ignored), wrapping to the top; -1 when none does.
int FindRowFrom(const Grid& grid, int col, const std::string& needle, int from);

// Selects row r across all columns.
void SelectWholeRow(Grid& grid, int row);

}  // namespace quorvin
