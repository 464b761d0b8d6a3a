// What a killed write leaves behind: its hidden temporary file. No listing
// shows it, and the next write of the same file removes it, and only it.
#include <gtest/gtest.h>

#include "ground/text_files.h"
#include "support/temp_folder.h"

namespace quorvin {
namespace {

TEST(LeftTempFilesTest, TheNextWriteOfTheFileRemovesItsOwnLeftoversAndNothingElse) {
  test::TempFolder dir;
  dir.Write("BO.txt", "old list");
  dir.Write(".BO.txt.quorvin-a1B2c3", "half a list");     // a killed write of BO.txt
  dir.Write(".BO.txt.quorvin-zzzzzz", "another half");    // and another
  dir.Write(".ISIN.txt.quorvin-a1B2c3", "half an ISIN");  // a killed write of ISIN.txt
  dir.Write(".BO.txt.backup", "the clerk's own hidden copy");
  dir.Write(".BO.txt.quorvin-toolong", "not one of ours");

  EXPECT_EQ(ListFiles(dir.File("*")), std::vector<std::string>{"BO.txt"});
  EXPECT_EQ(ListFiles(dir.File("*BO.txt")), std::vector<std::string>{"BO.txt"});

  WriteTextFile(dir.File("BO.txt"), "new list");
  EXPECT_EQ(dir.Read("BO.txt"), "new list");
  EXPECT_EQ(test::AllNames(dir.Path()),
            (std::vector<std::string>{".BO.txt.backup", ".BO.txt.quorvin-toolong",
                                      ".ISIN.txt.quorvin-a1B2c3", "BO.txt"}));
}

}  // namespace
}  // namespace quorvin
