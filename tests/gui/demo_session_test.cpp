// The demo: its private copy, its exchange on a loopback port serving the new
// ISIN list, and nothing of either left once it ends.
#include "gui/demo_session.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

#include "support/recording_window.h"
#include "support/temp_folder.h"
#include "work/transfer/ftp_transfer.h"
#include "work/transfer/remote_files.h"

using namespace quorvin;

class DemoSessionTest : public QObject {
  Q_OBJECT

 private slots:
  void aPrivateDayWithItsOwnExchangeGoneAtTheEnd() {
    test::TempFolder local;
    test::RecordingWindow window;
    std::string folder;
    ExchangeEndpoint exchange;
    {
      gui::DemoSession demo(QCoreApplication::applicationDirPath());
      folder = demo.ProgramFolder();
      QVERIFY(QFileInfo::exists(QString::fromStdString(folder + "data/payin_10-Dec-2026.txt")));
      exchange = demo.Exchange();
#ifdef Q_OS_WIN
      QVERIFY(QString::fromStdString(exchange.unusable).contains("no exchange on Windows"));
#else
      QCOMPARE(QString::fromStdString(exchange.unusable), QString());
      QCOMPARE(QString::fromStdString(exchange.host), QStringLiteral("127.0.0.1"));
      exchange.stallSeconds = 10;
      const std::string out = RunTransfer(window, local.Path(), DownloadLines("ISIN.txt"), exchange);
      const std::string got = local.Read(kDownloadFileName);
      QCOMPARE(int(DownloadedWhole(out, "ISIN.txt", got.size()).state), int(Download::kWhole));
      QVERIFY(got.find("NEWLISTCO") != std::string::npos);
#endif
    }
    QVERIFY(!QDir(QString::fromStdString(folder)).exists());
#ifdef Q_OS_WIN
    QSKIP("the demo's exchange is the Python emulator, not on a Windows machine");
#endif
    exchange.stallSeconds = 5;
    const std::string out = RunTransfer(window, local.Path(), DownloadLines("ISIN.txt"), exchange);
    QVERIFY2(DownloadedWhole(out, "ISIN.txt", -1).state == Download::kFailed,
             "the emulator still answers");
  }
};

QTEST_MAIN(DemoSessionTest)
#include "demo_session_test.moc"
