// Tests of reading, writing, streaming and copying text files, what a failure
// leaves behind, and the folder and file listing helpers.
#include "ground/text_files.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#else
#include <windows.h>
#endif

#include <csignal>
#include <cstring>
#include <filesystem>
#include <random>

#include "ground/errors.h"
#include "ground/platform.h"
#include "support/fake_dialogs.h"
#include "support/posix_only.h"
#include "support/temp_folder.h"

namespace quorvin {
namespace {

using test::FakeDialogs;
using test::TempFolder;

std::string Description(const std::function<void()>& f) {
  try {
    f();
  } catch (const AppError& e) {
    return e.Description();
  }
  return "";
}

TEST(TextFiles, WriteAndReadAreByteExact) {
  TempFolder dir;
  std::string bytes = "a~b\r\nc\rd\n";
  for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
  bytes += std::string("\0tail", 5);
  WriteTextFile(dir.File("x.txt"), bytes);
  EXPECT_EQ(ReadTextFile(dir.File("x.txt")), bytes);
  WriteTextFile(dir.File("x.txt"), "short");
  EXPECT_EQ(dir.Read("x.txt"), "short");
  // No temporary file is left beside the target.
  EXPECT_EQ(ListFiles(dir.File("*")), std::vector<std::string>{"x.txt"});
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(TextFiles, ReadFailuresAreDescribed) {
  TempFolder dir;
  EXPECT_EQ(Description([&] { ReadTextFile(dir.File("missing.txt")); }), "File not found");
  dir.Write("empty.txt", "");
  EXPECT_EQ(Description([&] { ReadTextFile(dir.File("empty.txt")); }), "Input past end of file");
  EXPECT_FALSE(Description([&] { ReadTextFile(dir.Path()); }).empty());
}

// Only plain files are read, and opening one never waits: a pipe nobody
// writes into, a socket or a device in a file's place fails at once.
TEST(TextFiles, WhatIsNotAPlainFileFailsWithoutWaiting) {
  TempFolder dir;
  struct Case {
    std::string path, description;
  };
  std::vector<Case> cases = {{dir.Path(), "Path is a folder, not a file"}};
#ifndef _WIN32
  ASSERT_EQ(::mkfifo(dir.File("pipe.txt").c_str(), 0600), 0);
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = dir.File("socket.txt");
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  cases.push_back({dir.File("pipe.txt"), "Not a plain file (a pipe, socket or device)"});
  cases.push_back({socketPath, "No such device or address"});
  cases.push_back({"/dev/zero", "Not a plain file (a pipe, socket or device)"});
#else
  cases.push_back({"NUL", "Not a plain file (a pipe, socket or device)"});
#endif
  for (const auto& c : cases) {
    EXPECT_EQ(Description([&] { ReadTextFile(c.path); }), c.description) << c.path;
    EXPECT_EQ(Description([&] { LinePieces pieces(c.path); }), c.description) << c.path;
  }
#ifndef _WIN32
  ::close(sock);
#endif
}

// Names as clerks give them, and places a file cannot go, alike on every
// system: the same words, and whatever was there stays.
TEST(TextFiles, NamesOutsideTheCodePageAndPlacesAFileCannotGo) {
  TempFolder dir;
  const std::string bytes = "Händler\r\nদৈনিক\xff\x80";
  for (const std::string name : {"Händler € 2026.txt", "দৈনিক হিসাব.txt", "& ^ 100% !x!.txt"}) {
    WriteTextFile(dir.File(name), bytes);
    EXPECT_EQ(ReadTextFile(dir.File(name)), bytes) << name;
    EXPECT_EQ(ListFiles(dir.File("*" + name.substr(name.size() - 8))),
              std::vector<std::string>{name});
    EXPECT_EQ(platform::StatusOf(dir.File(name)).size, bytes.size());
    EXPECT_TRUE(platform::RemoveFile(dir.File(name)));
  }
  std::filesystem::create_directory(platform::PathOf(dir.File("folder.txt")));
  EXPECT_EQ(Description([&] { WriteTextFile(dir.File("folder.txt"), "x"); }),
            "Path is a folder, not a file");
  EXPECT_EQ(platform::StatusOf(dir.File("folder.txt")).kind, platform::FileKind::Folder);
#ifdef _WIN32
  // A file marked read-only is not replaced (elsewhere the folder's rights decide).
  dir.Write("read-only.txt", "old");
  ASSERT_TRUE(::SetFileAttributesW(platform::PathOf(dir.File("read-only.txt")).c_str(),
                                   FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Description([&] { WriteTextFile(dir.File("read-only.txt"), "new"); }),
            "Permission denied");
  EXPECT_EQ(dir.Read("read-only.txt"), "old");
  ::SetFileAttributesW(platform::PathOf(dir.File("read-only.txt")).c_str(), FILE_ATTRIBUTE_NORMAL);
#endif
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}),
            platform::kWindows ? 2 : 1)
      << "no temporary file is left";
}

// Pieces joined again with the CR LF they were split at give the file back,
// whatever falls on the edges of the blocks read: a CR LF split between two,
// lone CRs and LFs, lines longer than a block.
TEST(TextFiles, LinePiecesSplitTheTextAtItsLineEnds) {
  TempFolder dir;
  std::mt19937 rng(77);
  for (int round = 0; round < 24; ++round) {
    std::string text;
    const size_t size = round < 4 ? round + 1 : 200'000 + rng() % 900'000;
    const int longLine = round % 5 == 4;  // one line past several blocks
    while (text.size() < size) {
      unsigned kind = rng() % 40;
      if (kind == 0)
        text += "\r\n";
      else if (kind == 1)
        text += '\r';
      else if (kind == 2)
        text += '\n';
      else
        text += static_cast<char>('a' + kind % 26);
      if (!longLine && rng() % 200 == 0) text += "\r\n";
    }
    if (round % 3 == 0) text += "\r\n";
    dir.Write("t.txt", text);
    LinePieces pieces(dir.File("t.txt"));
    EXPECT_EQ(pieces.Size(), text.size());
    std::string joined;
    std::string_view piece;
    for (int count = 0; pieces.Next(piece); ++count) {
      if (count) joined += "\n";
      joined += piece;
    }
    EXPECT_FALSE(pieces.Next(piece));
    EXPECT_EQ(pieces.Done(), text.size());
    // Split at CR LF and at LF alone; a CR alone stays in its piece.
    auto lineFeeds = [](const std::string& t) {
      std::string out;
      for (size_t i = 0; i < t.size(); ++i)
        if (!(t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n')) out += t[i];
      return out;
    };
    ASSERT_EQ(lineFeeds(joined), lineFeeds(text)) << "round " << round;
  }
  EXPECT_EQ(Description([&] { LinePieces pieces(dir.File("missing.txt")); }), "File not found");
  dir.Write("empty.txt", "");
  EXPECT_EQ(Description([&] { LinePieces pieces(dir.File("empty.txt")); }),
            "Input past end of file");
  EXPECT_EQ(Description([&] { LinePieces pieces(dir.Path()); }), "Path is a folder, not a file");
}

#ifndef _WIN32
// Runs body under a file-size limit of `bytes`, writes past it failing
// rather than ending the test; the old limit is back afterwards.
template <typename Body>
auto WithFileSizeLimit(rlim_t bytes, Body body) {
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &small);
  auto result = body();
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  return result;
}

#endif

TEST(TextFiles, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  QUORVIN_POSIX_ONLY("a file-size limit (setrlimit) makes the write fail part-way");
#ifndef _WIN32
  TempFolder dir;
  dir.Write("keep.txt", "old content");
  // A file-size limit makes the write fail part-way, as a full disk would.
  std::string failure = WithFileSizeLimit(4096, [&] {
    return Description([&] { WriteTextFile(dir.File("keep.txt"), std::string(100000, 'n')); });
  });
  EXPECT_EQ(failure, "File too large");
  EXPECT_EQ(dir.Read("keep.txt"), "old content");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
#endif
}

// A text made piece by piece lands whole, however its pieces fall against the
// sink's blocks: many small ones, ones as long as several blocks, fills.
TEST(TextFiles, AStreamedWriteHoldsEveryPieceInOrder) {
  TempFolder dir;
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    std::string expected;
    auto produce = [&](TextSink& sink) {
      for (int piece = 0; piece < 60; ++piece) {
        int kind = std::uniform_int_distribution<int>(0, 3)(rng);
        size_t size = kind == 0   ? std::uniform_int_distribution<size_t>(0, 40)(rng)
                      : kind == 1 ? std::uniform_int_distribution<size_t>(30000, 70000)(rng)
                      : kind == 2 ? std::uniform_int_distribution<size_t>(100000, 300000)(rng)
                                  : std::uniform_int_distribution<size_t>(0, 140000)(rng);
        char c = static_cast<char>('a' + piece % 26);
        if (kind == 3) {
          sink.append(size, c);
          expected.append(size, c);
        } else {
          std::string text(size, c);
          for (size_t i = 0; i < size; i += 997) text[i] = static_cast<char>(i % 251);
          sink.append(text);
          expected += text;
        }
      }
    };
    expected.clear();
    WriteTextFileFrom(dir.File("s.txt"), produce);
    ASSERT_EQ(dir.Read("s.txt"), expected) << "round " << round;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// A producer that fails part-way leaves the old file and no temporary, and
// its failure reaches the caller as it was.
TEST(TextFiles, AStreamedWriteThatFailsKeepsTheOldFile) {
  TempFolder dir;
  dir.Write("keep.txt", "old content");
  EXPECT_EQ(Description([&] {
              WriteTextFileFrom(dir.File("keep.txt"), [](TextSink& sink) {
                sink.append(std::string(500000, 'n'));  // already on its way to the disk
                sink.append("more");
                throw AppError("Subscript out of range");
              });
            }),
            "Subscript out of range");
  EXPECT_EQ(dir.Read("keep.txt"), "old content");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

#ifndef _WIN32  // a file-size limit exists only there
  // A write the disk refuses part-way through the stream, likewise.
  std::string failure = WithFileSizeLimit(100000, [&] {
    return Description([&] {
      WriteTextFileFrom(dir.File("keep.txt"), [](TextSink& sink) {
        for (int i = 0; i < 10000; ++i) sink.append("twenty-one characters");
      });
    });
  });
  EXPECT_EQ(failure, "File too large");
  EXPECT_EQ(dir.Read("keep.txt"), "old content");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
#endif
}

TEST(TextFiles, WriteIntoMissingFolderFails) {
  TempFolder dir;
  EXPECT_EQ(Description([&] { WriteTextFile(dir.File("no/such/x.txt"), "x"); }), "File not found");
}

TEST(TextFiles, CopyReportsFailureItself) {
  TempFolder dir;
  FakeDialogs dialogs;
  dir.Write("a.txt", "A\r\nB");
  EXPECT_TRUE(CopyTextFile(dialogs, dir.File("a.txt"), dir.File("b.txt")));
  EXPECT_EQ(dir.Read("b.txt"), "A\r\nB");
  dialogs.ExpectErrorContaining("File not found");
  EXPECT_FALSE(CopyTextFile(dialogs, dir.File("none.txt"), dir.File("c.txt")));
  EXPECT_FALSE(dir.Exists("c.txt"));
}

TEST(TextFiles, FolderExistsOnlyForFolders) {
  TempFolder dir;
  FakeDialogs dialogs;
  dir.Write("file.txt", "x");
  EXPECT_TRUE(FolderExists(dialogs, dir.Path()));
  EXPECT_FALSE(FolderExists(dialogs, dir.File("file.txt")));
  EXPECT_FALSE(FolderExists(dialogs, ""));
  EXPECT_FALSE(FolderExists(dialogs, dir.File("nothing")));
  EXPECT_FALSE(FolderExists(dialogs, dir.File("file.txt/sub")));
}

TEST(TextFiles, ListFilesMatchesPlainFilesOnly) {
  TempFolder dir;
  EXPECT_EQ(ListFiles(dir.File("*_BO.txt")), std::vector<std::string>{""});
  dir.Write("2026-12-08_10-00-00_BO.txt", "x");
  dir.Write("2026-12-07_09-00-00_BO.TXT", "x");
  dir.Write("BO.txt", "x");
  dir.Write(".hidden_BO.txt", "x");
  std::filesystem::create_directory(dir.File("folder_BO.txt"));
  EXPECT_EQ(ListFiles(dir.File("*_BO.txt")),
            (std::vector<std::string>{"2026-12-07_09-00-00_BO.TXT", "2026-12-08_10-00-00_BO.txt"}));
  EXPECT_THROW(ListFiles(dir.File("missing/*.txt")), AppError);
}

}  // namespace
}  // namespace quorvin
