#pragma once
// What the in-cell editors of the entry grid may open and what Enter writes.
#include <optional>
#include <string>

#include "day/app_context.h"
#include "ground/dates.h"
#include "ground/grid.h"

namespace quorvin {

enum class EditGesture { DoubleClick, Enter };

bool IsEditableColumn(int col, EditGesture gesture, bool freeEntry);
bool IsDateColumn(int col);

// What the text editor starts with: the cell's text, or when it is blank the
// text of the cell above (from row 2 on).
std::string InitialEditorText(const Grid& grid, int row, int col);

// What the date picker starts with: the date of the row above when it holds
// one, else the cell's own date, else nothing (the picker keeps its value).
std::optional<Date> InitialPickerDate(const Grid& grid, int row, int col);

// "12345" with template "1204510000000000" gives "12045100000" + "12345".
std::string CompleteBOID(const std::string& typed, const std::string& boidTemplate);

struct EditOutcome {
  bool written = false;    // false: a message was shown, the editor stays open
  std::string editorText;  // the text the editor holds afterwards
};

// Enter in the text editor: trims, checks and completes the text, fills the
// dependent columns from the lists, writes the cell and widens its column.
EditOutcome FinishCellEdit(AppContext& app, Grid& grid, int row, int col, const std::string& text,
                           bool freeEntry);

// The date picker writes its date into the cell at once.
void WriteDateCell(Grid& grid, int row, int col, const Date& date);

}  // namespace quorvin
