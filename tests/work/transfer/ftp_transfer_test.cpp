// The parts of the transfer that need no server. The client against a real
// server is covered by the integration tests.
#include "work/transfer/ftp_transfer.h"

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
            "put 05-Jan-2010_PI_204513.txt 05-Jan-2010/05-Jan-2010_PI_204513.txt\n"
            "bye\n");
  // Started with -i, the Windows client needs no "prompt", which would turn
  // prompting back on; its lines are parted by CR LF.
  EXPECT_EQ(FtpScriptText(send, emulator, ClientForm::kWindowsBatch),
            "open 127.0.0.1 2999\r\n"
            "user quorvinftp qv8305\r\n"
            "cd entry\r\n"
            "mkdir 05-Jan-2010\r\n"
            "put 05-Jan-2010_PI_204513.txt 05-Jan-2010/05-Jan-2010_PI_204513.txt\r\n"
            "bye");
  EXPECT_EQ(FtpScriptText(send, emulator), FtpScriptText(send, emulator, kNativeForm));
  EXPECT_EQ(ProbeInstructionLines("05-Jan-2010", "F.txt"),
            (std::vector<std::string>{"mkdir 05-Jan-2010", "get 05-Jan-2010/F.txt F.txt"}));
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
            "exec ftp -n -v -q 7 <ftp2MGX.txt >out.txt 2>&1\n");
  EXPECT_EQ(FtpBatchText("D:/Broker data/100% & ^ দৈনিক!/", endpoint, ClientForm::kWindowsBatch),
            "@echo off\r\n"
            "chcp 65001 >nul\r\n"
            "cd /d \"D:\\Broker data\\100%% & ^ দৈনিক!\\\"\r\n"
            "ftp.exe -i -n -s:ftp2MGX.txt >out.txt 2>&1\r\n"
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

TEST(FtpResultTest, SuccessNeedsTheExactReplyAndMissingIgnoresCase) {
  EXPECT_TRUE(TransferSucceeded("150 Opening\r\n226 Transfer complete.\r\n221 Goodbye."));
  EXPECT_FALSE(TransferSucceeded("226 transfer complete."));
  EXPECT_FALSE(TransferSucceeded("226 Transfer complete"));
  EXPECT_FALSE(TransferSucceeded("ftp: Can't connect to `127.0.0.1:1': Connection refused"));

  EXPECT_TRUE(RemoteFileMissing("550 entry: The system cannot find the file specified."));
  EXPECT_TRUE(RemoteFileMissing("550 F.TXT: THE SYSTEM CANNOT FIND THE FILE SPECIFIED."));
  EXPECT_FALSE(RemoteFileMissing("550 No such file or directory."));
  EXPECT_FALSE(RemoteFileMissing("Not connected."));
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
  EXPECT_EQ(root.Read(folderName + "/args"), "-n|-v|-q|7|");
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
    EXPECT_TRUE(TransferSucceeded(out)) << out;
    EXPECT_NE(out.find("args: -i -n -s:ftp2MGX.txt\r\n"), std::string::npos) << out;
    const std::string folder = windowsForm(location.substr(0, location.size() - 1));
    EXPECT_NE(out.find("cwd: " + folder + "\r\n"), std::string::npos) << out;
    EXPECT_EQ(server.Read("05-Jan-2010/" + file), "the day's rows " + name);
    DeleteTransferFiles(location);

    out = RunTransfer(window, location, ProbeInstructionLines("06-Jan-2010", file), endpoint);
    EXPECT_TRUE(RemoteFileMissing(out)) << out;
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

TEST(FtpRunTest, AnUnwritableBackupLocationIsAnErrorBeforeAnythingRuns) {
  test::TempFolder dir;
  test::RecordingWindow window;
  EXPECT_THROW(RunTransfer(window, dir.File("missing/"), {"get x"}, ExchangeEndpoint{"h", "1", 1}),
               AppError);
  EXPECT_EQ(window.eventRounds, 0);
}

}  // namespace
}  // namespace quorvin
