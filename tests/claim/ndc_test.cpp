// Drug codes: the drug-code text and the codes marked in the narrative.
#include <gtest/gtest.h>

#include "claim/tables.h"

namespace wcomp837::testing {
namespace {

TEST(DrugCodes, FillFromText) {
  NDCInfoArray arr;
  arr.GetNDCInfo(2).sUnitPrice = "KEEP";
  arr.Fill_Me("11111-1.5-2-UN-RX1;22222;;44444-9");
  EXPECT_EQ(arr.GetNDCInfo(1).sNDCCode, "11111");
  EXPECT_EQ(arr.GetNDCInfo(1).sUnitPrice, "1.5");
  EXPECT_EQ(arr.GetNDCInfo(1).sQuantity, "2");
  EXPECT_EQ(arr.GetNDCInfo(1).sMeasurement, "UN");
  EXPECT_EQ(arr.GetNDCInfo(1).sPrescriptionNr, "RX1");
  EXPECT_EQ(arr.GetNDCInfo(2).sNDCCode, "22222");
  EXPECT_EQ(arr.GetNDCInfo(2).sUnitPrice, "KEEP");  // only a code: the rest unchanged
  EXPECT_EQ(arr.GetNDCInfo(3).sNDCCode, "");        // empty item; the fourth is ignored
  EXPECT_THROW(arr.GetNDCInfo(0), Failure);
  EXPECT_THROW(arr.GetNDCInfo(4), Failure);

  arr.Fill_Me("33333-1-2-3-4-5-6");
  EXPECT_EQ(arr.GetNDCInfo(1).sPrescriptionNr, "4");
  arr.Empty_Me();
  EXPECT_EQ(arr.GetNDCInfo(1).sNDCCode, "");
  EXPECT_EQ(arr.GetNDCInfo(2).sUnitPrice, "");
}

TEST(DrugCodes, TakenOutOfTheNarrative) {
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
  DetailLine line;
  line.sNarrative = "NDC 12345678901 WORD";
  ExtractNDCFromNarrative(c, line);
  EXPECT_EQ(line.sNarrativeNDC[1], "12345678901");
  EXPECT_EQ(line.sNarrative, "WORD");

  DetailLine four;
  four.sNarrative = "A NDC 1 B NDC 2 NDC 3 C NDC 4";
  ExtractNDCFromNarrative(c, four);
  EXPECT_EQ(four.sNarrativeNDC[1], "1");
  EXPECT_EQ(four.sNarrativeNDC[2], "2");
  EXPECT_EQ(four.sNarrativeNDC[3], "3");
  EXPECT_EQ(four.sNarrative, "A B C NDC 4");

  DetailLine last;
  last.sNarrative = "TEXT NDC 555";
  ExtractNDCFromNarrative(c, last);
  EXPECT_EQ(last.sNarrativeNDC[1], "555");
  EXPECT_EQ(last.sNarrative, "TEXT ");
}

TEST(DrugCodes, LineTakesNarrativeAndExtendedDataCodes) {
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
  InitializeClaimTables(c);
  ChargeGroup& group = g.g_LastGroup();
  group.Charge[0] = "6000";
  group.Charge[Charge::sBillingInsIndex] = "1";
  group.Charge[Charge::sNarrative] = "NDC 00002143380 GIVEN";
  group.SecondSet(2) = {"6022", "~2001099999-3-1-ML"};
  ASSERT_EQ(DealWithLastGroup(c), 0);
  const DetailLine& line = g.claim.DETAILArray[1];
  EXPECT_EQ(line.sNarrativeNDC[1], "00002143380");
  EXPECT_EQ(line.sNarrative, "GIVEN");
  EXPECT_EQ(line.oNDCInfo.GetNDCInfo(1).sNDCCode, "99999");
  EXPECT_EQ(line.oNDCInfo.GetNDCInfo(1).sMeasurement, "ML");
}

}  // namespace
}  // namespace wcomp837::testing
