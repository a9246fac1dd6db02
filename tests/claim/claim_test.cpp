// The copies from the this generation to the last, and the claim's tables
// filled straight from a last charge group (service lines, diagnoses,
// extended-data lookups, line control numbers, per-insurance amounts and drug
// codes) with their error paths and limits. Where claims break is shown by the
// claim_breaks batch under tests/batches/.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "claim/generations.h"
#include "claim/tables.h"
#include "platform/failure.h"
#include "records/parsers.h"
#include "state/messages.h"
#include "support/test_support.h"
#include "x12/segments.h"

namespace wcomp837::testing {
namespace {

// An insurance record arriving alone carries the alternate NPI its parser put
// in the this practice; without one the NPI is not carried over.
TEST(Generations, TopCopyRaisesFlagsAndCarriesThePracticeNPI) {
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
  g.records.g_LastTop.Practice = {"1000", "P1"};
  g.records.g_ThisTop.Practice[Practice::sNPI] = "2222222222";
  g.records.g_ThisTop.Insurance[0] = "3000";
  CopyThisTopToLast(c);
  EXPECT_TRUE(g.claim.NeedNewInsurance);
  EXPECT_FALSE(g.claim.NeedNewPractice || g.claim.NeedNewPatient ||
               Received(g.records.g_ThisTop.Insurance));
  EXPECT_EQ(g.records.g_LastTop.Practice[Practice::sNPI] + g.records.g_LastTop.Practice[1],
            "2222222222P1");
  g.records.g_ThisTop.Practice[Practice::sNPI] = "3333333333";
  g.records.g_ThisTop.Patient[0] = "4000";
  CopyThisTopToLast(c);
  EXPECT_EQ(g.records.g_LastTop.Practice[Practice::sNPI], "2222222222");
  EXPECT_TRUE(g.claim.NeedNewPatient);
}

struct Tables {
  Tables() {
    InitializeClaimTables(c);
    g.records.g_LastTop.Practice[Practice::sPracticeCode] = "ab";
    g.records.g_LastTop.Insurance[Insurance::sInsuranceCode] = "wc1";
  }
  // Makes the last group a plain charge and adds it as the next line.
  std::int16_t AddLine(const std::string& amount, std::initializer_list<std::string> diags = {},
                       const std::string& keys = "~~", const std::string& insIndex = "1") {
    ChargeRec& ch = g.g_LastGroup().Charge;
    ch = ChargeRec{};
    ch[0] = "6000";
    ch[Charge::sChargeAmount] = amount;
    ch[Charge::sBillingInsIndex] = insIndex;
    ch[Charge::sIndicatorKeys] = keys;
    const std::size_t fields[] = {Charge::sDiagnosis1, Charge::sDiagnosis2, Charge::sDiagnosis3,
                                  Charge::sDiagnosis4, Charge::sDiagnosis5};
    std::size_t k = 0;
    for (const std::string& d : diags) ch[fields[k++]] = d;
    return DealWithLastGroup(c);
  }
  bool Reported(const std::string& text) {
    return GetAMessageText(g.host, 1).find(text) != std::string::npos;
  }
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
};

// Indicator keys set the line's flags and add to the claim's keys; lines with
// empty keys add nothing.
TEST(DetailTable, FlagsAndClaimKeysFromIndicatorKeys) {
  Tables t;
  for (const char* keys : {"~EM~FP~", "", "~EPSDTX~"}) ASSERT_EQ(t.AddLine("1", {}, keys), 0);
  std::string flags;
  for (int i = 1; i <= 3; ++i) {
    const DetailLine& l = t.g.claim.DETAILArray[i];
    flags += l.sEmergency + l.sFamilyPlanning + l.sEPSDT + l.sExtKeys + "|";
  }
  EXPECT_EQ(flags, "YYN~~EM~FP~~|NNN~~|NNY~~EPSDTX~~|");
  EXPECT_EQ(t.g.claim.mClaim.sClaimExtKeys, "~~EM~FP~~~~EPSDTX~~");
}

// The next claim's first line reuses the slot of the last claim's: once the
// tables are reset nothing of the old line shows, in the slot or in the
// line made from a plain charge.
TEST(DetailTable, ResetSlotKeepsNothingOfTheLastClaim) {
  Tables t;
  ASSERT_EQ(t.AddLine("12.50", {"A1", "B2", "C3"}, "~EM~EPSDT~FP~"), 0);
  DetailLine& old = t.g.claim.DETAILArray[1];
  old.sModifier4 = old.sNarrative = old.sNarrativeNDC[1] = "X";
  old.sngUnits = 3;
  old.oNDCInfo.GetNDCInfo(1).sNDCCode = "12345678901";
  old.oInsInfo.GetInsInfo(2).bUsed = true;
  old.oInsInfo.GetInsInfo(2).sPaymentAdjCodes = "CO|45|1.00|0|";
  ResetClaimTables(t.c);
  const auto shown = [](const DetailLine& l) {
    std::string s = l.sUsed + l.sProcedureCode + l.sModifier4 + l.sNarrative + l.sNarrativeNDC[1] +
                    l.sDiagCode[0] + l.sExtKeys + l.sEmergency + l.sEPSDT + l.sFamilyPlanning +
                    l.oNDCInfo.GetNDCInfo(1).sNDCCode + l.oInsInfo.GetInsInfo(2).sPaymentAdjCodes;
    s += std::to_string(l.iDiagPointer[0]) + std::to_string(l.sngUnits) +
         (l.oInsInfo.GetInsInfo(2).bUsed ? "used" : "") + (l.curCharge.IsZero() ? "" : "charge");
    return s;
  };
  EXPECT_EQ(shown(old), "00.000000");
  ASSERT_EQ(t.AddLine("1"), 0);
  EXPECT_EQ(&t.g.claim.DETAILArray[1], &old);
  EXPECT_EQ(old.sUsed + old.sModifier4 + old.sNarrative + old.sDiagCode[0] + old.sEmergency +
                old.oNDCInfo.GetNDCInfo(1).sNDCCode + old.oInsInfo.GetInsInfo(2).sPaymentAdjCodes,
            "YN");
}

TEST(DetailTable, BadChargeValuesFailAtTheGuard) {
  Tables t;
  EXPECT_EQ(t.AddLine("1e400"), 0);  // no number beyond "1": 1
  EXPECT_EQ(t.g.claim.DETAILArray[1].curCharge, Currency::FromUnits(1));
  EXPECT_EQ(t.AddLine("99999999999999999999"), 3);
  EXPECT_EQ(HighestMessageType(t.g.host), 3);
  EXPECT_TRUE(t.Reported(" FillDetailArrayElement() "));

  // A claim total that would leave the currency range fails; the total
  // keeps the lines that fit.
  Tables sum;
  ASSERT_EQ(sum.AddLine("500000000000000.00"), 0);
  EXPECT_EQ(sum.AddLine("500000000000000.00"), 3);
  EXPECT_TRUE(sum.Reported(" DealWithLastGroup() Error:  6 Overflow"));
  EXPECT_EQ(sum.g.claim.mClaim.curTotalCharges, Currency::FromText("500000000000000"));

  // A line key too large for 32 bits fails in the line's control number.
  Tables u;
  u.g.g_LastGroup().Charge[Charge::sLineKeyPart1] = "9999999999";
  u.g.g_LastGroup().Charge[0] = "6000";
  u.g.g_LastGroup().Charge[Charge::sBillingInsIndex] = "1";
  EXPECT_EQ(DealWithLastGroup(u.c), 3);
  EXPECT_TRUE(u.Reported(" DealWithLastGroup() Error:  6 Overflow"));
}

// A billing position outside 1-4 is an error, and the line is given back:
// never written, nothing added to the totals.
TEST(DetailTable, BillingIndexOutsideOneToFour) {
  for (const char* index : {"0", "5", "abc", "99999"}) {
    SCOPED_TRACE(index);
    Tables t;
    EXPECT_EQ(t.AddLine("100", {}, "~~", index), 3);
    ASSERT_EQ(MessageCount(t.g.host), 1);
    EXPECT_EQ(HighestMessageType(t.g.host), 3);
    EXPECT_EQ(t.g.claim.DETAILArray[1].sUsed, "");
    EXPECT_TRUE(t.g.claim.mClaim.curTotalCharges.IsZero());
    if (index[0] == '5') {
      EXPECT_EQ(GetAMessageText(t.g.host, 1),
                " 3//ERROR: Billing Ins Index was not between 1-4 ( 5)//");
    }
  }
}

TEST(DiagnosisTable, FillsEightCodesAndReportsOverflow) {
  Tables t;
  ASSERT_EQ(t.AddLine("1", {"A1", "A2", "A3", "A4", "A5"}), 0);  // the fifth takes no entry
  ASSERT_EQ(t.AddLine("1", {"A4", "B1", "B1", "B2"}), 0);        // repeated code stored once
  const auto& lines = t.g.claim.DETAILArray;
  EXPECT_EQ(t.g.claim.gDiagArray[5].sCode + t.g.claim.gDiagArray[6].sCode, "B1B2");
  EXPECT_EQ(
      lines[1].iDiagPointer[4] * 100 + lines[2].iDiagPointer[0] * 10 + lines[2].iDiagPointer[2],
      45);

  ChargeRec& fresh = t.g.records.g_ThisGroup.Charge;
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
  EXPECT_EQ(lines[3].iDiagPointer[4], 6);
  for (const char* code : {"a1", "A1 ", ""}) EXPECT_EQ(GetIndexForDiagnosis(t.c, code), 0) << code;
  std::int16_t legacy = 12;
  EXPECT_EQ(AddToDiagnosisArray(t.c, legacy), 0);
  EXPECT_EQ(legacy, 4);
}

// A key is looked up in the first set, the second set, then the claim level;
// an empty value counts as not found there.
TEST(ExtendedData, SearchOrderAndValueRules) {
  Tables t;
  t.g.g_LastGroup().SecondSet(2) = {"6022", "~20010~20011SECOND"};
  t.g.g_LastGroup().FirstSet(2) = {"6012", "~20010FIRST~20011FIRST"};
  t.g.records.g_LastTop.ExtData[1] = {"5012", "~20010TOP~20012TOP"};
  const std::tuple<std::int16_t, const char*, const char*> cases[] = {
      {2, "20010", "FIRST"}, {2, "20011", "SECOND"}, {2, "20012", "TOP"},  {2, "20099", nullptr},
      {1, "20010", nullptr}, {0, "20010", nullptr},  {6, "20010", nullptr}};
  for (const auto& [set, key, expected] : cases) {
    std::string value = "none";
    EXPECT_EQ(GetExtDataValue(t.g.g_LastGroup(), t.g.records.g_LastTop, set, key, value),
              expected != nullptr)
        << set << key;
    EXPECT_EQ(value, expected ? expected : value);
  }
  std::string value;
  EXPECT_TRUE(FindExtDataValue("~12345A B C", "12345", value));
  EXPECT_EQ(value, "A B C");
  EXPECT_FALSE(FindExtDataValue("~12345", "12345", value));
  EXPECT_FALSE(FindExtDataValue("12345X", "12345", value));
}

TEST(LineControlNumber, BaseDigitsAndWindows) {
  // Widths are clamped to 1, numbers never cut; a base outside 2-36 fails
  // with zeros.
  const std::tuple<double, std::int16_t, std::int16_t, bool, std::string> cases[] = {
      {0, 36, 4, true, "0000"},
      {35, 36, 1, true, "Z"},
      {36, 36, 1, true, "10"},
      {5, 2, 0, true, "101"},
      {255, 37, 3, false, "000"},
      {255, 1, 2, false, "00"},
      {255, 16, 60, true, std::string(48, '0') + "FF"},
      {2147483647, 2, 33, true, "00" + std::string(31, '1')},
      // A fraction is rounded digit by digit, the rest divided unrounded.
      {72, 36, 1, true, "20"},
      {71.6, 36, 1, true, "10"},
      {35.6, 36, 1, true, "0"}};
  for (const auto& [number, base, width, ok, text] : cases) {
    std::string s;
    EXPECT_EQ(NumberToBase(s, number, base, width), ok) << number << " " << base;
    EXPECT_EQ(s, text);
  }
  std::string s;
  EXPECT_THROW(NumberToBase(s, -5, 36, 2), Failure);
  EXPECT_THROW(NumberToBase(s, 2147483648.0, 2, 1), Failure);
  LineKeySource key{"ab", 1679616, 46655, 10, "ins0123"};
  MakeLineControlNumber(key, s);
  EXPECT_EQ(s, "100000ZZZAABINS01");  // 36^4 takes five digits: the four most significant stay
  key = LineKeySource{"", 1, 0, 0, ""};
  MakeLineControlNumber(key, s);
  EXPECT_EQ(s, "00010000000000000");
}

// Adjustments merge by group and reason, then sort by group keeping the
// order of equal groups; incomplete or group-less ones are dropped.
TEST(PaymentAdjustments, MergesByGroupAndReasonThenSortsByGroup) {
  const std::array<const char*, 3> cases[] = {
      {"CO|45|10|1", "PR|2|3|0|CO|45|5|0", "CO|45|15|1|PR|2|3|0"},
      {"", "PR|1|2.5|1.5|CO|97|0.125|0|OA|23|100|2|CO|45|1|1",
       "CO|97|0.125|0|CO|45|1|1|OA|23|100|2|PR|1|2.5|1.5"},
      {"PR|1|2|0", "", "PR|1|2|0"},
      {"", "CO|45|10|1|PR|2", "CO|45|10|1"},
      {"", "|45|10|1", ""}};
  for (const auto& [existing, added, merged] : cases) {
    std::string text = existing;
    InsInfoArray::AddThePaymentAdjCodes(text, added);
    EXPECT_EQ(text, merged) << added;
  }
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
}

// A line's amounts added into the claim's: used positions only, amounts
// summed, the later payment date, adjustments merged; the patient's own
// amounts summed too.
TEST(InsInfoArray, AddToMeSumsUsedPositions) {
  InsInfoArray claim;
  claim.GetInsInfo(1).sLastPaymentDate = "20230105";
  claim.GetInsInfo(1).sPaymentAdjCodes = "CO|45|10|1";
  InsInfoArray line;
  InsInfo& one = line.GetInsInfo(1);
  one.bUsed = true;
  one.curAmtPayerPaid = Currency::FromText("40");
  one.curAmtAllowed = Currency::FromText("60.5");
  one.sLastPaymentDate = "20230110";
  one.sPaymentAdjCodes = "CO|45|5|0";
  line.GetInsInfo(3).curAmtPayerPaid = Currency::FromText("99");  // not used: ignored
  line.curAmtPatientPaid = Currency::FromText("7");
  line.curAmtPatWriteOff = Currency::FromText("2");
  claim.AddToMe(line);
  claim.AddToMe(line);
  const InsInfo& sum = claim.GetInsInfo(1);
  EXPECT_TRUE(sum.bUsed);
  EXPECT_EQ(sum.curAmtPayerPaid, Currency::FromText("80"));
  EXPECT_EQ(sum.curAmtAllowed, Currency::FromText("121"));
  EXPECT_EQ(sum.sLastPaymentDate + " " + sum.sPaymentAdjCodes, "20230110 CO|45|20|1");
  EXPECT_FALSE(claim.GetInsInfo(3).bUsed);
  EXPECT_TRUE(claim.GetInsInfo(3).curAmtPayerPaid.IsZero());
  EXPECT_EQ(claim.curAmtPatientPaid, Currency::FromText("14"));
  EXPECT_EQ(claim.curAmtPatWriteOff, Currency::FromText("4"));
}

// Drug-code text: up to three items of code-price-quantity-unit-prescription;
// an item of only a code leaves the rest unchanged.
TEST(DrugCodes, FillFromTextAndNarrative) {
  NDCInfoArray arr;
  arr.GetNDCInfo(2).sUnitPrice = "KEEP";
  arr.Fill_Me("11111-1.5-2-UN-RX1;22222;;44444-9");
  const auto item = [&arr](std::int16_t i) {
    const NDCInfo& n = arr.GetNDCInfo(i);
    return n.sNDCCode + "," + n.sUnitPrice + "," + n.sQuantity + "," + n.sMeasurement + "," +
           n.sPrescriptionNr;
  };
  EXPECT_EQ(item(1) + "|" + item(2) + "|" + item(3), "11111,1.5,2,UN,RX1|22222,KEEP,,,|,,,,");
  EXPECT_THROW(arr.GetNDCInfo(0), Failure);
  EXPECT_THROW(arr.GetNDCInfo(4), Failure);
  arr.Fill_Me("33333-1-2-3-4-5-6");
  EXPECT_EQ(item(1), "33333,1,2,3,4");
  arr.Empty_Me();
  EXPECT_EQ(item(1) + "|" + item(2), ",,,,|,,,,");

  // At most three codes marked "NDC" are taken out of the narrative.
  Tables t;
  const std::array<const char*, 3> narratives[] = {
      {"NDC 12345678901 WORD", "12345678901||", "WORD"},
      {"A NDC 1 B NDC 2 NDC 3 C NDC 4", "1|2|3", "A B C NDC 4"},
      {"TEXT NDC 555", "555||", "TEXT "}};
  for (const auto& [narrative, codes, rest] : narratives) {
    DetailLine line;
    line.sNarrative = narrative;
    ExtractNDCFromNarrative(t.c, line);
    EXPECT_EQ(line.sNarrativeNDC[1] + "|" + line.sNarrativeNDC[2] + "|" + line.sNarrativeNDC[3],
              codes);
    EXPECT_EQ(line.sNarrative, rest);
  }
}

}  // namespace
}  // namespace wcomp837::testing
