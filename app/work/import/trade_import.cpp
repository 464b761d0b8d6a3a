// Importing the broker's trade file into the entry grid: the lines of one
// side read, client codes and scrips looked up, and the rows handed over at once.
#include "work/import/trade_import.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "day/entry_grid.h"
#include "ground/errors.h"
#include "ground/fast_paths.h"
#include "ground/grid_text.h"
#include "ground/text.h"
#include "ground/text_files.h"
#include "ground/text_map.h"
#include "ground/version.h"
#include "work/import/trade_lines.h"

namespace quorvin {
namespace {

constexpr size_t kBatchRows = 32;
constexpr int kScripField = 1, kSideField = 3, kQuantityField = 4, kClientField = 6,
              kTradeDateField = 10;

// The trade date as the broker's system writes it, in the grid's form.
std::string TradeDateText(std::string_view field) {
  auto date = ParseDate(field);
  if (!date) throw AppError("Type mismatch");
  // Through "dd-mm-yyyy" and back, as the dates always took this way.
  auto again = ParseDate(FormatDate(*date, "dd-mm-yyyy"));
  return FormatDisplayDate(*again);
}

std::string LineFailure(size_t line, const std::string& what) {
  return "Line " + std::to_string(line + 1) + " of the trade file " + what;
}

// A trade file repeats a few trade dates; each distinct text is converted once.
class TradeDates {
 public:
  const std::string& Text(std::string_view field) {
    if (!known_ || field != field_) {
      text_ = TradeDateText(field);
      field_ = field;
      known_ = true;
    }
    return text_;
  }

 private:
  bool known_ = false;
  std::string field_, text_;
};

// The imported rows, built apart and handed to the grid once. The grid ends
// as writing and widening each cell in place would leave it: the header row,
// the imported rows, and, after a failure, blank rows up to one for every
// line read (row 1 keeping the "1" of the cleared grid when no row came in). Columns grow to their
// widest cell; widening never narrows, so the order of the cells does not matter.
class ImportedRows {
 public:
  static constexpr size_t kRowsMadeRoomFor = size_t{1} << 21;

  explicit ImportedRows(Grid& grid)
      : grid_(grid),
        cols_(static_cast<size_t>(grid.Cols())),
        widths_(grid.Cols()),
        pool_(std::make_shared<CellPool>()) {
    for (int c = 0; c < grid.Cols(); ++c) widths_[c] = grid.ColWidth(c);
  }

  CellPool& Pool() { return *pool_; }

  // Called before the first row, with a guess of the rows to come. Room is
  // made for a large day at once; a guess beyond that (a huge file of short
  // lines) is not trusted: the rows grow as they come.
  void Start(size_t rows) {
    cells_.reserve((std::min(rows, kRowsMadeRoomFor) + 1) * cols_);
    AdviseLargePages(cells_.data(), cells_.capacity() * sizeof(Cell));
    AddCopy(0);
    started_ = true;
  }

  Cell* Add() {
    cells_.resize(cells_.size() + cols_, pool_->Empty());
    ++rows_;
    return cells_.data() + cells_.size() - cols_;
  }
  int Count() const { return static_cast<int>(rows_) - 1; }

  // Widens column c to fit a cell of it; widening never narrows.
  void Widen(int c, Cell text) {
    if (static_cast<long long>(text->size()) * grid_.Measure().MaxCharWidthTwips() + kWidenMargin <=
        widths_[c])
      return;
    widths_[c] = std::max(widths_[c], grid_.Measure().WidthTwips(*text) + kWidenMargin);
  }

  // Drops the rows: the grid stays as cleared.
  void Abandon() { started_ = false; }

  // failed: the import stopped at a line; a row for each of the `lines` read stays.
  void Finish(bool failed, size_t lines) {
    if (started_) {
      if (failed) {
        if (rows_ == 1) AddCopy(1);
        while (rows_ < lines + 1) Add();
      }
      grid_.ReplaceCells(std::move(cells_), static_cast<int>(rows_), std::move(pool_));
    }
    for (int c = 0; c < grid_.Cols(); ++c) grid_.SetColWidth(c, widths_[c]);
  }

 private:
  void AddCopy(int gridRow) {
    for (int c = 0; c < grid_.Cols(); ++c) cells_.push_back(pool_->Intern(grid_.Text(gridRow, c)));
    ++rows_;
  }

  Grid& grid_;
  size_t cols_;
  std::vector<int> widths_;
  std::shared_ptr<CellPool> pool_;
  std::vector<Cell> cells_;  // row after row
  size_t rows_ = 0;
  bool started_ = false;
};

// A sell line read but not yet looked up. Lines are taken in batches so that
// the lookups' table slots can be fetched from memory while earlier lines are
// looked up.
struct PendingRow {
  std::string_view scrip, quantity, client;
  Cell tradeDate;
  std::uint64_t scripHash, quantityHash, clientHash;
};

// The cells the lists give for a client code or a scrip, remembered per
// text when the lists answer without a box (they show one on every lookup
// that reaches a record holding a serial number only). Each cell is widened
// for when it is first made: the same text never needs it again.
class ImportLookups {
 public:
  ImportLookups(const ReferenceLists& lists, ListAnswers& answers, ImportedRows& rows)
      : lists_(lists),
        answers_(answers),
        rows_(rows),
        pool_(rows.Pool()),
        remember_(!lists.HasSerialOnlyRecords()),
        clients_(1024) {
    answers_.Use(lists, pool_);
  }

  // A looked-up text's cell and the two cells the lists give for it: BO ID
  // and BO Name for a client code, ISIN Code and ISIN Name for a scrip ID.
  struct Answer {
    Cell text, first, second;
  };

  TextMap<Answer>& Clients() { return clients_; }

  // A new client code costs a chain of lookups: the pool, the list's index,
  // the record found. Fetching each link for all the new codes of a batch
  // before following any lets their waits overlap.
  void PrefetchNewClients(const std::vector<PendingRow>& rows) {
    fresh_.clear();
    if (!remember_) return;  // every row asks the lists anyway
    for (const PendingRow& row : rows)
      if (!clients_.Find(row.client, row.clientHash)) fresh_.push_back(&row);
    for (const PendingRow* row : fresh_) {
      pool_.Prefetch(row->clientHash);
      lists_.PrefetchBOIDAndName(row->clientHash);
    }
    for (const PendingRow* row : fresh_) lists_.PrefetchBOIDAndName(row->client);
  }

  const Answer& ForClient(std::string_view code, std::uint64_t hash) {
    return Find(clients_, code, hash, {col::kClientCode, col::kBOID, col::kBOName}, [&](Cell text) {
      const ListAnswers::Account& account = answers_.ForClient(text);
      return Answer{text, account.boid, account.boName};
    });
  }
  const Answer& ForScrip(std::string_view scrip, std::uint64_t hash) {
    return Find(scrips_, scrip, hash, {col::kScripID, col::kISINCode, col::kISINName},
                [&](Cell text) {
                  const ListAnswers::Security& security = answers_.ForScrip(text);
                  return Answer{text, security.isinCode, security.isinName};
                });
  }
  Cell ForQuantity(std::string_view quantity, std::uint64_t hash) {
    Cell* known = quantities_.Find(quantity, hash);
    if (known) return *known;
    Cell text = pool_.Intern(quantity);
    rows_.Widen(col::kQuantity, text);
    return quantities_.Add(*text, hash, text);
  }

 private:
  // The answer for a text, looked up (and its cells widened, in `columns`)
  // when the text is new or the lists may show a box.
  template <typename Look>
  const Answer& Find(TextMap<Answer>& known, std::string_view text, std::uint64_t hash,
                     const int (&columns)[3], Look look) {
    Answer* answer = known.Find(text, hash);
    if (answer && remember_) return *answer;
    Answer found = look(pool_.Intern(text));
    rows_.Widen(columns[0], found.text);
    rows_.Widen(columns[1], found.first);
    rows_.Widen(columns[2], found.second);
    if (answer) return *answer = found;
    return known.Add(*found.text, hash, found);
  }

  const ReferenceLists& lists_;
  ListAnswers& answers_;
  ImportedRows& rows_;
  CellPool& pool_;
  bool remember_;
  TextMap<Answer> clients_;
  TextMap<Answer> scrips_;
  TextMap<Cell> quantities_;
  std::vector<const PendingRow*> fresh_;
};

// How many CR LF the text holds.
size_t CountLineEnds(std::string_view text) {
  size_t count = 0;
  for (const char *begin = text.data(), *at = begin, *end = at + text.size();
       (at = static_cast<const char*>(std::memchr(at, '\n', end - at))) != nullptr; ++at)
    count += at > begin && at[-1] == '\r';
  return count;
}

// A file's rows, guessed from its size and its first piece, for making room
// for them at once; a wrong guess costs time, never a row. A line that makes
// a row has at least 10 "|" and its CR LF.
size_t GuessRows(std::string_view firstPiece, size_t fileSize) {
  const size_t lines = CountLineEnds(firstPiece) + 1;
  const double perByte = static_cast<double>(lines) / static_cast<double>(firstPiece.size() + 2);
  const size_t guess = static_cast<size_t>(static_cast<double>(fileSize) * perByte * 1.1) + lines;
  return std::min(guess, fileSize / 12 + 1);
}

}  // namespace

TradeFileName ParseTradeFileName(const std::string& fileName) {
  TradeFileName result;
  size_t underscore = fileName.find('_');
  std::string first = ToLower(fileName.substr(0, underscore));
  if (first == "payin") result.kind = "Pay In";
  if (first == "payout") result.kind = "Pay Out";
  if (result.kind.empty() || underscore == std::string::npos) return result;
  std::string rest = fileName.substr(underscore + 1);
  rest = ToLower(rest.substr(0, rest.find('_')));
  result.settlementDate = ParseDate(rest.substr(0, rest.find(".txt")));
  return result;
}

TradeFileShape ScanTradeFile(const std::string& path) {
  const std::string text = ReadTextFile(path);
  TradeFileShape shape;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) {
      ++shape.lines;
      if (std::count(line.begin(), line.end(), '|') >= 10) ++shape.tradeLines;
    }
    start = end + 1;
  }
  return shape;
}

std::string TradeSide(const AppContext& app) {
  return app.kindCode == "PI" ? "S" : "B";
}

bool ImportTrades(AppContext& app, Grid& grid, const std::string& path, const std::string& side,
                  const std::function<void(int)>& progress) {
  if (!IsGridEmpty(grid) &&
      app.dialogs.Message("Unsaved data will be lost.\r\nAre you sure to continue?",
                          "Confirm Loading", MsgIcon::Question,
                          MsgButtons::YesNo) != MsgAnswer::Yes)
    return false;
  std::string failure;
  {
    GridBatch batch(grid);
    ClearEntryGrid(grid);
    ImportedRows rows(grid);
    ImportLookups lookups(app.lists, app.answers, rows);
    std::unique_ptr<LinePieces> pieces;
    std::string_view piece;
    size_t line = 0, pieceLine = 0;  // the line read, the first of the piece
    bool lineFailed = false;
    try {
      pieces = std::make_unique<LinePieces>(path);
      TradeDates dates;
      Cell lastDate = nullptr;
      std::vector<PendingRow> batch;
      batch.reserve(kBatchRows);
      auto addBatch = [&] {
        lookups.PrefetchNewClients(batch);
        for (const PendingRow& line : batch) {
          const ImportLookups::Answer& account = lookups.ForClient(line.client, line.clientHash);
          const ImportLookups::Answer& security = lookups.ForScrip(line.scrip, line.scripHash);
          const Cell quantity = lookups.ForQuantity(line.quantity, line.quantityHash);
          const int number = rows.Count() + 1;
          Cell* row = rows.Add();
          row[col::kSN] = rows.Pool().Number(number);
          row[col::kQuantity] = quantity;
          row[col::kBOID] = account.first;
          row[col::kBOName] = account.second;
          row[col::kTradeDate] = line.tradeDate;
          row[col::kISINCode] = security.first;
          row[col::kISINName] = security.second;
          row[col::kClientCode] = account.text;
          row[col::kScripID] = security.text;
          rows.Widen(col::kSN, row[col::kSN]);
        }
        batch.clear();
      };
      // Reads line i into the batch when it is a trade of the side.
      auto readLine = [&](size_t i, const TradeLines& line) {
        if (line.Bars() == 0) return;
        if (line.Bars() < kSideField) throw AppError(LineFailure(i, "has fewer than 4 fields"));
        if (line.Field(kSideField) != side) return;
        if (line.Bars() < kTradeDateField)
          throw AppError(LineFailure(i, "has fewer than 11 fields"));
        const std::string& tradeDate = dates.Text(line.Field(kTradeDateField));
        if (!lastDate || *lastDate != tradeDate) {
          lastDate = rows.Pool().Intern(tradeDate);
          rows.Widen(col::kTradeDate, lastDate);
        }
        PendingRow& row = batch.emplace_back();
        row.scrip = line.Field(kScripField);
        row.quantity = line.Field(kQuantityField);
        row.client = line.Field(kClientField);
        row.tradeDate = lastDate;
        row.scripHash = TextMap<Cell>::Hash(row.scrip);
        row.quantityHash = TextMap<Cell>::Hash(row.quantity);
        row.clientHash = TextMap<Cell>::Hash(row.client);
        lookups.Clients().Prefetch(row.clientHash);
      };
      // The batch reads into the piece, so it is looked up before the next.
      for (size_t pieceStart = 0; pieces->Next(piece); pieceStart = pieces->Done()) {
        if (pieceLine == 0) rows.Start(GuessRows(piece, pieces->Size()));
        TradeLines lines(piece);
        for (line = pieceLine; lines.Next(); ++line) {
          if (progress && line % 65536 == 0)
            progress(static_cast<int>(
                std::min<size_t>(100, (pieceStart + lines.End()) * 100 / (pieces->Size() + 1))));
          try {
            readLine(line, lines);
          } catch (...) {
            lineFailed = true;
            addBatch();  // the lines before it come in first
            throw;
          }
          if (batch.size() == kBatchRows) addBatch();
        }
        addBatch();
        pieceLine = line;
      }
      rows.Finish(false, 0);
    } catch (const AppError& e) {
      // A line that fails leaves a row for each line read, itself included;
      // a file that cannot be read leaves the grid cleared.
      failure = e.Description();
      if (!lineFailed) rows.Abandon();
      rows.Finish(true, lineFailed ? line + 1 : 1);
    }
  }
  // Shown once the grid's view may read the rows again.
  if (!failure.empty()) ShowErrorDescription(app.dialogs, failure);
  return true;
}

}  // namespace quorvin
