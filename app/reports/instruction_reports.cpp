#include "reports/instruction_reports.h"

#include <exception>
#include <vector>

#include "entry/entry_grid.h"
#include "shell/errors.h"
#include "shell/text.h"
#include "shell/text_files.h"

namespace quorvin {
namespace {

const std::string kDoubleRule(kReportWidth, '=');
const std::string kSingleRule(kReportWidth, '-');
constexpr const char* kGap = "  ";

std::string AccountLine(const Grid& grid, int row) {
  return PadText("", 4) + kGap + PadText(grid.Text(row, col::kBOID), 16) + kGap +
         PadText(grid.Text(row, col::kBOName), 44) + kGap +
         PadText(grid.Text(row, col::kClientCode), 12, true);
}

std::string InstructionLine(const Grid& grid, int row, int serial) {
  return PadText(std::to_string(serial), 4) + kGap + PadText(grid.Text(row, col::kISINCode), 16) +
         kGap + PadText(grid.Text(row, col::kISINName), 32) + kGap +
         PadText(grid.Text(row, col::kQuantity), 10, true) + kGap +
         PadText(grid.Text(row, col::kTradeDate), 12, true);
}

bool StartsNewBlock(const Grid& grid, int row) {
  return grid.Text(row, col::kBOID) != grid.Text(row - 1, col::kBOID) ||
         grid.Text(row, col::kClientCode) != grid.Text(row - 1, col::kClientCode);
}

std::string ReportText(const Grid& grid, const std::string& clearingBOID, const Date& printDate,
                       bool payOut) {
  if (grid.Rows() < 2 || grid.Cols() < kEntryColumns) throw AppError("Subscript out of range");

  std::vector<std::string> lines = {
      kDoubleRule,
      payOut ? "MARLOWGATE STOCK EXCHANGE LTD. (PAY-OUT INSTRUCTION REPORT)"
             : "MARLOWGATE STOCK EXCHANGE LTD. (PAY-IN INSTRUCTION REPORT)",
      kDoubleRule,
      "Print Date             : " + FormatDisplayDate(printDate) +
          "     Delivery Date          : " + PadText(grid.Text(1, col::kDeliveryDate), 16, true),
      "Exchange ID            : 11              Broker / Dealer Code   : " +
          PadText(grid.Text(1, col::kBrokerID), 16, true),
      "                                         Clearing A/C ID        : " +
          PadText(clearingBOID, 16, true),
      kSingleRule,
      PadText("", 4) + kGap + PadText("A/C ID", 16) + kGap + PadText("Name of Account Holder", 32) +
          kGap + PadText("", 10) + kGap + PadText("Client Code", 12, true),
      PadText("", 4) + kGap + std::string(16, '-') + kGap + std::string(44, '-') + kGap +
          std::string(12, '-'),
      "Sl.#" + std::string(kGap) + PadText("ISIN", 16) + kGap + PadText("Name of ISIN", 32) + kGap +
          PadText("Quantity", 10, true) + kGap + PadText("Trade Date", 12, true),
      kSingleRule,
  };

  int serial = 1;
  lines.push_back(AccountLine(grid, 1));
  lines.push_back(InstructionLine(grid, 1, serial));
  for (int row = 2; row < grid.Rows(); ++row) {
    if (StartsNewBlock(grid, row)) {
      serial = 1;
      lines.push_back(kSingleRule);
      lines.push_back(AccountLine(grid, row));
    } else {
      ++serial;
    }
    lines.push_back(InstructionLine(grid, row, serial));
  }
  lines.push_back(kDoubleRule);

  if (payOut) {
    lines.insert(lines.end(), {"", "", ""});
    lines.push_back(std::string(33, '-') + std::string(16, ' ') + std::string(33, '-'));
    lines.push_back("Authorized Signatory" + std::string(38, ' ') + "Approved By MGX Official");
    lines.push_back("Of Broker/Dealer");
  }
  return Join(lines, kCrLf);
}

void PrintReport(AppContext& app, const Grid& grid, bool payOut) {
  std::string path = app.programFolder + (payOut ? kPayOutReportFileName : kPayInReportFileName);
  try {
    WriteTextFile(path, ReportText(grid, app.settings.ClearingBOID, app.clock.Today(), payOut));
  } catch (const AppError& e) {
    ShowErrorDescription(app.dialogs, e.Description());
    return;
  } catch (const std::exception& e) {
    ShowErrorDescription(app.dialogs, e.what());
    return;
  }
  app.dialogs.ViewTextFile(path);
}

}  // namespace

std::string PadText(std::string_view text, int width, bool rightAlign) {
  size_t size = width > 0 ? static_cast<size_t>(width) : 0;
  if (text.size() >= size) return std::string(text.substr(0, size));
  std::string fill(size - text.size(), ' ');
  return rightAlign ? fill + std::string(text) : std::string(text) + fill;
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
