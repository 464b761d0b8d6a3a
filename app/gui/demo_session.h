#pragma once
// "quorvin --demo": the demo day on a private copy of the demo data, in a
// folder of its own, against an exchange emulator on a free loopback port
// that lives as long as the program does.
#include <QProcess>
#include <QTemporaryDir>
#include <string>

#include "ground/exchange.h"

namespace quorvin::gui {

class DemoSession {
 public:
  // Finds the demo data and the emulator beside the program (an installed
  // program) or in the source tree (a build), copies the data and starts the
  // emulator. Throws AppError when the demo cannot be made.
  explicit DemoSession(const QString& executableFolder);
  ~DemoSession();
  DemoSession(const DemoSession&) = delete;
  DemoSession& operator=(const DemoSession&) = delete;

  const std::string& ProgramFolder() const { return programFolder_; }
  // The emulator, or why the demo has none (its `unusable`).
  const ExchangeEndpoint& Exchange() const { return exchange_; }

 private:
  QTemporaryDir folder_;
  QProcess emulator_;
  std::string programFolder_;
  ExchangeEndpoint exchange_;
};

}  // namespace quorvin::gui
