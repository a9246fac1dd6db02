// Per-insurance line amounts and the merging of payment adjustment texts.
#include <gtest/gtest.h>

#include <memory>

#include "claim/tables.h"
#include "platform/prompt.h"
#include "state/messages.h"

namespace wcomp837::testing {
namespace {

Currency Money(const char* text) {
  return Currency::FromText(text);
}

TEST(PaymentAdjustments, MergesByGroupAndReasonThenSortsByGroup) {
  std::string existing = "CO|45|10|1";
  InsInfoArray::AddThePaymentAdjCodes(existing, "PR|2|3|0|CO|45|5|0");
  EXPECT_EQ(existing, "CO|45|15|1|PR|2|3|0");

  // Equal groups keep their order; amounts and units stay plain decimals.
  std::string text;
  InsInfoArray::AddThePaymentAdjCodes(text, "PR|1|2.5|1.5|CO|97|0.125|0|OA|23|100|2|CO|45|1|1");
  EXPECT_EQ(text, "CO|97|0.125|0|CO|45|1|1|OA|23|100|2|PR|1|2.5|1.5");

  std::string unchanged = "PR|1|2|0";
  InsInfoArray::AddThePaymentAdjCodes(unchanged, "");
  EXPECT_EQ(unchanged, "PR|1|2|0");

  // An incomplete last adjustment is ignored; one without a group is dropped.
  std::string partial;
  InsInfoArray::AddThePaymentAdjCodes(partial, "CO|45|10|1|PR|2");
  EXPECT_EQ(partial, "CO|45|10|1");
  std::string nogroup;
  InsInfoArray::AddThePaymentAdjCodes(nogroup, "|45|10|1");
  EXPECT_EQ(nogroup, "");

  const auto parsed = InsInfoArray::ParsePaymentAdjCodes("CO|45|abc|x|PR");
  ASSERT_EQ(parsed.size(), 1u);
  EXPECT_TRUE(parsed[0].curAmount.IsZero());
  EXPECT_EQ(parsed[0].dfUnit, 0.0);
}

TEST(InsInfoArray, PositionsAndMedicareNeighbour) {
  InsInfoArray arr;
  EXPECT_THROW(arr.GetInsInfo(0), Failure);
  EXPECT_THROW(arr.GetInsInfo(5), Failure);
  arr.GetInsInfo(1).sQELInsuranceCategoryCd = "MCR";
  EXPECT_FALSE(arr.IsPreviousInsuranceMedicare(1));
  EXPECT_TRUE(arr.IsPreviousInsuranceMedicare(2));
  arr.GetInsInfo(2).sQELInsuranceCategoryCd = "MCR";
  EXPECT_FALSE(arr.IsPreviousInsuranceMedicare(2));
  EXPECT_FALSE(arr.IsPreviousInsuranceMedicare(4));

  struct Recorder : UserPrompt {
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    void Notify(const std::string&, const std::string& text) override { notices.push_back(text); }
    std::vector<std::string> notices;
  };
  auto recorder = std::make_shared<Recorder>();
  SetUserPrompt(recorder);
  EXPECT_THROW(arr.IsPreviousInsuranceMedicare(7), Failure);
  SetUserPrompt(nullptr);
  ASSERT_EQ(recorder->notices.size(), 1u);
  EXPECT_EQ(recorder->notices[0], "IsPreviousInsuranceMedicare index ( 7) is out of bounds");
}

TEST(InsInfoArray, AddToMeSumsUsedPositions) {
  InsInfoArray claim;
  claim.GetInsInfo(1).sLastPaymentDate = "20230105";
  claim.GetInsInfo(1).sPaymentAdjCodes = "CO|45|10|1";
  InsInfoArray line;
  InsInfo& one = line.GetInsInfo(1);
  one.bUsed = true;
  one.sQELInsuranceCategoryCd = "WC";
  one.curAmtPayerPaid = Money("40");
  one.curAmtAllowed = Money("60.5");
  one.sLastPaymentDate = "20230110";
  one.sPaymentAdjCodes = "CO|45|5|0";
  line.GetInsInfo(3).curAmtPayerPaid = Money("99");  // not used: ignored
  line.curAmtPatientPaid = Money("7");
  claim.AddToMe(line);
  claim.AddToMe(line);
  const InsInfo& sum = claim.GetInsInfo(1);
  EXPECT_TRUE(sum.bUsed);
  EXPECT_EQ(sum.sQELInsuranceCategoryCd, "WC");
  EXPECT_EQ(sum.curAmtPayerPaid, Money("80"));
  EXPECT_EQ(sum.curAmtAllowed, Money("121"));
  EXPECT_EQ(sum.sLastPaymentDate, "20230110");
  EXPECT_EQ(sum.sPaymentAdjCodes, "CO|45|20|1");
  EXPECT_FALSE(claim.GetInsInfo(3).bUsed);
  EXPECT_TRUE(claim.GetInsInfo(3).curAmtPayerPaid.IsZero());
  EXPECT_EQ(claim.curAmtPatientPaid, Money("14"));

  claim.Empty_Me();
  EXPECT_FALSE(claim.GetInsInfo(1).bUsed);
  EXPECT_TRUE(claim.GetInsInfo(1).sPaymentAdjCodes.empty());
  EXPECT_TRUE(claim.curAmtPatientPaid.IsZero());
}

struct LineFixture {
  LineFixture() {
    g.g_LastTop.Insurance[Insurance::sInsuranceCategoryCd] = "WC";
    ChargeRec& ch = g.g_LastGroup().Charge;
    ch[Charge::sAmtPayerPaid] = "20";
    ch[Charge::sAmtAllowed] = "80";
    ch[Charge::sAmtPatientPaid] = "5";
    line.curCharge = Currency::FromUnits(100);
  }
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
  DetailLine line;
};

TEST(FillDetailInsInfo, OtherInsuranceAndBillingPosition) {
  LineFixture f;
  OInsuranceRec& prior = f.g.g_LastGroup().OIns[1];
  prior[0] = "6310";
  prior[OInsurance::sAmtPayerPaid] = "40";
  prior[OInsurance::sAmtAllowed] = "0";
  prior[OInsurance::sCrossOver] = "YES";
  prior[OInsurance::sInsuranceCategoryCd] = "MCR";
  prior[OInsurance::sPaymentAdjCodes] = "CO|45|60|0";
  f.g.g_LastGroup().Charge[Charge::sBillingInsIndex] = "2";
  ASSERT_EQ(FillDetailInsInfo(f.c, f.line), 0);

  const InsInfo& p1 = f.line.oInsInfo.GetInsInfo(1);
  EXPECT_TRUE(p1.bUsed);
  EXPECT_FALSE(p1.bBillingInsurance);
  EXPECT_EQ(p1.curAmtAllowed, Currency::FromUnits(100));  // the line's charge
  EXPECT_EQ(p1.curAmtPayerPaid, Currency::FromUnits(40));
  EXPECT_EQ(p1.sCrossOver, "Y");
  EXPECT_EQ(p1.sPaymentAdjCodes, "CO|45|60|0");
  const InsInfo& p2 = f.line.oInsInfo.GetInsInfo(2);
  EXPECT_TRUE(p2.bBillingInsurance);
  EXPECT_EQ(p2.curAmtPayerPaid, Currency::FromUnits(20));
  EXPECT_EQ(p2.curAmtAllowed, Currency::FromUnits(80));
  EXPECT_EQ(p2.sQELInsuranceCategoryCd, "WC");
  EXPECT_TRUE(f.line.oInsInfo.IsPreviousInsuranceMedicare(2));
  EXPECT_EQ(f.line.oInsInfo.curAmtPatientPaid, Currency::FromUnits(5));
  EXPECT_FALSE(f.line.oInsInfo.GetInsInfo(3).bUsed);
}

TEST(FillDetailInsInfo, BillingIndexOutsideOneToFour) {
  for (const char* index : {"0", "5", "abc", "99999"}) {
    SCOPED_TRACE(index);
    LineFixture f;
    f.g.g_LastGroup().Charge[Charge::sBillingInsIndex] = index;
    EXPECT_EQ(FillDetailInsInfo(f.c, f.line), 3);
    ASSERT_EQ(MessageCount(f.g.host), 1);
    EXPECT_EQ(HighestMessageType(f.g.host), 3);
  }
  LineFixture f;
  f.g.g_LastGroup().Charge[Charge::sBillingInsIndex] = "5";
  FillDetailInsInfo(f.c, f.line);
  EXPECT_EQ(GetAMessageText(f.g.host, 1),
            " 3//ERROR: Billing Ins Index was not between 1-4 ( 5)//");

  // The line is given back: it is never written and adds nothing to the totals.
  LineFixture d;
  InitializeClaimTables(d.c);
  d.g.g_LastGroup().Charge[0] = "6000";
  d.g.g_LastGroup().Charge[Charge::sChargeAmount] = "100";
  d.g.g_LastGroup().Charge[Charge::sBillingInsIndex] = "0";
  EXPECT_EQ(DealWithLastGroup(d.c), 3);
  EXPECT_EQ(d.g.claim.DETAILArray[1].sUsed, "");
  EXPECT_TRUE(d.g.claim.mClaim.curTotalCharges.IsZero());
}

}  // namespace
}  // namespace wcomp837::testing
