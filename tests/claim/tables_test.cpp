// The service line table, the diagnosis table, extended-data lookups and
// line control numbers, filled straight from a last charge group.
#include "claim/tables.h"

#include <gtest/gtest.h>

#include "platform/failure.h"
#include "state/messages.h"

namespace wcomp837::testing {
namespace {

struct Tables {
  Tables() {
    InitializeClaimTables(c);
    g.g_LastTop.Practice[Practice::sPracticeCode] = "ab";
    g.g_LastTop.Insurance[Insurance::sInsuranceCode] = "wc1";
  }
  // Makes the last group a plain charge and adds it as the next line.
  std::int16_t AddLine(const std::string& amount, std::initializer_list<std::string> diags = {}) {
    ChargeRec& ch = g.g_LastGroup().Charge;
    ch = ChargeRec{};
    ch[0] = "6000";
    ch[Charge::sProcedureCode] = "99213";
    ch[Charge::sChargeAmount] = amount;
    ch[Charge::sBillingInsIndex] = "1";
    ch[Charge::sIndicatorKeys] = "~~";
    const std::size_t fields[] = {Charge::sDiagnosis1, Charge::sDiagnosis2, Charge::sDiagnosis3,
                                  Charge::sDiagnosis4, Charge::sDiagnosis5};
    std::size_t k = 0;
    for (const std::string& d : diags) ch[fields[k++]] = d;
    return DealWithLastGroup(c);
  }
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
};

TEST(DetailTable, GrowsByFiveKeepingLinesAndStartsEmptyAfterReset) {
  Tables t;
  for (int i = 1; i <= 20; ++i) ASSERT_EQ(t.AddLine(std::to_string(i)), 0);
  EXPECT_EQ(t.g.claim.iDetailCapacity, 20);
  EXPECT_EQ(GetNextDetailIndex(t.c), 21);
  ASSERT_EQ(t.AddLine("21"), 0);
  EXPECT_EQ(t.g.claim.iDetailCapacity, 25);
  EXPECT_EQ(t.g.claim.DETAILArray.size(), 26u);
  for (int i = 1; i <= 21; ++i) {
    EXPECT_EQ(t.g.claim.DETAILArray[i].curCharge, Currency::FromUnits(i));
  }
  EXPECT_EQ(t.g.claim.mClaim.curTotalCharges, Currency::FromUnits(21 * 22 / 2));

  ResetClaimTables(t.c);
  ClearClaimRecord(t.c);
  EXPECT_EQ(t.g.claim.iDetailCapacity, 25);
  EXPECT_EQ(t.g.claim.DETAILArray.size(), 26u);
  EXPECT_EQ(GetNextDetailIndex(t.c), 1);
  for (const DetailLine& line : t.g.claim.DETAILArray) {
    EXPECT_TRUE(line.sUsed.empty());
    EXPECT_TRUE(line.sProcedureCode.empty());
    EXPECT_TRUE(line.curCharge.IsZero());
  }
  EXPECT_TRUE(t.g.claim.mClaim.curTotalCharges.IsZero());
}

TEST(DetailTable, LineWithoutCompanionRecords) {
  Tables t;
  ChargeGroup& g = t.g.g_LastGroup();
  // Stale companion values that were never received must not reach the line.
  g.Facility[Facility::sNPI] = "1234567893";
  g.Ambulance[Ambulance::sDistance] = "12";
  g.SecondSet(1) = {"6020", "~10001VAL"};
  ASSERT_EQ(t.AddLine("75.25", {"7231"}), 0);
  const DetailLine& line = t.g.claim.DETAILArray[1];
  EXPECT_EQ(line.sUsed, "Y");
  EXPECT_EQ(line.Group->Charge[Charge::sProcedureCode], "99213");
  EXPECT_EQ(line.curCharge, Currency::FromText("75.25"));
  EXPECT_EQ(line.sExtKeys, "~~~~");
  EXPECT_EQ(line.sEmergency, "N");
  EXPECT_EQ(line.sEPSDT, "N");
  EXPECT_EQ(line.sFamilyPlanning, "N");
  EXPECT_EQ(line.Facility(), FacilityRec{});
  EXPECT_EQ(line.Ambulance(), AmbulanceRec{});
  EXPECT_EQ(line.Group->ExtData[0][ExtData::sExtData], "~10001VAL");
  EXPECT_EQ(line.iDiagPointer[0], 1);
  EXPECT_EQ(line.iDiagPointer[1], 0);
  EXPECT_EQ(line.sLineControlNr, "0001000000ABWC1  ");
  EXPECT_TRUE(line.oInsInfo.GetInsInfo(1).bBillingInsurance);
}

TEST(DetailTable, FlagsAndClaimKeysFromIndicatorKeys) {
  Tables t;
  t.g.g_LastGroup().Charge[Charge::sIndicatorKeys] = "";
  ChargeRec& ch = t.g.g_LastGroup().Charge;
  auto add = [&](const std::string& keys) {
    ch[0] = "6000";
    ch[Charge::sBillingInsIndex] = "1";
    ch[Charge::sIndicatorKeys] = keys;
    EXPECT_EQ(DealWithLastGroup(t.c), 0);
  };
  add("~EM~FP~");
  add("");
  add("~EPSDTX~");
  const auto& lines = t.g.claim.DETAILArray;
  EXPECT_EQ(lines[1].sEmergency, "Y");
  EXPECT_EQ(lines[1].sFamilyPlanning, "Y");
  EXPECT_EQ(lines[2].sExtKeys, "~~");
  EXPECT_EQ(lines[3].sEPSDT, "Y");
  // Lines with empty keys add nothing to the claim's keys.
  EXPECT_EQ(t.g.claim.mClaim.sClaimExtKeys, "~~EM~FP~~~~EPSDTX~~");
}

TEST(DetailTable, BadChargeValuesFailAtTheGuard) {
  Tables t;
  EXPECT_EQ(t.AddLine("1e400"), 0);  // no number beyond "1": 1
  EXPECT_EQ(t.g.claim.DETAILArray[1].curCharge, Currency::FromUnits(1));
  EXPECT_EQ(t.AddLine("99999999999999999999"), 3);
  EXPECT_EQ(HighestMessageType(t.g.host), 3);
  EXPECT_NE(GetAMessageText(t.g.host, 1).find(" FillDetailArrayElement() "), std::string::npos);

  // A claim total that would leave the currency range fails; the total
  // keeps the lines that fit.
  Tables sum;
  ASSERT_EQ(sum.AddLine("500000000000000.00"), 0);
  EXPECT_EQ(sum.AddLine("500000000000000.00"), 3);
  EXPECT_NE(GetAMessageText(sum.g.host, 1).find(" DealWithLastGroup() Error:  6 Overflow"),
            std::string::npos);
  EXPECT_EQ(sum.g.claim.mClaim.curTotalCharges, Currency::FromText("500000000000000"));

  // A line key too large for 32 bits fails in the line's control number.
  Tables u;
  ChargeRec& ch = u.g.g_LastGroup().Charge;
  ch[0] = "6000";
  ch[Charge::sBillingInsIndex] = "1";
  ch[Charge::sLineKeyPart1] = "9999999999";
  EXPECT_EQ(DealWithLastGroup(u.c), 3);
  EXPECT_NE(GetAMessageText(u.g.host, 1).find(" DealWithLastGroup() Error:  6 Overflow"),
            std::string::npos);
}

TEST(DiagnosisTable, FillsEightCodesAndReportsOverflow) {
  Tables t;
  ASSERT_EQ(t.AddLine("1", {"A1", "A2", "A3", "A4", "A5"}), 0);  // the fifth takes no entry
  ASSERT_EQ(t.AddLine("1", {"A4", "B1", "B1", "B2"}), 0);        // repeated code stored once
  EXPECT_EQ(t.g.claim.gDiagArray[5].sCode, "B1");
  EXPECT_EQ(t.g.claim.gDiagArray[6].sCode, "B2");
  EXPECT_EQ(t.g.claim.DETAILArray[1].iDiagPointer[4], 0);
  EXPECT_EQ(t.g.claim.DETAILArray[2].iDiagPointer[0], 4);
  EXPECT_EQ(t.g.claim.DETAILArray[2].iDiagPointer[2], 5);

  ChargeRec& fresh = t.g.g_ThisGroup.Charge;
  fresh[Charge::sDiagnosis1] = "C1";
  fresh[Charge::sDiagnosis2] = "C1";  // counted twice although stored once
  std::int16_t count = 0;
  EXPECT_FALSE(DoesDiagnosisCauseOverflow(t.c, count));
  EXPECT_EQ(count, 4);  // 0 means the pointers per charge
  fresh[Charge::sDiagnosis3] = "C2";
  EXPECT_TRUE(DoesDiagnosisCauseOverflow(t.c, count));
  fresh[Charge::sDiagnosis3] = "A1";
  fresh[Charge::sDiagnosis5] = "C9";  // the fifth code is not looked at
  EXPECT_FALSE(DoesDiagnosisCauseOverflow(t.c, count));

  // A fifth code finds its pointer when the code is in the table already.
  ASSERT_EQ(t.AddLine("1", {"", "", "", "", "B2"}), 0);
  EXPECT_EQ(t.g.claim.DETAILArray[3].iDiagPointer[4], 6);

  EXPECT_EQ(GetIndexForDiagnosis(t.c, "a1"), 0);  // exact, case-sensitive
  EXPECT_EQ(GetIndexForDiagnosis(t.c, "A1 "), 0);
  EXPECT_EQ(GetIndexForDiagnosis(t.c, ""), 0);
  std::int16_t legacy = 12;
  EXPECT_EQ(AddToDiagnosisArray(t.c, legacy), 0);
  EXPECT_EQ(legacy, 4);
}

TEST(ExtendedData, SearchOrderAndValueRules) {
  Tables t;
  ChargeGroup& g = t.g.g_LastGroup();
  g.SecondSet(2) = {"6022", "~20010~20011SECOND"};  // empty value: not found here
  g.FirstSet(2) = {"6012", "~20010FIRST~20011FIRST"};
  t.g.g_LastTop.ExtData[1] = {"5012", "~20010TOP~20012TOP"};
  std::string value;
  EXPECT_TRUE(GetExtDataValue(t.c, 2, "20010", value));
  EXPECT_EQ(value, "FIRST");
  EXPECT_TRUE(GetExtDataValue(t.c, 2, "20011", value));
  EXPECT_EQ(value, "SECOND");
  EXPECT_TRUE(GetExtDataValue(t.c, 2, "20012", value));
  EXPECT_EQ(value, "TOP");
  EXPECT_FALSE(GetExtDataValue(t.c, 2, "20099", value));
  EXPECT_FALSE(GetExtDataValue(t.c, 1, "20010", value));
  EXPECT_FALSE(GetExtDataValue(t.c, 0, "20010", value));
  EXPECT_FALSE(GetExtDataValue(t.c, 6, "20010", value));

  EXPECT_TRUE(FindExtDataValue("~12345A B C", "12345", value));
  EXPECT_EQ(value, "A B C");
  EXPECT_FALSE(FindExtDataValue("~12345", "12345", value));
  EXPECT_FALSE(FindExtDataValue("12345X", "12345", value));
}

TEST(LineControlNumber, BaseDigitsAndWindows) {
  std::string s;
  EXPECT_TRUE(NumberToBase(s, 0, 36, 4));
  EXPECT_EQ(s, "0000");
  EXPECT_TRUE(NumberToBase(s, 35, 36, 1));
  EXPECT_EQ(s, "Z");
  EXPECT_TRUE(NumberToBase(s, 36, 36, 1));  // never cut
  EXPECT_EQ(s, "10");
  EXPECT_TRUE(NumberToBase(s, 5, 2, 0));  // width clamped to 1
  EXPECT_EQ(s, "101");
  EXPECT_TRUE(NumberToBase(s, 255, 16, 60));
  EXPECT_EQ(s, std::string(48, '0') + "FF");
  EXPECT_FALSE(NumberToBase(s, 255, 37, 3));
  EXPECT_EQ(s, "000");
  EXPECT_FALSE(NumberToBase(s, 255, 1, 2));
  EXPECT_EQ(s, "00");
  EXPECT_THROW(NumberToBase(s, -5, 36, 2), Failure);

  LineKeySource key{"ab", 1679616, 46655, 10, "ins0123"};
  MakeLineControlNumber(key, s);
  // 36^4 takes five digits: the four most significant stay.
  EXPECT_EQ(s, "100000ZZZAABINS01");
  EXPECT_EQ(s.size(), 17u);
  key = LineKeySource{"", 1, 0, 0, ""};
  MakeLineControlNumber(key, s);
  EXPECT_EQ(s, "00010000000000000");
}

}  // namespace
}  // namespace wcomp837::testing
