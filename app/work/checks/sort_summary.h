#pragma once
// The multi-key row sort of the entry grid and the summary that folds rows of
// one BO account and security into one.
#include <string>
#include <vector>

#include "day/app_context.h"
#include "ground/grid.h"
#include "ground/ports.h"

namespace quorvin {

using RowTable = std::vector<Grid::CellRow>;

// One top-down merge-sort pass over table rows low..high on keyColumn; whole
// rows move. The right half's row is taken when its key is smaller, and that
// test is inverted for a descending key, so ties keep their order ascending but
// not descending: there the right half's row of two equal keys comes first.
// Numeric keys compare as doubles (a non-numeric cell throws AppError before
// any row moves); text keys compare byte by byte.
void MergeSortRows(RowTable& table, int low, int high, int keyColumn, bool descending,
                   bool numeric);

// Sorts the grid's non-fixed rows by keyColumns (most significant first) with
// one merge-sort pass per key, least significant first. The rows come out
// exactly in the order of those passes, though runs of ascending keys are
// sorted together. A failure is shown as its description and leaves every row
// where it was; returns whether the rows were sorted.
bool SortGridByColumns(Dialogs& dialogs, Grid& grid, const std::vector<int>& keyColumns,
                       const std::vector<bool>& numericFlags,
                       const std::vector<bool>& descendingFlags);

// BO ID, Client Code, ISIN Code ascending, then Quantity descending; then the
// serial numbers.
void SortEntries(AppContext& app, Grid& grid);

// Sorts, folds every run of neighbouring rows with the same BO ID and ISIN Code
// into its topmost row carrying the run's total, and renumbers the Internal
// Ref. No. column. Column 0 stays in place, so the serials stay 1, 2, 3...
//
// The fold gives the rows of a walk from the last row upward that merges each
// row into the one above it and shifts the rows below up, but in one pass. A
// run is added up from its bottom row upward. When an addition fails (a
// quantity that is not a number, or a sum beyond the signed 32-bit range) the
// error is shown and Summarize stops with exactly the walk's state at that
// step: every run below the failing pair is folded, the rows of the failing
// run below the pair are folded into the pair's lower row with their partial
// sum, and the pair and every row above it are untouched. The Internal Ref. No.
// are then not renumbered.
void Summarize(AppContext& app, Grid& grid);

// The "Summarize" button: asks "Confirm Summarize" and summarizes on Yes.
void SummarizeWithConfirmation(AppContext& app, Grid& grid);

// True, after restoring the window and showing "Not Summarized.", when two
// neighbouring rows still share BO ID and ISIN Code; the upper one is selected.
bool CheckSummarized(AppContext& app, Grid& grid, WindowPort& window,
                     const std::string& savedCaption);

}  // namespace quorvin
