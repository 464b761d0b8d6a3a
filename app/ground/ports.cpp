// The system clock, and how an error is described to the clerk in a message
// box, running out of memory included.
#include "ground/ports.h"

#include <ctime>
#include <new>

#include "ground/platform.h"
#include "ground/version.h"

namespace quorvin {

DateTime SystemClock::Now() const {
  const std::tm local = platform::LocalTime(std::time(nullptr));
  return DateTime{Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}, local.tm_hour,
                  local.tm_min, local.tm_sec};
}

void ShowErrorDescription(Dialogs& dialogs, const std::string& description) {
  dialogs.Message(description, kAppTitle, MsgIcon::None, MsgButtons::Ok);
}

std::string DescribeFailure(const std::exception& failure) {
  if (dynamic_cast<const std::bad_alloc*>(&failure))
    return "Out of memory: this computer has not enough free memory for the work";
  return failure.what();
}

void ShowErrorDescription(Dialogs& dialogs, const std::exception& failure) {
  ShowErrorDescription(dialogs, DescribeFailure(failure));
}

}  // namespace quorvin
