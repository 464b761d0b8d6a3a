// Tests that the kept list answers follow the lists and the cell pool, and
// are not kept for a list whose lookups may show a box.
#include "day/list_answers.h"

#include <gtest/gtest.h>

#include "support/fake_dialogs.h"

namespace quorvin {
namespace {

using test::FakeDialogs;

struct ListAnswersFixture : ::testing::Test {
  FakeDialogs dialogs;
  ReferenceLists lists{dialogs};
  CellPool pool;
  ListAnswers answers;

  void SetUp() override {
    lists.SetBOList({{"S/N", "BO ID", "BO Name", "Client Code"}, {"1", "B1", "First", "C1"}});
    lists.SetISINList({{"S/N", "ISIN Code", "ISIN Name", "Scrip ID", "Scrip Code"},
                       {"1", "MG1", "Alpha", "ALPHA", "1"}});
    answers.Use(lists, pool);
  }
};

TEST_F(ListAnswersFixture, AnswersFollowTheListsAndThePool) {
  Cell client = pool.Intern("C1"), scrip = pool.Intern("alp");
  EXPECT_EQ(*answers.ForClient(client).boid, "B1");
  EXPECT_EQ(*answers.ForClient(client).boName, "First");
  EXPECT_EQ(*answers.ForScrip(scrip).isinCode, "MG1");
  EXPECT_EQ(*answers.ForScrip(scrip).isinName, "Alpha");

  // The clerk saves a changed BO list: the old answers must not be used.
  lists.SetBOList({{"S/N", "BO ID", "BO Name", "Client Code"}, {"1", "B2", "Second", "C1"}});
  answers.Use(lists, pool);
  EXPECT_EQ(*answers.ForClient(client).boid, "B2");
  EXPECT_EQ(*answers.ForClient(client).boName, "Second");

  // Answers are cells of the pool they were asked for.
  CellPool other;
  answers.Use(lists, other);
  EXPECT_EQ(answers.ForClient(other.Intern("C1")).boid, other.Intern("B2"));
}

TEST_F(ListAnswersFixture, AListThatMayShowABoxIsAskedEveryTime) {
  lists.SetBOList({{"S/N", "BO ID", "BO Name", "Client Code"}, {"1", "", "", "", true}});
  answers.Use(lists, pool);
  Cell client = pool.Intern("C1");
  for (int ask = 0; ask < 2; ++ask) {
    // The BO ID lookup; the BO Name of the empty BO ID is not looked for.
    dialogs.ExpectErrorContaining("serial number only");
    EXPECT_EQ(*answers.ForClient(client).boid, "");
  }
  dialogs.VerifyDone();
}

}  // namespace
}  // namespace quorvin
