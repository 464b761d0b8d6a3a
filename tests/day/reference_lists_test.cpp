// Tests of the BO and ISIN list lookups and load failures, and of the indexed
// lookups against a walk to the first match on random lists.
#include "day/reference_lists.h"

#include <gtest/gtest.h>

#include <random>

#include "ground/text.h"
#include "support/fake_dialogs.h"
#include "support/first_match_walk.h"
#include "support/temp_folder.h"

namespace quorvin {
namespace {

using test::FakeDialogs;
using test::TempFolder;
using test::Walk;

const char* kBOFile =
    "S/N~BO ID~BO Name~Client Code\r\n"
    "1~1204510000000001~Rahim Hossain~C1001\r\n"
    "2~1204510000000002~Nasrin Akter~c1002\r\n"
    "3~1204510000000001~Duplicate Holder~C1003\r\n"
    "4~1204510000000004~Last Client~C1004\r";
const char* kISINFile =
    "S/N~ISIN Code~ISIN Name~Scrip ID~Scrip Code\r\n"
    "1~MG1000ALPH31~Alpha Textiles Limited~ALPHATEX~11000\r\n"
    "2~MG1037BRIG52~Bright Cement Company Ltd.~BRIGHTCEM~11013\r\n"
    "3~MG1074CORA17~Coral Bank Limited~CORALBANK~11026";

struct ListsFixture : ::testing::Test {
  TempFolder dir;
  FakeDialogs dialogs;
  ReferenceLists lists{dialogs};
  void SetUp() override {
    dir.Write("BO.txt", kBOFile);
    dir.Write("ISIN.txt", kISINFile);
    lists.LoadBOList(dir.File("BO.txt"));
    lists.LoadISINList(dir.File("ISIN.txt"));
  }
};

TEST_F(ListsFixture, ExactLookupsTakeTheFirstRecord) {
  EXPECT_EQ(lists.BOList().size(), 5u);
  EXPECT_EQ(lists.FindBOName("1204510000000001"), "Rahim Hossain");
  EXPECT_EQ(lists.FindClientCode("1204510000000001"), "C1001");
  EXPECT_EQ(lists.FindBOName("1204510000000009"), "BO NAME NOT FOUND");
  EXPECT_EQ(lists.FindClientCode("1204510000000009"), "");
  // A lone CR at the end of the file is not part of the last client code.
  EXPECT_EQ(lists.FindBOIDByClientCode("C1004"), "1204510000000004");
  EXPECT_EQ(lists.BOList().back().clientCode, "C1004");
  // Client codes match with their letter case.
  EXPECT_EQ(lists.FindBOIDByClientCode("C1002"), "");
  EXPECT_EQ(lists.FindBOIDByClientCode("c1002"), "1204510000000002");
}

TEST_F(ListsFixture, ContainsLookupsIgnoreCaseAndFillTheCodeBox) {
  std::string box = "brig";
  EXPECT_EQ(lists.FindISINName("brig", &box), "Bright Cement Company Ltd.");
  EXPECT_EQ(box, "MG1037BRIG52");
  EXPECT_EQ(lists.FindScripID("cora", &box), "CORALBANK");
  EXPECT_EQ(box, "MG1074CORA17");
  EXPECT_EQ(lists.FindISINByScripID("cem"), "MG1037BRIG52");
  EXPECT_EQ(lists.FindISINByScripID("NOPE"), "");
}

// A blank cell or a header text must not borrow the header's texts (a pay-out
// row would pass every check with the ISIN "ISIN Code"), nor the first record's.
TEST_F(ListsFixture, TheHeaderAndAnEmptyTextAnswerNothing) {
  dir.Write("BO9.txt", "S/N~BO ID~BO Name~Client Code\r\n1~~Nameless~\r\n2~B2~Name 2~C2");
  lists.LoadBOList(dir.File("BO9.txt"));
  std::string box = "keep";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"FindISINByScripID(rip)", lists.FindISINByScripID("rip")},
      {"FindISINByScripID()", lists.FindISINByScripID("")},
      {"FindISINName(isin)", lists.FindISINName("isin", &box)},
      {"FindISINName()", lists.FindISINName("", &box)},
      {"FindScripID(code)", lists.FindScripID("code", &box)},
      {"FindScripID()", lists.FindScripID("", &box)},
      {"FindBOName(BO ID)", lists.FindBOName("BO ID")},
      {"FindBOName()", lists.FindBOName("")},
      {"FindClientCode(BO ID)", lists.FindClientCode("BO ID")},
      {"FindClientCode()", lists.FindClientCode("")},
      {"FindBOIDByClientCode(Client Code)", lists.FindBOIDByClientCode("Client Code")},
      {"FindBOIDByClientCode()", lists.FindBOIDByClientCode("")},
      {"FindBOIDAndName()", lists.FindBOIDAndName("").second},
  };
  for (const auto& [lookup, answer] : cases)
    EXPECT_TRUE(answer.empty() || answer == "ISIN NAME NOT FOUND" || answer == "BO NAME NOT FOUND")
        << lookup << " gave " << answer;
  EXPECT_EQ(box, "keep");
  EXPECT_EQ(lists.FindBOName("B2"), "Name 2");
}

TEST_F(ListsFixture, LoadFailuresKeepWhatWasReadAndSayWhy) {
  dialogs.Expect(
      "Tried to read file: " + dir.File("none.txt") + "\r\nError Description: File not found",
      "Error loading list of BOs.", MsgIcon::Critical);
  lists.LoadBOList(dir.File("none.txt"));
  EXPECT_EQ(lists.BOList().size(), 5u);  // the old list stays

  dir.Write("BO2.txt", std::string(kBOFile) + "\n");  // ends with CR LF: an empty last line
  dialogs.ExpectContaining("Tried to read file: " + dir.File("BO2.txt"),
                           "Error loading list of BOs.", MsgIcon::Critical);
  lists.LoadBOList(dir.File("BO2.txt"));
  EXPECT_EQ(lists.BOList().size(), 5u);
  EXPECT_EQ(lists.FindBOIDByClientCode("C1004"), "1204510000000004");

  dir.Write("ISIN2.txt", "S/N~ISIN Code~ISIN Name~Scrip ID~Scrip Code\r\n1~A~B~C");
  dialogs.ExpectContaining("Error Description: ", "Error loading list of ISINs.",
                           MsgIcon::Critical);
  lists.LoadISINList(dir.File("ISIN2.txt"));
  EXPECT_EQ(lists.ISINList().size(), 1u);
}

TEST_F(ListsFixture, ARecordWithOnlyASerialFailsTheWalksThatReachIt) {
  dir.Write("BO3.txt", "S/N~BO ID~BO Name~Client Code\r\n1~B1~Name 1~C1\r\n2\r\n3~B3~Name 3~C3");
  lists.LoadBOList(dir.File("BO3.txt"));
  EXPECT_EQ(lists.FindBOName("B1"), "Name 1");  // found before the bad record
  dialogs.ExpectErrorContaining("serial number only");
  EXPECT_EQ(lists.FindBOName("B3"), "BO NAME NOT FOUND");
  dialogs.ExpectErrorContaining("serial number only");
  EXPECT_EQ(lists.FindBOIDByClientCode("C9"), "");
}

TEST(ListsRandomized, IndexedLookupsEqualTheFirstMatchWalk) {
  std::mt19937 rng(7);
  auto pick = [&](int n) { return static_cast<int>(rng() % n); };
  const char* letters[] = {"a", "A", "b", "B", "\xE9", "\xC9", "1", "\r"};
  auto word = [&](int len) {
    std::string s;
    for (int i = 0; i < len; ++i) s += letters[pick(8)];
    return s;
  };
  for (int round = 0; round < 40; ++round) {
    FakeDialogs dialogs;
    ReferenceLists lists(dialogs);
    std::vector<BORecord> bo{{"S/N", "BO ID", "BO Name", "Client Code"}};
    std::vector<ISINRecord> isin{{"S/N", "ISIN Code", "ISIN Name", "Scrip ID", "Scrip Code"}};
    for (int i = 0; i < 60; ++i) {
      bo.push_back(
          {std::to_string(i), i % 9 == 4 ? "" : word(2), "name" + std::to_string(i), word(2)});
      // Some scrip IDs too long to be filed piece by piece are walked instead.
      isin.push_back({std::to_string(i), word(3), "isin" + std::to_string(i),
                      i % 7 == 3 ? word(25 + pick(6)) : word(3), "x"});
    }
    lists.SetBOList(bo);
    lists.SetISINList(isin);
    Walk walk{lists};
    for (int q = 0; q < 200; ++q) {
      std::string arg = q % 10 == 0 ? "" : word(1 + pick(3));
      std::string upper = ToUpper(arg);
      int i = walk.bo([&](const BORecord& r) { return !arg.empty() && r.boId == arg; });
      EXPECT_EQ(lists.FindBOName(arg), i >= 0 ? bo[i].boName : "BO NAME NOT FOUND");
      EXPECT_EQ(lists.FindClientCode(arg), i >= 0 ? bo[i].clientCode : "");
      i = walk.bo(
          [&](const BORecord& r) { return !arg.empty() && RemoveAll(r.clientCode, "\r") == arg; });
      EXPECT_EQ(lists.FindBOIDByClientCode(arg), i >= 0 ? bo[i].boId : "");
      auto [boId, boName] = lists.FindBOIDAndName(arg);
      EXPECT_EQ(boId, i >= 0 ? bo[i].boId : "");
      EXPECT_EQ(boName, lists.FindBOName(boId));
      i = walk.isin([&](const ISINRecord& r) {
        return !arg.empty() && ToUpper(r.scripId).find(upper) != std::string::npos;
      });
      EXPECT_EQ(lists.FindISINByScripID(arg), i >= 0 ? isin[i].isinCode : "");
      i = walk.isin([&](const ISINRecord& r) {
        return !arg.empty() && ToUpper(r.isinCode).find(upper) != std::string::npos;
      });
      std::string box = "unchanged";
      EXPECT_EQ(lists.FindISINName(arg, &box), i >= 0 ? isin[i].isinName : "ISIN NAME NOT FOUND");
      EXPECT_EQ(box, i >= 0 ? isin[i].isinCode : "unchanged");
      EXPECT_EQ(lists.FindScripID(arg), i >= 0 ? isin[i].scripId : "");
    }
  }
}

}  // namespace
}  // namespace quorvin
