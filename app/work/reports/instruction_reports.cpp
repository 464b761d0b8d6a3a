// Laying out the pay-in and pay-out reports in fixed-width columns, a block
// per BO account, written to the report file and shown in the text viewer.
#include "work/reports/instruction_reports.h"

#include <charconv>
#include <exception>
#include <utility>

#include "day/entry_grid.h"
#include "ground/errors.h"
#include "ground/fast_paths.h"
#include "ground/text.h"
#include "ground/text_files.h"

namespace quorvin {
namespace {

const std::string kDoubleRule(kReportWidth, '=');
const std::string kSingleRule(kReportWidth, '-');
constexpr std::string_view kGap = "  ";

// PadText, appended to out. Out is a std::string or a TextSink, here and below.
template <typename Out>
void AppendPadded(Out& out, std::string_view text, size_t width, bool rightAlign = false) {
  if (text.size() >= width) {
    out.append(text.substr(0, width));
    return;
  }
  if (rightAlign) out.append(width - text.size(), ' ');
  out.append(text);
  if (!rightAlign) out.append(width - text.size(), ' ');
}

// The report's text, one line after another, CR LF between them.
template <typename Out>
class ReportLines {
 public:
  explicit ReportLines(Out& out) : out_(out) {}
  // Starts a line; the caller appends its text.
  Out& Next() {
    if (lines_++ > 0) out_.append(kCrLf);
    return out_;
  }
  void Add(std::string_view line) { Next().append(line); }

 private:
  Out& out_;
  size_t lines_ = 0;
};

// The report fetches the texts of its columns 12 rows ahead.
constexpr int kCellsAhead = 12;
constexpr int kReportColumns[] = {col::kTradeDate, col::kClientCode, col::kBOID,    col::kBOName,
                                  col::kISINCode,  col::kISINName,   col::kQuantity};
constexpr int kLongColumns[] = {col::kBOID, col::kBOName, col::kISINName};

// A column of a report line: the cell's text padded to width, after a gap.
struct ReportField {
  int column, width;
  bool rightAlign;
};

// `lead` padded to four characters, then each field.
template <typename Out, size_t N>
void AppendReportLine(Out& out, const Grid& grid, int row, std::string_view lead,
                      const ReportField (&fields)[N]) {
  AppendPadded(out, lead, 4);
  for (const ReportField& field : fields) {
    out.append(kGap);
    AppendPadded(out, grid.Text(row, field.column), field.width, field.rightAlign);
  }
}

template <typename Out>
void AppendAccountLine(Out& out, const Grid& grid, int row) {
  static constexpr ReportField kFields[] = {
      {col::kBOID, 16, false}, {col::kBOName, 44, false}, {col::kClientCode, 12, true}};
  AppendReportLine(out, grid, row, "", kFields);
}

template <typename Out>
void AppendInstructionLine(Out& out, const Grid& grid, int row, int serial) {
  static constexpr ReportField kFields[] = {{col::kISINCode, 16, false},
                                            {col::kISINName, 32, false},
                                            {col::kQuantity, 10, true},
                                            {col::kTradeDate, 12, true}};
  char digits[16];
  auto end = std::to_chars(digits, digits + sizeof digits, serial).ptr;
  AppendReportLine(out, grid, row, std::string_view(digits, static_cast<size_t>(end - digits)),
                   kFields);
}

// Whether the row holds the same text as the row above in column; the same
// place in the grid's pool is.
bool SameAsAbove(const Grid& grid, int row, int column) {
  Cell here = grid.CellAt(row, column), above = grid.CellAt(row - 1, column);
  return here == above || *here == *above;
}

bool StartsNewBlock(const Grid& grid, int row) {
  return !SameAsAbove(grid, row, col::kBOID) || !SameAsAbove(grid, row, col::kClientCode);
}

void RequireDataRows(const Grid& grid) {
  if (grid.Rows() < 2 || grid.Cols() < kEntryColumns) throw AppError("Subscript out of range");
}

template <typename Out>
void AppendReport(Out& out, const Grid& grid, const std::string& clearingBOID,
                  const Date& printDate, bool payOut) {
  RequireDataRows(grid);
  ReportLines<Out> lines(out);
  lines.Add(kDoubleRule);
  lines.Add(payOut ? "MARLOWGATE STOCK EXCHANGE LTD. (PAY-OUT INSTRUCTION REPORT)"
                   : "MARLOWGATE STOCK EXCHANGE LTD. (PAY-IN INSTRUCTION REPORT)");
  lines.Add(kDoubleRule);
  lines.Add("Print Date             : " + FormatDisplayDate(printDate) +
            "     Delivery Date          : " + PadText(grid.Text(1, col::kDeliveryDate), 16, true));
  lines.Add("Exchange ID            : 11              Broker / Dealer Code   : " +
            PadText(grid.Text(1, col::kBrokerID), 16, true));
  lines.Add("                                         Clearing A/C ID        : " +
            PadText(clearingBOID, 16, true));
  lines.Add(kSingleRule);
  lines.Add(PadText("", 4) + std::string(kGap) + PadText("A/C ID", 16) + std::string(kGap) +
            PadText("Name of Account Holder", 32) + std::string(kGap) + PadText("", 10) +
            std::string(kGap) + PadText("Client Code", 12, true));
  lines.Add(PadText("", 4) + std::string(kGap) + std::string(16, '-') + std::string(kGap) +
            std::string(44, '-') + std::string(kGap) + std::string(12, '-'));
  lines.Add("Sl.#" + std::string(kGap) + PadText("ISIN", 16) + std::string(kGap) +
            PadText("Name of ISIN", 32) + std::string(kGap) + PadText("Quantity", 10, true) +
            std::string(kGap) + PadText("Trade Date", 12, true));
  lines.Add(kSingleRule);

  int serial = 1;
  AppendAccountLine(lines.Next(), grid, 1);
  AppendInstructionLine(lines.Next(), grid, 1, serial);
  for (int row = 2; row < grid.Rows(); ++row) {
    FetchRowsAhead(grid, row, kCellsAhead, kReportColumns, kLongColumns);
    if (StartsNewBlock(grid, row)) {
      serial = 1;
      lines.Add(kSingleRule);
      AppendAccountLine(lines.Next(), grid, row);
    } else {
      ++serial;
    }
    AppendInstructionLine(lines.Next(), grid, row, serial);
  }
  lines.Add(kDoubleRule);

  if (payOut) {
    for (int blank = 0; blank < 3; ++blank) lines.Add("");
    lines.Add(std::string(33, '-') + std::string(16, ' ') + std::string(33, '-'));
    lines.Add("Authorized Signatory" + std::string(38, ' ') + "Approved By MGX Official");
    lines.Add("Of Broker/Dealer");
  }
}

std::string ReportText(const Grid& grid, const std::string& clearingBOID, const Date& printDate,
                       bool payOut) {
  RequireDataRows(grid);
  // Every data row at most opens a block (a rule and an account line) and
  // gives an instruction line; the heading and the end take fewer than 20.
  std::string text;
  text.reserve((static_cast<size_t>(grid.Rows()) * 3 + 20) * (kReportWidth + 2));
  AppendReport(text, grid, clearingBOID, printDate, payOut);
  return text;
}

void PrintReport(AppContext& app, const Grid& grid, bool payOut) {
  std::string path = app.programFolder + (payOut ? kPayOutReportFileName : kPayInReportFileName);
  try {
    RequireDataRows(grid);  // before the file is touched
    const Date today = app.clock.Today();
    WriteTextFileFrom(path, [&](TextSink& sink) {
      AppendReport(sink, grid, app.settings.ClearingBOID, today, payOut);
    });
  } catch (const AppError& e) {
    ShowErrorDescription(app.dialogs, e.Description());
    return;
  } catch (const std::exception& e) {
    ShowErrorDescription(app.dialogs, e);
    return;
  }
  app.dialogs.ViewTextFile(path);
}

}  // namespace

std::string PadText(std::string_view text, int width, bool rightAlign) {
  std::string out;
  AppendPadded(out, text, width > 0 ? static_cast<size_t>(width) : 0, rightAlign);
  return out;
}

std::string PayInReportText(const Grid& grid, const std::string& clearingBOID,
                            const Date& printDate) {
  return ReportText(grid, clearingBOID, printDate, false);
}

std::string PayOutReportText(const Grid& grid, const std::string& clearingBOID,
                             const Date& printDate) {
  return ReportText(grid, clearingBOID, printDate, true);
}

void PrintPayInReport(AppContext& app, const Grid& grid) {
  PrintReport(app, grid, false);
}

void PrintPayOutReport(AppContext& app, const Grid& grid) {
  PrintReport(app, grid, true);
}

}  // namespace quorvin
