// The exchange's configuration file: what it may change, and every way it
// can be unusable, which must stop a transfer before it starts.
#include <gtest/gtest.h>

#include "ground/exchange.h"
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "ground/errors.h"
#include "support/temp_folder.h"
#include "work/transfer/ftp_transfer.h"

namespace quorvin {
namespace {

using test::TempFolder;

TEST(ExchangeConfig, KeysOverTheBuildsValuesAndEveryUnusableValueIsNamed) {
  const ExchangeEndpoint build;
  const struct {
    std::string text;
    std::string host, port, user, password;  // expected when usable
    std::string unusable;                    // a part of the message, or empty
  } cases[] = {
      {"", build.host, build.port, build.user, build.password, ""},
      {"Host : ftp.exchange.example\r\nPort : 21\r\n", "ftp.exchange.example", "21", build.user,
       build.password, ""},
      {"# the broker's login\nUser : b204513\nPassword : s3cr%t\n\n", build.host, build.port,
       "b204513", "s3cr%t", ""},
      {"Port : abc", "", "", "", "", "Port must be a number from 1 to 65535, not \"abc\""},
      {"Port : 0", "", "", "", "", "Port must be a number from 1 to 65535, not \"0\""},
      {"Port : 70000", "", "", "", "", "Port must be a number from 1 to 65535, not \"70000\""},
      {"Host : ", "", "", "", "", "Host is empty"},
      {"Host : two words", "", "", "", "", "Host must be one word"},
      {"Password : a\"b", "", "", "", "", "Password holds a \" or \\"},
      {"User : dom\\clerk", "", "", "", "", "User holds a \" or \\"},
      {"Hots : ftp.example", "", "", "", "", "line 1 is not"},
      {"Password : " + std::string(10 << 20, 'x'), "", "", "", "",
       "the value of Password is too long"},
      {std::string(10 << 20, 'x'), "", "", "", "", "line 1 is not"},
  };
  TempFolder dir;
  for (const auto& c : cases) {
    dir.Write("exchange.ini", c.text);
    const ExchangeEndpoint e = ReadExchangeConfig(dir.File("exchange.ini"));
    const std::string shown = c.text.substr(0, 40);
    if (c.unusable.empty()) {
      EXPECT_EQ(e.unusable, "") << shown;
      EXPECT_EQ(e.host + " " + e.port + " " + e.user + " " + e.password,
                c.host + " " + c.port + " " + c.user + " " + c.password)
          << shown;
    } else {
      EXPECT_NE(e.unusable.find(dir.File("exchange.ini")), std::string::npos) << shown;
      EXPECT_NE(e.unusable.find(c.unusable), std::string::npos) << shown << ": " << e.unusable;
      // No transfer starts with it: the script is refused before anything is written.
      EXPECT_THROW(FtpScriptText({"get ISIN.txt"}, e), AppError) << shown;
    }
  }

  EXPECT_EQ(ReadExchangeConfig(dir.File("none.ini")).unusable, "") << "no file: the build's values";
  std::filesystem::create_directory(dir.File("folder.ini"));
  EXPECT_NE(ReadExchangeConfig(dir.File("folder.ini")).unusable.find("it is not a file"),
            std::string::npos);
#ifndef _WIN32
  // A pipe in its place must not hold the start.
  ASSERT_EQ(::mkfifo(dir.File("pipe.ini").c_str(), 0600), 0);
  EXPECT_NE(ReadExchangeConfig(dir.File("pipe.ini")).unusable.find("it is not a file"),
            std::string::npos);
#endif
}

}  // namespace
}  // namespace quorvin
