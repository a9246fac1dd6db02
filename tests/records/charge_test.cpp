// The charge record and its derived members.
#include "records/parsers.h"
#include "records_fixture.h"

namespace wcomp837::testing {
namespace {

class ChargeTest : public RecordsTest {
 protected:
  ChargeRec& charge() { return g().g_ThisGroup.Charge; }
  std::int16_t Parse(std::size_t n, const Edits& edits = {}) {
    return ParseChargeRec(c(), Record(n, edits), charge());
  }
};

TEST_F(ChargeTest, OptionalGroupsLandThreeMembersOnWithTheirDefaults) {
  charge().fill("OLD");
  g().ThisFollowed = true;
  ASSERT_EQ(Parse(88), 0);
  EXPECT_FALSE(g().ThisFollowed);
  EXPECT_EQ(charge()[96] + charge()[97] + charge()[98], "0.00000.00000");
  EXPECT_EQ(charge()[122], "0");
  EXPECT_EQ(charge()[95], "OLD");  // kept when field 92 is absent
  for (std::size_t m : {91, 94, 99, 104, 105, 106, 120, 121, 123, 125, 128, 129, 131}) {
    EXPECT_EQ(charge()[m], "") << m;
  }

  ASSERT_EQ(Parse(129, {{122, "0.00"}, {123, "7"}, {124, "abc"}}), 0);
  EXPECT_EQ(charge()[91] + charge()[95] + charge()[Charge::sAmtDeductible], "F88F92F100");
  EXPECT_EQ(charge()[Charge::sModifier4] + charge()[122], "F116F119");
  EXPECT_EQ(charge()[125] + "|" + charge()[126] + "|" + charge()[127], "|7|");  // zero values
  EXPECT_EQ(charge()[Charge::sDropDescFromNarrative], "F128");
}

TEST_F(ChargeTest, ApprovalNumbersIndicatorKeysTagPartAndCodeParts) {
  ASSERT_EQ(Parse(88, {{0, "A,B,C,D"}, {61, "NONE ON FILE"}, {62, "NON"}, {71, "K1"}}), 0);
  EXPECT_EQ(charge()[Charge::sPrimaryApprovalNr] + "|" + charge()[62], "|NON");
  EXPECT_EQ(charge()[Charge::sIndicatorKeys], "~K1~");
  EXPECT_EQ(charge()[Charge::sRecordTagPart3], "C");
  ASSERT_EQ(Parse(88, {{0, "A,B,C"}, {61, "none"}}), 0);
  EXPECT_EQ(charge()[Charge::sRecordTagPart3] + charge()[61], "CNONE");  // case-sensitive test
  ASSERT_EQ(Parse(88, {{0, "A,B"}}), 0);
  EXPECT_EQ(charge()[Charge::sRecordTagPart3], "");

  const std::array<std::string, 3> codes[] = {{"12/AB", "0012", "AB"},
                                              {"12345", "12345", ""},
                                              {"", "0000", ""},
                                              {" 7 / x/y", "0007", "x/y"}};
  for (const auto& [field, part1, part2] : codes) {
    ASSERT_EQ(Parse(88, {{63, field}}), 0);
    EXPECT_EQ(charge()[Charge::sCodePart1] + "|" + charge()[Charge::sCodePart2],
              part1 + "|" + part2);
  }
}

TEST_F(ChargeTest, ModifiersComeFromTheListInOrder) {
  ASSERT_EQ(Parse(88, {{13, ""}, {16, ""}, {19, ""}, {84, "25  59 76 AA"}}), 0);
  EXPECT_EQ(charge()[Charge::sModifier1] + charge()[Charge::sModifier2] +
                charge()[Charge::sModifier3] + "|" + charge()[Charge::sModifier4],
            "255976|");
  ASSERT_EQ(Parse(88, {{13, "GT"}, {16, ""}, {19, ""}, {84, " 25 59 "}}), 0);
  EXPECT_EQ(
      charge()[Charge::sModifier1] + charge()[Charge::sModifier2] + charge()[Charge::sModifier3],
      "GT2559");
  ASSERT_EQ(Parse(88, {{84, "25 59"}}), 0);  // modifiers 1-3 set: the fourth takes the first word
  EXPECT_EQ(charge()[Charge::sModifier4] + charge()[Charge::asModifierWord1], "2559");
  EXPECT_EQ(PopModifierWord(charge()), "59");
  EXPECT_EQ(PopModifierWord(charge()), "");
}

TEST_F(ChargeTest, BPPrefixAndNarrativeRule) {
  ASSERT_EQ(Parse(129, {{7, "BP:  120/80"}, {126, "Office visit"}}), 0);
  EXPECT_EQ(charge()[Charge::sBPText], "120/80");
  EXPECT_EQ(charge()[Charge::sProcedureDesc] + "|" + charge()[Charge::sProcedureDescAlt],
            "OFFICE VISIT|");

  ASSERT_EQ(Parse(129, {{7, "VISIT"}, {72, "Seen for VISIT"}, {128, "1"}}), 0);
  EXPECT_EQ(charge()[Charge::sBPText], "120/80");  // kept: the rule did not apply
  EXPECT_EQ(charge()[Charge::sNarrative], "");     // held the description: dropped whole
  ASSERT_EQ(Parse(129, {{7, "VISIT"}, {72, "Seen today"}, {128, "1"}}), 0);
  EXPECT_EQ(charge()[Charge::sNarrative], "Seen today");  // cleaned only at the end of the charge
  ASSERT_EQ(Parse(129, {{7, "VISIT"}, {72, "Seen for VISIT"}, {128, "0"}}), 0);
  EXPECT_EQ(charge()[Charge::sNarrative], "Seen for VISIT");
}

}  // namespace
}  // namespace wcomp837::testing
