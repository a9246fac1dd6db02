// Copying the this generation to last, and what writing claims leaves behind.
#include <gtest/gtest.h>

#include "claim_fixture.h"

namespace wcomp837::testing {
namespace {

TEST(Generations, TopCopyRaisesFlagsAndCarriesThePracticeNPI) {
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
  g.g_LastTop.Practice = {"1000", "P1"};
  g.g_LastTop.Practice[Practice::sNPI] = "1111111111";
  g.g_LastTop.Patient[Patient::sLastName] = "KEPT";
  // Only an insurance record arrived; its parser put an alternate NPI in the
  // this practice, whose received mark is clear.
  g.g_ThisTop.Practice[Practice::sNPI] = "2222222222";
  g.g_ThisTop.Insurance[0] = "3000";
  g.g_ThisTop.Insurance[Insurance::sInsuranceCode] = "INS9";
  g.g_ThisTop.ExtData[2] = {"5014", "~30001X"};
  CopyThisTopToLast(c);

  EXPECT_TRUE(g.claim.NeedNewInsurance);
  EXPECT_FALSE(g.claim.NeedNewPractice);
  EXPECT_FALSE(g.claim.NeedNewPatient);
  EXPECT_EQ(g.g_LastTop.Practice[Practice::sNPI], "2222222222");
  EXPECT_EQ(g.g_LastTop.Practice[Practice::sPracticeCode], "P1");
  EXPECT_EQ(g.g_LastTop.Insurance[Insurance::sInsuranceCode], "INS9");
  EXPECT_EQ(g.g_LastTop.Patient[Patient::sLastName], "KEPT");
  EXPECT_EQ(g.g_LastTop.ExtData[2][ExtData::sExtData], "~30001X");
  // The this set loses its received marks only; its values stay.
  EXPECT_FALSE(Received(g.g_ThisTop.Insurance));
  EXPECT_EQ(g.g_ThisTop.Insurance[Insurance::sInsuranceCode], "INS9");
  EXPECT_TRUE(g.g_ThisTop.ExtData[2][ExtData::sExtData].empty());

  // Without an insurance record the NPI is not carried over.
  g.g_ThisTop.Practice[Practice::sNPI] = "3333333333";
  g.g_ThisTop.Patient[0] = "4000";
  CopyThisTopToLast(c);
  EXPECT_EQ(g.g_LastTop.Practice[Practice::sNPI], "2222222222");
  EXPECT_TRUE(g.claim.NeedNewPatient);
}

TEST(Generations, GroupCopySharesCustomFormsAndFollowFlags) {
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
  ChargeGroup& fresh = g.g_ThisGroup;
  fresh.Charge[0] = "6000";
  fresh.Charge[Charge::sProcedureCode] = "99213";
  fresh.Ambulance[0] = "6050";
  fresh.SecondSet(3) = {"6024", "~40001A"};
  fresh.SProvider[0] = "6100";
  fresh.SProvider[SProvider::sNPI] = "1234567893";
  fresh.OIns[2][0] = "6320";
  fresh.OIns[2][OInsurance::sPaymentAdjCodes] = "CO|45|1|0";
  auto forms = fresh.CustomForms;
  g.ThisFollowed = true;
  g.ThisFollowedCode = "F";
  CopyThisGroupToLast(c);

  const ChargeGroup& last = g.g_LastGroup();
  EXPECT_EQ(last.Charge[Charge::sProcedureCode], "99213");
  EXPECT_EQ(last.Ambulance[0], "6050");
  EXPECT_EQ(last.SecondSet(3)[ExtData::sExtData], "~40001A");
  EXPECT_EQ(last.SProvider[SProvider::sNPI], "1234567893");
  EXPECT_EQ(last.OIns[2][OInsurance::sPaymentAdjCodes], "CO|45|1|0");
  EXPECT_EQ(last.CustomForms, forms);  // the same list, not a copy
  EXPECT_NE(fresh.CustomForms, forms);
  EXPECT_TRUE(g.LastFollowed);
  EXPECT_EQ(g.LastFollowedCode, "F");

  // The this group is emptied by its own rules.
  EXPECT_FALSE(Received(fresh.Charge));
  EXPECT_EQ(fresh.Charge[Charge::sProcedureCode], "99213");
  EXPECT_EQ(fresh.Ambulance, AmbulanceRec{});
  EXPECT_TRUE(fresh.SecondSet(3)[ExtData::sExtData].empty());
  EXPECT_FALSE(Received(fresh.SProvider));
  EXPECT_EQ(fresh.SProvider[SProvider::sNPI], "1234567893");
  EXPECT_EQ(fresh.OIns[2][OInsurance::sPaymentAdjCodes], "CO|45|1|0");
}

TEST(Generations, ClaimTablesStayTheSizeOfOneClaim) {
  ClaimBatch b;
  b.TopRecords();
  for (int claim = 0; claim < 60; ++claim) {
    b.Patient();
    for (int line = 0; line < 3; ++line) ASSERT_EQ(b.Charge("X"), 0);
  }
  EXPECT_EQ(b.ClaimsWritten(), 59);
  EXPECT_EQ(b.o.env.miClaimCount, 59);
  EXPECT_EQ(b.g.claim.DETAILArray.size(), 21u);
  EXPECT_EQ(b.g.claim.gDiagArray.size(), 9u);
  EXPECT_EQ(b.OpenLines(), 3);
  EXPECT_EQ(b.o.dfLineCounter, 180.0);
  EXPECT_EQ(WriteClaim(b.c), 0);  // the batch's last claim
  EXPECT_EQ(b.ClaimsWritten(), 60);
  EXPECT_EQ(b.OpenLines(), 0);
}

}  // namespace
}  // namespace wcomp837::testing
