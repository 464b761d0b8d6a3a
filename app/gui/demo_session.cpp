// Setting up the demo: the demo data copied into a temporary folder, and the
// exchange emulator started there and stopped when the program ends.
#include "gui/demo_session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "ground/errors.h"
#include "gui/qt_text.h"
#include "windows/start_up.h"

namespace quorvin::gui {
namespace {

// The first of these that exists: beside the program, then the source tree.
QString Find(const QStringList& candidates) {
  for (const QString& path : candidates)
    if (QFileInfo::exists(path)) return path;
  return {};
}

}  // namespace

DemoSession::DemoSession(const QString& executableFolder)
    : folder_(QDir::tempPath() + "/quorvin-demo-XXXXXX") {
  const QString demo =
      Find({executableFolder + "/demo", QStringLiteral(QUORVIN_SOURCE_DIR "/demo")});
  if (!folder_.isValid() || demo.isEmpty()) throw AppError("The demo data cannot be found.");
  programFolder_ = PrepareDemoFolder(SPath(demo) + "/", SPath(folder_.path()) + "/");

#ifdef Q_OS_WIN
  // The demo's exchange is a small FTP server in Python, which a clerk's
  // Windows machine does not have: the demo day there ends before Send.
  exchange_.unusable = "The demo has no exchange on Windows: Send and Receive need a real one.";
  return;
#endif
  const QString script = Find({executableFolder + "/exchange-emulator",
                               QStringLiteral(QUORVIN_SOURCE_DIR "/scripts/exchange-emulator")});
  exchange_.unusable =
      "The demo exchange could not be started (it needs python3 and python3-pyftpdlib).";
  if (script.isEmpty()) return;
  // The exchange publishes its current ISIN list, with a new listing on it.
  const QString entry = folder_.path() + "/exchange/entry";
  QDir().mkpath(entry);
  QFile::copy(demo + "/exchange/ISIN.txt", entry + "/ISIN.txt");
  // Its standard input stays open while the program lives: should the
  // program be killed, the emulator ends with it.
  emulator_.setProgram(script);
  emulator_.setArguments({"--port", "0", "--root", folder_.path() + "/exchange", "--stop-on-eof"});
  emulator_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  emulator_.start();
  // It says on which port it listens once it does.
  QByteArray said;
  while (emulator_.waitForReadyRead(10000)) {
    said += emulator_.readAllStandardOutput();
    if (said.contains('\n')) break;
  }
  const auto match = QRegularExpression("ready on 127\\.0\\.0\\.1:(\\d+)").match(QString(said));
  if (!match.hasMatch()) return;
  exchange_.host = "127.0.0.1";
  exchange_.port = match.captured(1).toStdString();
  exchange_.unusable.clear();
}

DemoSession::~DemoSession() {
  if (emulator_.state() != QProcess::NotRunning) {
    emulator_.terminate();
    if (!emulator_.waitForFinished(3000)) emulator_.kill();
    emulator_.waitForFinished(1000);
  }
}

}  // namespace quorvin::gui
