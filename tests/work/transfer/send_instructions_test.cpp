// The Send button with the exchange played by a fake transfer: every path of
// the sequence, its boxes, captions and the files it leaves.
#include "work/transfer/send_instructions.h"

#include <fstream>
#include <optional>

#include "ground/errors.h"
#include "ground/platform.h"
#include "ground/version.h"
#include "send_fixture.h"
#include "support/ftp_server_double.h"
#include "work/transfer/remote_files.h"

namespace quorvin::test {
namespace {

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}


// The exchange played by the server double over a folder of its own; the
// day's file there is what the exchange holds.
class FakeExchange {
 public:
  enum class State { Up, Down, RefusesUploads, CutsLinks, Throws };

  explicit FakeExchange(const CaptionLog& window) : window_(window) {}

  TransferRunner Runner() {
    return [this](WindowPort&, const std::string& location, const std::vector<std::string>& lines) {
      calls.push_back(lines);
      captionsDuring.push_back(window_.caption);
      waitCursorDuring.push_back(window_.waitCursor);
      // What RunTransfer leaves for the clean-up.
      for (const char* name : {"ftp2MGX.txt", "ftp2MGX.bat", "out.txt"})
        WriteFile(location + name, "work");
      if (state == State::Throws) throw AppError("No space left on device");
      FtpDoubleFaults faults;
      faults.down = state == State::Down;
      faults.refuseStore = state == State::RefusesUploads;
      if (state == State::CutsLinks) faults.cutAfter = 9;
      return AnswerFtpLines(lines, server.Path(), location, faults);
    };
  }

  std::string Path(const std::string& name) const { return server.File(std::string(kDay) + "/" + name); }
  std::optional<std::string> Held(const std::string& name = kFile) const {
    std::ifstream in(Path(name), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Hold(const std::optional<std::string>& content) {
    std::filesystem::create_directories(server.File(kDay));
    std::filesystem::remove(Path(kFile));
    if (content) WriteFile(Path(kFile), *content);
  }

  static constexpr const char* kDay = "10-Dec-2026";
  static constexpr const char* kFile = "10-Dec-2026_PI_204513.txt";
  State state = State::Up;
  TempFolder server;
  std::vector<std::vector<std::string>> calls;
  std::vector<std::string> captionsDuring;
  std::vector<bool> waitCursorDuring;

 private:
  const CaptionLog& window_;
};

class SendInstructionsTest : public SendFixture {
 protected:
  void Send() {
    SendInstructionsThrough(app, grid, window, holdingView, settlement, savedCaption,
                            exchange.Runner());
  }

  // The window is as the clerk left it before pressing Send.
  void ExpectWindowRestored() {
    EXPECT_EQ(window.caption, "Quorvin : Pay In");
    EXPECT_FALSE(window.waitCursor);
  }

  FakeExchange exchange{window};
  const std::string sending = "Quorvin : Pay In...Sending records to MGX...Please wait.";
};

TEST_F(SendInstructionsTest, NoLeavesCaptionPointerRowsAndFilesAsTheyWere) {
  AddGoodRow("C1002", kBoidB, false, "250");  // out of sort order on purpose
  AddGoodRow("C1001", kBoidA, true, "100");
  dir.Write(FileName(), "saved earlier");
  const std::string rows = GridToText(grid);

  ExpectConfirmation(MsgAnswer::No);
  Send();

  EXPECT_TRUE(exchange.calls.empty());
  EXPECT_TRUE(window.captions.empty());
  EXPECT_FALSE(window.waitCursor);
  EXPECT_EQ(savedCaption, "stale");
  EXPECT_EQ(GridToText(grid), rows);
  EXPECT_EQ(dir.Read(FileName()), "saved earlier");
  EXPECT_TRUE(Archives().empty());
}

TEST_F(SendInstructionsTest, APayInIsCheckedSortedProbedSavedUploadedAndArchived) {
  AddGoodRow("C1002", kBoidB, false, "250");
  AddGoodRow("C1001", kBoidA, true, "100");
  dialogs.QueueOpenFile(WriteCoveringHoldingFile());
  ExpectConfirmation();
  dialogs.Expect("Records sent to MGX successfully.", "Send succeeded", MsgIcon::Information);
  Send();

  EXPECT_EQ(dialogs.openFileTitles, std::vector<std::string>{kHoldingFileDialogTitle});
  EXPECT_TRUE(holdingView.shown.empty());
  EXPECT_EQ(grid.Text(1, col::kBOID), kBoidA) << "the rows go out sorted";
  EXPECT_EQ(grid.Text(1, col::kSN), "1");
  ASSERT_EQ(exchange.calls.size(), 3u);
  EXPECT_EQ(exchange.calls[0], ProbeInstructionLines(kDay, "10-Dec-2026_PI_204513.txt"));
  EXPECT_EQ(exchange.calls[1], SendInstructionLines(kDay, "10-Dec-2026_PI_204513.txt"));
  EXPECT_EQ(exchange.calls[2], RenameLines("10-Dec-2026/10-Dec-2026_PI_204513.txt.part",
                                           "10-Dec-2026/10-Dec-2026_PI_204513.txt"));
  // The holding check hands the window back; every transfer runs under the progress caption.
  EXPECT_EQ(exchange.captionsDuring, (std::vector<std::string>{sending, sending, sending}));
  EXPECT_EQ(exchange.waitCursorDuring, (std::vector<bool>{true, true, true}));
  EXPECT_FALSE(std::filesystem::exists(exchange.Path("10-Dec-2026_PI_204513.txt.part")));

  const std::string rows = GridToText(grid);
  EXPECT_EQ(dir.Read(FileName()), rows);
  EXPECT_EQ(exchange.Held(), rows);
  EXPECT_EQ(Archives(), std::vector<std::string>{ArchiveName("08-Dec-26_02-03-59PM")});
  EXPECT_EQ(dir.Read("Sent/" + ArchiveName("08-Dec-26_02-03-59PM")), rows);
  ExpectNoWorkFiles();

  EXPECT_EQ(savedCaption, "Quorvin : Pay In");
  ASSERT_GE(window.captions.size(), 2u);
  EXPECT_EQ(window.captions[window.captions.size() - 2],
            "Quorvin : Pay In...Records sent to MGX successfully.");
  ExpectWindowRestored();
}

TEST_F(SendInstructionsTest, ChecksRunInOrderAndTheFirstFailureStopsTheSend) {
  AddGoodRow("C1001", kBoidA, true, "100");
  int bad = AddGoodRow("C1002", kBoidB, false, "");
  AddGoodRow("C1001", kBoidA, true, "50");  // summarizes with row 1 once sorted next to it
  grid.SetText(bad, col::kBOName, kBONameNotFound);
  grid.SetText(bad, col::kISINName, kISINNameNotFound);
  grid.SetText(bad, col::kInternalRefNo, "O2045130812262");

  // Each round repairs the fault the previous round reported; the next check in line speaks.
  auto round = [&](const std::function<void()>& expect) {
    ExpectConfirmation();
    expect();
    Send();
    dialogs.VerifyDone();
    EXPECT_TRUE(exchange.calls.empty());
    EXPECT_FALSE(dir.Exists(FileName()));
    EXPECT_TRUE(Archives().empty());
    ExpectWindowRestored();
  };
  round([&] {
    dialogs.Expect("Quantity is not given in row number 2.", "Missing Quantity", MsgIcon::Critical);
  });
  grid.SetText(bad, col::kQuantity, "250");
  round([&] {
    dialogs.Expect("BOID is not entered correctly in row number 2.", "Invalid BOID",
                   MsgIcon::Critical);
  });
  grid.SetText(bad, col::kBOName, "Nasrin Akter");
  round([&] {
    dialogs.Expect("ISIN Code is not entered correctly in row number 2.", "Invalid ISIN Code",
                   MsgIcon::Critical);
  });
  grid.SetText(bad, col::kISINName, "Bright Cement Company Ltd.");
  round([&] {
    dialogs.Expect(
        "For Pay In entries Internal Ref. No. must start with \"I\" .\r\nCheck row number 2.",
        "Invalid Internal Ref. No.", MsgIcon::Critical);
  });
  grid.SetText(bad, col::kInternalRefNo, "I2045130812262");
  // A quantity the sort could not read: the fifth check names it and moves to it.
  for (const char* quantity : {"1,000", "abc", "0"}) {
    grid.SetText(bad, col::kQuantity, quantity);
    round([&] {
      dialogs.Expect("Quantity is not a whole number in row number 2.", "Invalid Quantity",
                     MsgIcon::Critical);
    });
    EXPECT_EQ(grid.Row(), bad);
    EXPECT_EQ(grid.Col(), col::kQuantity);
  }
  grid.SetText(bad, col::kQuantity, "250");
  // Only the sort brings rows 1 and 3 together.
  round([&] {
    dialogs.Expect("Please summarize records before sending.", "Not Summarized.",
                   MsgIcon::Critical);
  });
  EXPECT_EQ(grid.Text(2, col::kBOID), kBoidA);
  for (int c = 0; c < kEntryColumns; ++c) grid.SetText(2, c, grid.Text(3, c));
  grid.SetRows(3);
  round([&] {
    dialogs.QueueOpenFile(std::nullopt);
    dialogs.Expect("You must select a holding file(DPA6UX.TXT) before sending to MGX.",
                   "Holding Not Checked.", MsgIcon::Critical);
  });
  // A holding file without row 2's balance.
  const std::string holding = WriteCoveringHoldingFile();
  std::string text = dir.Read("11DPA6UX.TXT");
  dir.Write("11DPA6UX.TXT", text.substr(0, text.rfind("\r\n")));
  round([&] { dialogs.QueueOpenFile(holding); });
  ASSERT_EQ(holdingView.shown.size(), 1u);
  EXPECT_NE(holdingView.shown[0].find("holding balance missing"), std::string::npos);
}

TEST_F(SendInstructionsTest, AFileTheExchangeHoldsIsShownAndNothingIsUploaded) {
  AddTwoGoodRows();
  dialogs.QueueOpenFile(WriteCoveringHoldingFile());
  exchange.Hold("the rows sent this morning");
  dir.Write(FileName(), "rows saved since");
  ExpectConfirmation();
  dialogs.Expect("File already sent. Your sent file will be shown now.", kAppTitle,
                 MsgIcon::Critical);
  Send();

  EXPECT_EQ(exchange.calls.size(), 1u) << "only the probe";
  EXPECT_EQ(exchange.Held(), "the rows sent this morning");
  EXPECT_EQ(dir.Read(FileName()), "the rows sent this morning");
  EXPECT_EQ(dialogs.viewed, std::vector<std::string>{LocalFile()});
  // The clerk's differing file is kept beside it.
  EXPECT_EQ(LocalCopyPath(app, settlement), dir.File("10-Dec-2026_PI_204513_local.txt"));
  EXPECT_EQ(dir.Read("10-Dec-2026_PI_204513_local.txt"), "rows saved since");
  EXPECT_TRUE(Archives().empty());
  ExpectNoWorkFiles();
  ExpectWindowRestored();

  // The same file again: no second copy is needed.
  std::filesystem::remove(LocalCopyPath(app, settlement));
  dialogs.QueueOpenFile(WriteCoveringHoldingFile());
  ExpectConfirmation();
  dialogs.Expect("File already sent. Your sent file will be shown now.", kAppTitle,
                 MsgIcon::Critical);
  Send();
  EXPECT_FALSE(std::filesystem::exists(LocalCopyPath(app, settlement)));
  EXPECT_EQ(dialogs.viewed.size(), 2u);
}

TEST_F(SendInstructionsTest, NoAnswerFromTheExchangeIsNeitherAlreadySentNorSuccess) {
  AddTwoGoodRows();
  dialogs.QueueOpenFile(WriteCoveringHoldingFile());
  exchange.state = FakeExchange::State::Down;
  dir.Write(FileName(), "saved earlier");  // a non-empty local file must not pass for "sent"
  ExpectConfirmation();
  dialogs.Expect("Records were not sent to MGX.", "Send failed", MsgIcon::Critical);
  Send();

  EXPECT_EQ(exchange.calls.size(), 2u);
  EXPECT_TRUE(dialogs.viewed.empty());
  EXPECT_EQ(dir.Read(FileName()), GridToText(grid));
  EXPECT_EQ(Archives(), std::vector<std::string>{ArchiveName("08-Dec-26_02-03-59PM")});
  ASSERT_GE(window.captions.size(), 2u);
  EXPECT_EQ(window.captions[window.captions.size() - 2],
            "Quorvin : Pay In...Records were not sent to MGX.");
  EXPECT_EQ(dialogs.shown.back().details,
            "ftp: Can't connect to `127.0.0.1:21': Connection refused");
  ExpectNoWorkFiles();
  ExpectWindowRestored();
}

TEST_F(SendInstructionsTest, ACutUploadNeverCarriesTheFinalNameAndTheNextSendPutsItRight) {
  AddTwoGoodRows();
  exchange.state = FakeExchange::State::CutsLinks;
  for (int attempt = 0; attempt < 2; ++attempt) {
    dialogs.QueueOpenFile(WriteCoveringHoldingFile());
    ExpectConfirmation();
    if (attempt == 0) {
      dialogs.Expect("Records were not sent to MGX.", "Send failed", MsgIcon::Critical);
    } else {
      dialogs.Expect("Records sent to MGX successfully.", "Send succeeded", MsgIcon::Information);
    }
    Send();
    if (attempt == 0) {
      EXPECT_EQ(dialogs.shown.back().details,
                "421 Service not available, remote server has closed connection.");
      EXPECT_FALSE(exchange.Held()) << "a part of the file under the name the exchange reads";
      EXPECT_TRUE(std::filesystem::exists(exchange.Path(std::string(FakeExchange::kFile) + ".part")));
      exchange.state = FakeExchange::State::Up;  // the link repaired
    }
  }
  EXPECT_EQ(exchange.Held(), GridToText(grid));
  EXPECT_EQ(dir.Read(FileName()), GridToText(grid));
  EXPECT_EQ(Archives().size(), 2u);
}

TEST_F(SendInstructionsTest, EveryRefusedAttemptGetsAnArchiveFileOfItsOwn) {
  controller.ChangeKind(kPayOut);
  AddTwoGoodRows();
  exchange.state = FakeExchange::State::RefusesUploads;
  auto attempt = [&] {
    ExpectConfirmation();
    dialogs.Expect("Records were not sent to MGX.", "Send failed", MsgIcon::Critical);
    Send();
  };
  attempt();
  EXPECT_EQ(dialogs.shown.back().details,
            "553 10-Dec-2026/10-Dec-2026_PO_204513.txt.part: Permission denied.");
  attempt();  // the same second
  clock.now = DateTime{Date{2026, 12, 9}, 0, 5, 7};
  grid.SetText(1, col::kQuantity, "99");
  attempt();

  EXPECT_EQ(Archives(), (std::vector<std::string>{ArchiveName("08-Dec-26_02-03-59PM"),
                                                  ArchiveName("08-Dec-26_02-03-59PM_2"),
                                                  ArchiveName("09-Dec-26_12-05-07AM")}));
  EXPECT_EQ(dir.Read("Sent/" + ArchiveName("09-Dec-26_12-05-07AM")), GridToText(grid));
  EXPECT_FALSE(exchange.Held("10-Dec-2026_PO_204513.txt"));
}

TEST_F(SendInstructionsTest, AProbeThatFetchesNothingLeavesTheLocalFileAlone) {
  AddTwoGoodRows();
  dir.Write(FileName(), "clerk's rows");
  struct Case {
    FakeExchange::State state;
    std::optional<std::string> held;
  } cases[] = {{FakeExchange::State::Up, std::nullopt},
               {FakeExchange::State::Up, ""},  // an empty file on the server
               {FakeExchange::State::CutsLinks, "the whole file"},  // 9 bytes of 14 came
               {FakeExchange::State::Down, "the whole file"}};
  for (const Case& c : cases) {
    exchange.state = c.state;
    exchange.Hold(c.held);
    EXPECT_FALSE(CheckAlreadySent(app, window, settlement, "Saved", exchange.Runner()));
    EXPECT_EQ(dir.Read(FileName()), "clerk's rows");
    ExpectNoWorkFiles();
  }
  // No local file before: none after a half-done get either.
  std::filesystem::remove(LocalFile());
  exchange.state = FakeExchange::State::CutsLinks;
  EXPECT_FALSE(CheckAlreadySent(app, window, settlement, "Saved", exchange.Runner()));
  EXPECT_FALSE(dir.Exists(FileName()));

  // A probe that cannot run says why and lets the send go on.
  dir.Write(FileName(), "clerk's rows");
  exchange.state = FakeExchange::State::Throws;
  dialogs.ExpectErrorContaining("No space left on device");
  EXPECT_FALSE(CheckAlreadySent(app, window, settlement, "Saved", exchange.Runner()));
  EXPECT_EQ(dir.Read(FileName()), "clerk's rows");
  ExpectNoWorkFiles();
  EXPECT_TRUE(dialogs.viewed.empty());
}

TEST_F(SendInstructionsTest, FailuresAroundTheTransferAreShownAndTheWindowRestored) {
  AddTwoGoodRows();

  // A backup location that is gone, with the real client: the probe and the
  // save say why, and nothing is uploaded.
  app.settings.BackupLocation = dir.File("gone/");
  dialogs.QueueOpenFile(WriteCoveringHoldingFile());
  ExpectConfirmation();
  // The probe's script, unless there is no client to run it.
  dialogs.ExpectErrorContaining(platform::ProgramOnPath(ClientProgram(kNativeForm))
                                    ? "File not found: " + dir.File("gone/ftp2MGX.txt")
                                    : std::string("FTP client not found"));
  dialogs.ExpectErrorContaining("File not found");  // the day's file
  SendInstructions(app, grid, window, holdingView, settlement, savedCaption,
                   ExchangeEndpoint{"127.0.0.1", "1", 1});
  dialogs.VerifyDone();
  ExpectWindowRestored();
  app.settings.BackupLocation = dir.Path();

  // An upload that cannot even start: its description, no verdict, no work files.
  exchange.Hold(std::nullopt);
  dialogs.QueueOpenFile(WriteCoveringHoldingFile());
  ExpectConfirmation();
  dialogs.ExpectErrorContaining("No space left on device");
  auto probeThenFail = [this, runner = exchange.Runner()](WindowPort& w, const std::string& l,
                                                          const std::vector<std::string>& s) {
    for (const std::string& line : s)
      if (line.starts_with("put ")) exchange.state = FakeExchange::State::Throws;
    return runner(w, l, s);
  };
  SendInstructionsThrough(app, grid, window, holdingView, settlement, savedCaption, probeThenFail);
  dialogs.VerifyDone();
  ExpectNoWorkFiles();
  EXPECT_TRUE(Archives().empty());
  ExpectWindowRestored();

  // "Sent" taken by a plain file: the upload's verdict stands, the archive says why it failed.
  exchange.state = FakeExchange::State::Up;
  dir.Write("Sent", "not a folder");
  dialogs.QueueOpenFile(WriteCoveringHoldingFile());
  ExpectConfirmation();
  dialogs.Expect("Records sent to MGX successfully.", "Send succeeded", MsgIcon::Information);
  dialogs.ExpectErrorContaining("Sent");
  Send();
  EXPECT_EQ(exchange.Held(), GridToText(grid));
  EXPECT_EQ(dir.Read("Sent"), "not a folder");
  ExpectWindowRestored();
}

}  // namespace
}  // namespace quorvin::test
