// The parts of the transfer that need no server. The client against a real
// server is covered by the integration tests.
#include "work/transfer/ftp_transfer.h"
#include "work/transfer/remote_files.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#else
#include <windows.h>
#endif

#include <filesystem>

#include "ground/errors.h"
#include "ground/platform.h"
#include "support/posix_only.h"
#include "support/recording_window.h"
#include "support/temp_folder.h"
#include "work/transfer/shell_and_wait.h"

namespace quorvin {
namespace {

// Both clients' scripts, byte for byte, whichever system builds them.
TEST(FtpScriptTest, EachClientLogsInChangesToEntryRunsTheOperationsAndSaysBye) {
  const ExchangeEndpoint emulator{"127.0.0.1", "2999", 5};
  const auto send = SendInstructionLines("05-Jan-2010", "05-Jan-2010_PI_204513.txt");
  EXPECT_EQ(FtpScriptText(send, emulator, ClientForm::kPosixShell),
            "open 127.0.0.1 2999\n"
            "user quorvinftp qv8305\n"
            "prompt\n"
            "cd entry\n"
            "mkdir 05-Jan-2010\n"
            "binary\n"
            "delete 05-Jan-2010/05-Jan-2010_PI_204513.txt.part\n"
            "put 05-Jan-2010_PI_204513.txt 05-Jan-2010/05-Jan-2010_PI_204513.txt.part\n"
            "quote SIZE 05-Jan-2010/05-Jan-2010_PI_204513.txt.part\n"
            "bye\n");
  // Started with -i, the Windows client needs no "prompt", which would turn
  // prompting back on; its lines are parted by CR LF.
  EXPECT_EQ(FtpScriptText(send, emulator, ClientForm::kWindowsBatch),
            "open 127.0.0.1 2999\r\n"
            "user quorvinftp qv8305\r\n"
            "cd entry\r\n"
            "mkdir 05-Jan-2010\r\n"
            "binary\r\n"
            "delete 05-Jan-2010/05-Jan-2010_PI_204513.txt.part\r\n"
            "put 05-Jan-2010_PI_204513.txt 05-Jan-2010/05-Jan-2010_PI_204513.txt.part\r\n"
            "quote SIZE 05-Jan-2010/05-Jan-2010_PI_204513.txt.part\r\n"
            "bye");
  EXPECT_EQ(FtpScriptText(send, emulator), FtpScriptText(send, emulator, kNativeForm));
  EXPECT_EQ(ProbeInstructionLines("05-Jan-2010", "F.txt"),
            (std::vector<std::string>{"mkdir 05-Jan-2010", "binary", "quote SIZE 05-Jan-2010/F.txt",
                                      "get 05-Jan-2010/F.txt ftp2MGX.get"}));
}

// Both batches, byte for byte: a folder with blanks, quotes, "&", "^", "%"
// and letters outside any code page is one word for the shell and for cmd.
TEST(FtpBatchTest, EachFormChangesToTheBackupLocationAndRunsItsClient) {
  const ExchangeEndpoint endpoint{"h", "1", 7};
  EXPECT_EQ(FtpBatchText("/home/clerk/Händler & Co's 100%/", endpoint, ClientForm::kPosixShell),
            "#!/bin/sh\n"
            "umask 077\n"
            "unset CDPATH\n"
            "cd -- '/home/clerk/Händler & Co'\\''s 100%/' || exit 1\n"
            "exec ftp -n -v -d -q 7 <ftp2MGX.txt >out.txt 2>&1\n");
  EXPECT_EQ(FtpBatchText("D:/Broker data/100% & ^ দৈনিক!/", endpoint, ClientForm::kWindowsBatch),
            "@echo off\r\n"
            "chcp 65001 >nul\r\n"
            "cd /d \"D:\\Broker data\\100%% & ^ দৈনিক!\\\"\r\n"
            "ftp.exe -i -n -d -s:ftp2MGX.txt >out.txt 2>&1\r\n"
            "exit");
  EXPECT_THROW(FtpBatchText("D:/a\"b/", endpoint, ClientForm::kWindowsBatch), AppError);
  EXPECT_THROW(FtpBatchText("D:/a\r\nb/", endpoint, ClientForm::kWindowsBatch), AppError);
}

TEST(FtpScriptTest, NoLineOrAddressCanSmuggleInACommand) {
  EXPECT_THROW(FtpScriptText({"put a.txt\n!sh -c 'rm -rf ~'"}), AppError);
  EXPECT_THROW(FtpScriptText({"put a.txt\rdelete b"}), AppError);
  EXPECT_THROW(FtpScriptText({"put x"}, ExchangeEndpoint{"127.0.0.1\nget y", "21", 5}), AppError);
  EXPECT_THROW(FtpScriptText({"put x"}, ExchangeEndpoint{"127.0.0.1", "21 22", 5}), AppError);
  EXPECT_THROW(FtpScriptText({"put x"}, ExchangeEndpoint{"", "21", 5}), AppError);
}

// Each step by its own reply, in the words of different servers, and no text
// elsewhere (a banner, a login message) can make a step succeed.
TEST(FtpRepliesTest, EachStepIsJudgedByTheRepliesToItsOwnCommand) {
  const std::string banner =
      "Connected to 127.0.0.1.\n220-Welcome\n226 Transfer complete.\n---> STOR a.part\n220 ready\n";
  const std::string login = "---> USER u\n331 Password\n---> PASS XXXX\n230 Logged in\n";
  const std::string stor = "---> STOR a.part\n150 Ok to send data.\n";
  const struct {
    std::string output;
    bool uploaded;
    std::string why;
  } uploads[] = {
      {login + stor + "226 Transfer complete.\n442 bytes sent in 00:00 (1.7 MiB/s)\n---> SIZE "
                      "a.part\n213 5\n",
       true, ""},  // vsftpd, and the client's own count
      {login + stor + "226 Transfer complete\n---> SIZE a.part\n213 5\n", true, ""},   // proftpd
      {login + "---> STOR a.part\n150 Accepted data connection\n226-File successfully "
               "transferred\n226 0.000 seconds\n---> SIZE a.part\n213 5\n",
       true, ""},  // pure-ftpd's long reply
      {login + stor + "226 Transfer complete.\n---> SIZE a.part\n213 3\n", false,
       "The server holds 3 bytes of 5."},
      {login + stor + "552 Disk full\n---> SIZE a.part\n213 2\n", false, "552 Disk full"},
      {login + "---> STOR a.part\n553 Could not create file.\n", false,
       "553 Could not create file."},
      {banner + "---> USER u\n331 Password\n---> PASS XXXX\n530 Login incorrect.\n"
                "Login failed.\nNot connected.\n",
       false, "530 Login incorrect."},
      {"ftp: Can't connect to `127.0.0.1:1': Connection refused\nNot connected.\n", false,
       "ftp: Can't connect to `127.0.0.1:1': Connection refused"},
      {login + stor + "421 Service not available, remote server has closed connection.\n", false,
       "421 Service not available, remote server has closed connection."},
      // Uploads disabled: the banner's text and arrow are the server's words, not a transfer.
      {banner + login + "---> STOR a.part\n550 Permission denied.\n", false,
       "550 Permission denied."},
  };
  for (const auto& c : uploads) {
    const StepOutcome step = UploadedWhole(c.output, "a", 5);
    EXPECT_EQ(step.done, c.uploaded) << c.output;
    EXPECT_EQ(step.why, c.why) << c.output;
  }

  // A first probe or first list: the server's own words for "no such file".
  for (const std::string missing :
       {"550 a.txt: The system cannot find the file specified.", "550 Failed to open file.",
        "550 a.txt: No such file or directory", "550 Can't open a.txt: No such file or directory"}) {
    const std::string out = login + "---> SIZE a.txt\n" + missing + "\n---> RETR a.txt\n" + missing;
    EXPECT_EQ(DownloadedWhole(out, "a.txt", -1).state, Download::kMissing) << missing;
  }
  const std::string got = login +
                          "---> SIZE a.txt\n213 14\n---> EPSV\n229 Entering (|||5|)\n---> RETR "
                          "a.txt\n150 Opening\n226 Transfer complete.\n";
  EXPECT_EQ(DownloadedWhole(got, "a.txt", 14).state, Download::kWhole);
  EXPECT_EQ(DownloadedWhole(got, "a.txt", 9).state, Download::kFailed) << "a part is not the file";
  EXPECT_EQ(DownloadedWhole(banner + "Not connected.\n", "a.txt", -1).state, Download::kFailed);

  const std::string renamed = login + "---> RNFR a.part\n350 Ready\n---> RNTO a\n250 Rename ok\n";
  EXPECT_TRUE(RenamedWhole(renamed + "---> SIZE a\n213 5\n", "a.part", "a", 5).done);
  EXPECT_EQ(RenamedWhole(login + "---> RNFR a.part\n350 Ready\n---> RNTO a\n553 Rename failed.\n",
                         "a.part", "a", 5)
                .why,
            "553 Rename failed.");
}

// The batch is run by the real shell with a stand-in `ftp` that records where
// it ran, its arguments and its input, so quoting is proven, not assumed.
TEST(FtpBatchTest, ThePosixBatchRunsTheClientInTheBackupLocationWhateverItsName) {
  QUORVIN_POSIX_ONLY("the POSIX shell runs a stand-in ftp script");
#ifndef _WIN32
  test::TempFolder root;
  test::TempFolder bin;
  bin.Write("ftp",
            "#!/bin/sh\n"
            "pwd > ran-in\n"
            "printf '%s|' \"$@\" > args\n"
            "cat > script-seen\n"
            "echo '226 Transfer complete.'\n"
            "echo 'to stderr' >&2\n");
  ::chmod(bin.File("ftp").c_str(), 0755);

  const std::string folderName = "it's a $HOME `touch pwned`; x && touch pwned2 \"q\" -n";
  const std::string location = root.File(folderName) + "/";
  ASSERT_EQ(::mkdir(location.c_str(), 0700), 0);
  root.Write(folderName + "/ftp2MGX.txt", "open 127.0.0.1 1\nbye\n");
  root.Write(folderName + "/ftp2MGX.bat",
             FtpBatchText(location, ExchangeEndpoint{"h", "1", 7}, ClientForm::kPosixShell));

  test::RecordingWindow window;
  std::string path = bin.Path() + ":" + getenv("PATH");
  ShellAndWait({"/usr/bin/env", "PATH=" + path, "/bin/sh", location + "ftp2MGX.bat"}, 30, window);

  EXPECT_EQ(root.Read(folderName + "/ran-in"), location.substr(0, location.size() - 1) + "\n");
  EXPECT_EQ(root.Read(folderName + "/args"), "-n|-v|-d|-q|7|");
  EXPECT_EQ(root.Read(folderName + "/script-seen"), "open 127.0.0.1 1\nbye\n");
  EXPECT_EQ(root.Read(folderName + "/out.txt"), "226 Transfer complete.\nto stderr\n");
  struct stat st {};
  ASSERT_EQ(::stat((location + "out.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u) << "the client's output is private";
  EXPECT_FALSE(root.Exists("pwned"));
  EXPECT_FALSE(root.Exists(folderName + "/pwned"));
  EXPECT_FALSE(root.Exists(folderName + "/pwned2"));
#endif
}

// The Windows batch run by cmd.exe with a stand-in for the Windows client
// that answers as a server would: each folder name reaches the client whole,
// the file lands in the day's folder, and a missing file is said so.
TEST(FtpBatchTest, TheWindowsBatchRunsTheClientInTheBackupLocationWhateverItsName) {
  QUORVIN_WINDOWS_ONLY("cmd.exe and the stand-in for the Windows client");
#ifdef _WIN32
  test::TempFolder root, server;
  std::string serverRoot = server.Path();
  serverRoot.pop_back();
  ::SetEnvironmentVariableW(L"FAKE_FTP_ROOT", platform::PathOf(serverRoot).c_str());
  wchar_t path[32768];
  ::GetEnvironmentVariableW(L"PATH", path, 32768);
  const std::wstring fakes =
      std::filesystem::absolute(platform::PathOf(QUORVIN_FAKE_FTP_DIR)).make_preferred().native();
  ::SetEnvironmentVariableW(L"PATH", (fakes + L";" + path).c_str());
  auto windowsForm = [](std::string name) {
    for (char& c : name)
      if (c == '/') c = '\\';
    return name;
  };

  const ExchangeEndpoint endpoint{"127.0.0.1", "2121", 5};
  const std::string file = "05-Jan-2010_PI_204513.txt";
  for (const std::string name : {"plain", "Broker data & Co ^ 100% !x!", "দৈনিক হিসাব é"}) {
    const std::string location = root.File(name) + "/";
    ASSERT_TRUE(std::filesystem::create_directory(platform::PathOf(location)));
    root.Write(name + "/" + file, "the day's rows " + name);
    test::RecordingWindow window;
    std::string out =
        RunTransfer(window, location, SendInstructionLines("05-Jan-2010", file), endpoint);
    const std::string remote = InstructionRemotePath("05-Jan-2010", file);
    const auto bytes = static_cast<long long>(("the day's rows " + name).size());
    EXPECT_TRUE(UploadedWhole(out, remote, bytes).done) << out;
    EXPECT_NE(out.find("args: -i -n -d -s:ftp2MGX.txt\r\n"), std::string::npos) << out;
    DeleteTransferFiles(location);
    out = RunTransfer(window, location, RenameLines(PartialName(remote), remote), endpoint);
    EXPECT_TRUE(RenamedWhole(out, PartialName(remote), remote, bytes).done) << out;
    const std::string folder = windowsForm(location.substr(0, location.size() - 1));
    EXPECT_NE(out.find("cwd: " + folder + "\r\n"), std::string::npos) << out;
    EXPECT_EQ(server.Read("05-Jan-2010/" + file), "the day's rows " + name);
    DeleteTransferFiles(location);

    out = RunTransfer(window, location, ProbeInstructionLines("06-Jan-2010", file), endpoint);
    EXPECT_EQ(DownloadedWhole(out, InstructionRemotePath("06-Jan-2010", file), -1).state,
              Download::kMissing)
        << out;
    DeleteTransferFiles(location);
    EXPECT_EQ(test::AllNames(location), std::vector<std::string>{file}) << "no work file stays";
  }
  ::SetEnvironmentVariableW(L"PATH", path);
#endif
}

TEST(FtpCleanUpTest, RemovesTheWorkFilesAndNothingElse) {
  test::TempFolder dir;
  for (const char* name : {"ftp2MGX.txt", "ftp2MGX.bat", "out.txt", "ftp2MGX.txt.bak",
                           "ftp2MGXnotes.txt", "05-Jan-2010_PI_204513.txt", "BO.txt"})
    dir.Write(name, "x");
  DeleteTransferFiles(dir.Path());
  EXPECT_FALSE(dir.Exists("ftp2MGX.txt"));
  EXPECT_FALSE(dir.Exists("ftp2MGX.bat"));
  EXPECT_FALSE(dir.Exists("out.txt"));
  EXPECT_FALSE(dir.Exists("ftp2MGX.txt.bak"));  // "ftp2MGX.*" takes it as well
  EXPECT_TRUE(dir.Exists("ftp2MGXnotes.txt"));
  EXPECT_TRUE(dir.Exists("05-Jan-2010_PI_204513.txt"));
  EXPECT_TRUE(dir.Exists("BO.txt"));

  // A second clean-up finds nothing to do and is not an error.
  EXPECT_NO_THROW(DeleteTransferFiles(dir.Path()));
}

TEST(FtpCleanUpTest, WorkFilesOfARunningTransferStayAndALeftoverRunsOnesGo) {
  test::TempFolder dir;
  test::RecordingWindow window;
  for (const char* name : {"ftp2MGX.txt", "ftp2MGX.bat", "out.txt"}) dir.Write(name, "x");
  {
    // Another Quorvin on the folder, its client running.
    const platform::FileLock running(dir.File(kTransferLockFileName));
    ASSERT_TRUE(running.Held());
    DeleteLeftoverTransferFiles(dir.Path());
    EXPECT_TRUE(dir.Exists("ftp2MGX.txt")) << "a running transfer's script was removed";
    EXPECT_THROW(RunTransfer(window, dir.Path(), {"get x"}, ExchangeEndpoint{"h", "1", 1}),
                 AppError);
    EXPECT_EQ(dir.Read("ftp2MGX.txt"), "x") << "its script was written over";
  }
  DeleteLeftoverTransferFiles(dir.Path());
  EXPECT_EQ(test::AllNames(dir.Path()), std::vector<std::string>{}) << "lock or work file stays";
}

TEST(FtpRunTest, AnUnwritableBackupLocationIsAnErrorBeforeAnythingRuns) {
  test::TempFolder dir;
  test::RecordingWindow window;
  EXPECT_THROW(RunTransfer(window, dir.File("missing/"), {"get x"}, ExchangeEndpoint{"h", "1", 1}),
               AppError);
  EXPECT_EQ(window.eventRounds, 0);
}

}  // namespace
}  // namespace quorvin
