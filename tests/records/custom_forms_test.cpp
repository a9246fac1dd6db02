// Custom-form answers: question numbering, the answer list and its record.
#include "records/parsers.h"
#include "records_fixture.h"

namespace wcomp837::testing {
namespace {

CCFormInfo Answer(const std::string& form, const std::string& key, const std::string& answer) {
  return CCFormInfo{form, key, "", answer, ""};
}

TEST(CustomForms, QuestionNumbersByFormAndKey) {
  const std::array<std::string, 4> rows[] = {
      {"CMS-849", "AMBULATE", "B4", "O"},
      {"CMS-849", "NARRATIVE", "C1", "T"},
      {"CMS-10126", "DEXTROSECONCENTRATION", "8", "I"},
      // Lower-case or other-form keys: no number, the type unchanged.
      {"CMS-849", "ambulate", "", "Q"},
      {"CMS-10126", "AMBULATE", "", "Q"}};
  for (const auto& [form, key, number, type] : rows) {
    CCFormInfo info{form, key, "Q", "", "OLD"};
    info.DetermineQuestionNumber();
    EXPECT_EQ(info.sQuestionNumber + "|" + info.sQuestionType, number + "|" + type) << key;
  }
}

TEST(CustomForms, AddTailFillsFreePositionsAndSpreadsTheNarrative) {
  CCFormInfoArray list;
  list.AddTail(Answer("CMS-849", "NARRATIVE", "one;two;three;four"));
  list.AddTail(Answer("CMS-849", "AMBULATE", "Y"));
  list.AddTail(Answer("CMS-10126", "NARRATIVE", "a;b"));  // not the narrative question there
  const std::array<std::string, 3> expected[] = {
      {"one", "C1", "NARRATIVE"}, {"two", "C2", "NARRATIVE"}, {"three", "C3", "NARRATIVE"},
      {"Y", "B4", "AMBULATE"},    {"a;b", "", "NARRATIVE"},   {"", "", ""}};
  for (int i = 0; i < 6; ++i) {
    const CCFormInfo& info = list.GetCustomFormInfo(static_cast<std::int16_t>(i + 1));
    EXPECT_EQ(info.sAnswerValue + "|" + info.sQuestionNumber + "|" + info.sQuestionIDName,
              expected[i][0] + "|" + expected[i][1] + "|" + expected[i][2]);
  }
  EXPECT_EQ(list.GetCustomFormInfo(3).sQuestionType, "T");
  EXPECT_THROW(list.GetCustomFormInfo(0), Failure);
  EXPECT_THROW(list.GetCustomFormInfo(101), Failure);
}

TEST(CustomForms, PartsWithoutAFreePositionAreDropped) {
  CCFormInfoArray list;
  for (int i = 1; i <= 99; ++i) list.AddTail(Answer("CMS-849", "HCPCS1", "x"));
  list.AddTail(Answer("CMS-849", "NARRATIVE", "last;lost;gone"));
  list.AddTail(Answer("CMS-849", "HCPCS2", "no room"));
  EXPECT_EQ(list.GetCustomFormInfo(100).sAnswerValue, "last");
  EXPECT_EQ(list.GetCustomFormInfo(99).sAnswerValue, "x");

  CCFormInfoArray held;  // a position the host filled is not overwritten
  held.GetCustomFormInfo(2) = Answer("CMS-849", "AMBULATE", "N");
  held.AddTail(Answer("CMS-849", "NARRATIVE", "a;b;c"));
  EXPECT_EQ(held.GetCustomFormInfo(1).sAnswerValue + held.GetCustomFormInfo(2).sAnswerValue +
                held.GetCustomFormInfo(3).sChargeCustomForm,
            "aN");
}

using CCFormRecordTest = RecordsTest;

TEST_F(CCFormRecordTest, RecordAddsToTheGroupList) {
  ChargeGroup& grp = g().g_ThisGroup;
  grp.CustomForms.reset();
  ASSERT_EQ(ParseCCFormRec(c(), "ignored//CMS-849//PATIENTHEIGHT//70", grp), 0);
  ASSERT_EQ(ParseCCFormRec(c(), "//CMS-849//SECBNAME//Dr. Who//extra", grp), 0);
  ASSERT_TRUE(grp.CustomForms);
  const CCFormInfo& first = grp.CustomForms->GetCustomFormInfo(1);
  EXPECT_EQ(first.sQuestionIDName + first.sAnswerValue + first.sQuestionNumber, "PATIENTHEIGHT70X");
  EXPECT_EQ(grp.CustomForms->GetCustomFormInfo(2).sAnswerValue, "Dr. Who");
}

// Cleared groups share one empty list: an answer for one charge must land in
// a list of its own, never in the shared one or in the last charge's list.
TEST_F(CCFormRecordTest, ClearedGroupsGetTheirOwnListOnTheFirstAnswer) {
  ChargeGroup& grp = g().g_ThisGroup;
  EmptyThisGroup(c());
  EmptyLastGroup(c());
  EXPECT_EQ(grp.CustomForms, g().g_LastGroup().CustomForms);
  ASSERT_EQ(ParseCCFormRec(c(), "6005//CMS-849//AMBULATE//N", grp), 0);
  EXPECT_NE(grp.CustomForms, NoCustomForms());
  EXPECT_EQ(grp.CustomForms->GetCustomFormInfo(1).sAnswerValue, "N");
  EXPECT_EQ(NoCustomForms()->GetCustomFormInfo(1).sChargeCustomForm, "");
  EXPECT_EQ(g().g_LastGroup().CustomForms->GetCustomFormInfo(1).sChargeCustomForm, "");

  const auto held = grp.CustomForms;  // the last group takes it by reference
  g().g_LastGroup().CustomForms = grp.CustomForms;
  EmptyThisGroup(c());
  ASSERT_EQ(ParseCCFormRec(c(), "6005//CMS-849//SECBNAME//X", grp), 0);
  EXPECT_EQ(g().g_LastGroup().CustomForms, held);
  EXPECT_EQ(held->GetCustomFormInfo(1).sAnswerValue, "N");
  EXPECT_EQ(held->GetCustomFormInfo(2).sChargeCustomForm, "");
  EXPECT_EQ(grp.CustomForms->GetCustomFormInfo(1).sAnswerValue, "X");
}

}  // namespace
}  // namespace wcomp837::testing
