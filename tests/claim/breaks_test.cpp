// Where claims are cut: record sequences driven through the component's
// dispatch, judged by the claims written, the lines of the open claim and
// the run log.
#include <gtest/gtest.h>

#include "claim_fixture.h"

namespace wcomp837::testing {
namespace {

bool Has(const std::vector<std::string>& lines, const std::string& text) {
  return CountLines(lines, text) > 0;
}

TEST(ClaimBreaks, SamePatientSentAgainBreaksEvenWhenUnchanged) {
  ClaimBatch b;
  b.TopRecords();
  EXPECT_EQ(b.Charge("99213"), 0);
  EXPECT_EQ(b.Charge("99214", {{43, "250.5"}}), 0);
  EXPECT_EQ(b.ClaimsWritten(), 0);
  EXPECT_EQ(b.OpenLines(), 2);

  b.Patient();  // same content
  EXPECT_EQ(b.Charge("99215"), 0);
  EXPECT_EQ(b.ClaimsWritten(), 1);
  EXPECT_EQ(b.OpenLines(), 1);
  EXPECT_EQ(b.g.claim.DETAILArray[1].sProcedureCode, "99215");

  auto log = LogLines(b.Log());
  EXPECT_TRUE(Has(log, "** CheckBreak saw that Patient changed"));
  EXPECT_TRUE(Has(log, " -- Checking Charge even though there's a top level break..."));
  EXPECT_TRUE(Has(log, "CheckBreak() Thinks there is a charge break"));
  EXPECT_TRUE(Has(log, ">> Writing Claim for: SMITH, JOHN"));
  EXPECT_TRUE(Has(log, ">> Procedure: 99213 000100.00"));
  EXPECT_TRUE(Has(log, ">> Procedure: 99214 000250.50"));
  EXPECT_TRUE(Has(log, "gDiagArray and DETAILArray are now Empty"));
  EXPECT_EQ(CountLines(log, " -- Checking Charge to see if that causes a break..."), 1);
}

TEST(ClaimBreaks, EachChargePreferenceMakesEveryChargeAClaim) {
  ClaimBatch b;
  b.TopRecords({BreakPref::sBreakOnEachCharge});
  for (const char* proc : {"A1", "A2", "A3"}) EXPECT_EQ(b.Charge(proc), 0);
  EXPECT_EQ(b.ClaimsWritten(), 2);
  EXPECT_EQ(b.OpenLines(), 1);
  auto log = LogLines(b.Log());
  EXPECT_EQ(CountLines(log, "CheckChargeBreak = True because breaking on each charge"), 2);
}

TEST(ClaimBreaks, FiftyFirstChargeStartsANewClaim) {
  ClaimBatch b;
  b.TopRecords();
  for (int i = 1; i <= 50; ++i) ASSERT_EQ(b.Charge("L" + std::to_string(i)), 0);
  EXPECT_EQ(b.ClaimsWritten(), 0);
  EXPECT_EQ(b.OpenLines(), 50);
  EXPECT_EQ(b.g.claim.iDetailCapacity, 50);  // 20 grown by 5 six times

  EXPECT_EQ(b.Charge("L51"), 0);
  EXPECT_EQ(b.ClaimsWritten(), 1);
  EXPECT_EQ(b.OpenLines(), 1);
  EXPECT_EQ(b.g.claim.iDetailCapacity, 50);  // the table keeps its size

  auto log = LogLines(b.Log());
  EXPECT_TRUE(Has(log, "CheckChargeBreak = true because Detail Lines >  50"));
  int procedures = 0;
  for (const auto& line : log) procedures += line.rfind(">> Procedure: L", 0) == 0 ? 1 : 0;
  EXPECT_EQ(procedures, 50);
}

TEST(ClaimBreaks, NinthDiagnosisStartsANewClaimWithPointersFromOne) {
  ClaimBatch b;
  b.TopRecords();
  b.Charge("A", {{28, "D1"}, {31, "D2"}, {34, "D3"}, {37, "D4"}});
  b.Charge("B", {{28, "D5"}, {31, "D6"}, {34, "D7"}, {37, "D8"}});
  b.Charge("C", {{28, "D8"}, {31, "D1"}});  // known codes fit
  EXPECT_EQ(b.ClaimsWritten(), 0);
  EXPECT_EQ(b.g.claim.DETAILArray[3].iDiagPointer[0], 8);
  EXPECT_EQ(b.g.claim.DETAILArray[3].iDiagPointer[1], 1);

  b.Charge("D", {{28, "D3"}, {31, "D9"}});
  EXPECT_EQ(b.ClaimsWritten(), 1);
  EXPECT_EQ(b.OpenLines(), 1);
  EXPECT_EQ(b.g.claim.gDiagArray[1].sCode, "D3");
  EXPECT_EQ(b.g.claim.gDiagArray[2].sCode, "D9");
  EXPECT_EQ(b.g.claim.DETAILArray[1].iDiagPointer[1], 2);
  EXPECT_TRUE(Has(LogLines(b.Log()), "CheckChargeBreak = true because Diagnosis Causes Overflow"));
}

TEST(ClaimBreaks, MonthTestComparesMonthsOnly) {
  ClaimBatch b;
  b.TopRecords({BreakPref::sBreakOnMonth});
  b.Charge("A", {{53, "01152023"}});
  b.Charge("B", {{53, "01202024"}});  // January again, another year
  EXPECT_EQ(b.ClaimsWritten(), 0);
  b.Charge("C", {{53, "02012023"}});
  EXPECT_EQ(b.ClaimsWritten(), 1);
  b.Charge("D", {{53, ""}});
  EXPECT_EQ(b.ClaimsWritten(), 2);
  b.Charge("E", {{53, "1"}});  // both shorter than two: no break
  EXPECT_EQ(b.ClaimsWritten(), 2);
  auto log = LogLines(b.Log());
  EXPECT_EQ(CountLines(log, "CheckChargeBreak = True because Month changed **"), 1);
  EXPECT_EQ(CountLines(log, "CheckChargeBreak = True because Month changed *"), 1);
}

TEST(ClaimBreaks, OnsetChangeAlwaysBreaks) {
  ClaimBatch b;
  b.TopRecords();
  b.Charge("A", {{48, "431"}, {50, "01012023"}});
  b.Charge("B", {{48, "431"}, {50, "01012023"}});
  EXPECT_EQ(b.ClaimsWritten(), 0);
  b.Charge("C", {{48, "431"}, {50, "01022023"}});
  EXPECT_EQ(b.ClaimsWritten(), 1);
  b.Charge("D", {{48, "484"}, {50, "01022023"}});
  EXPECT_EQ(b.ClaimsWritten(), 2);
  EXPECT_EQ(CountLines(LogLines(b.Log()),
                       "CheckChargeBreak = True because the Onset Type or Date changed"),
            2);
}

TEST(ClaimBreaks, SwitchedChargeFieldsBreakOnlyWhenTheirSwitchIsOn) {
  namespace B = BreakPref;
  namespace C = Charge;
  struct Case {
    std::size_t sw;
    std::size_t field;
    const char* text;
  };
  const Case cases[] = {
      {B::sBreakOnCaseId, C::sCaseId, "True because Case ID changed"},
      {B::sBreakOnInsuranceAction, C::sInsuranceAction, "True because Insurance Action Changed"},
      {B::sBreakOnTOS, C::sTOSBillingCode, "True because TOS BillingCode changed"},
      {B::sBreakOnPOS, C::sPOSCode, "True because POS Code changed"},
      {B::sBreakOnEncounter, C::sEncounter, "True because Encounter Changed"},
      {B::sBreakOnProcedure, C::sProcedureCode, "True because Procedure CPT4 Code changed"},
      {B::sBreakOnModifier, C::sModifier3, "True because a Modifier Billing Code changed"},
      {B::sBreakOnDiagnosis, C::sDiagnosis2, "True because One of the Diagnosis changed"},
      {B::sBreakOnAdmissionDate, C::sAdmissionDate, "True because Admission Date changed"},
      {B::sBreakOnDischargeDate, C::sDischargeDate, "True because Discharge Date changed"},
      {B::sBreakOnSendOPReport, C::sSendOPReport, "True because SendOPReport changed"},
      {B::sBreakOnAnesthesiaTimeUnit, C::sAnesthesiaTimeUnit,
       "True because AnesthesiaTimeUnit changed"},
      {B::sBreakOnAnesthesiaType, C::sAnesthesiaType, "True because Anethesia Type changed"},
      {B::sBreakOnCapitatedService, C::sCapitatedService, "True because CapitatedService changed"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    for (bool on : {false, true}) {
      ClaimBatch b;
      if (on) {
        b.TopRecords({k.sw});
      } else {
        b.TopRecords();
      }
      b.Charge("P", {{k.field, "X1"}});
      b.Charge("P", {{k.field, "X2"}});
      EXPECT_EQ(b.ClaimsWritten(), on ? 1 : 0);
      EXPECT_EQ(Has(LogLines(b.Log()), std::string("CheckChargeBreak = ") + k.text), on);
    }
  }
}

TEST(ClaimBreaks, CompanionRecordsAndApprovalNumbers) {
  using Companions = std::vector<std::pair<std::string, std::string>>;
  struct Case {
    std::vector<std::size_t> on;
    const char* type;
    std::size_t fields;
    const char* text;
  };
  const Case cases[] = {
      {{BreakPref::sBreakOnReferral}, "6120", 38, "True because Referral Changed"},
      {{BreakPref::sBreakOnFacility}, "6200", 18, "True because Facility Changed"},
      {{}, "6310", 70, "True because One of the 4 insurances changed"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    auto with = [&k](const char* code) {
      return Companions{{k.type, MakeRecord(k.type, k.fields, {{1, code}})}};
    };
    ClaimBatch b;
    b.TopRecords(k.on);
    b.Charge("P", {}, with("C1"));
    b.Charge("P", {}, with("C1"));
    EXPECT_EQ(b.ClaimsWritten(), 0);
    b.Charge("P", {}, with("C2"));
    EXPECT_EQ(b.ClaimsWritten(), 1);
    EXPECT_TRUE(Has(LogLines(b.Log()), std::string("CheckChargeBreak = ") + k.text));
  }
  {
    // The servicing provider breaks under calculation preference "2", read
    // from the last generation: a new preference record counts once copied.
    ClaimBatch b;
    b.TopRecords();
    auto sprovider = [](const char* code) {
      return Companions{{"6100", MakeRecord("6100", 32, {{1, code}})}};
    };
    b.Charge("P", {}, sprovider("S1"));
    b.Feed("3100", MakeRecord("3100", 12, {{6, "0"}, {7, "2"}}));
    b.Charge("P", {}, sprovider("S2"));
    EXPECT_EQ(b.ClaimsWritten(), 0);
    b.Charge("P", {}, sprovider("S3"));
    EXPECT_EQ(b.ClaimsWritten(), 1);
  }
  {
    // The last charge's billing position chooses the approval number compared.
    ClaimBatch b;
    b.TopRecords({BreakPref::sBreakOnApprovalNr});
    b.Charge("P", {{61, "A1"}, {62, "S1"}});
    b.Charge("P", {{61, "A1"}, {62, "S2"}});  // billed to 1: secondary ignored
    EXPECT_EQ(b.ClaimsWritten(), 0);
    b.Charge("P", {{61, "A2"}, {62, "S2"}});
    EXPECT_EQ(b.ClaimsWritten(), 1);
    b.Charge("P", {{61, "A2"}, {62, "S2"}, {70, "2"}});
    b.Charge("P", {{61, "A9"}, {62, "S2"}, {70, "2"}});  // billed to 2: primary ignored
    EXPECT_EQ(b.ClaimsWritten(), 1);
    b.Charge("P", {{61, "A9"}, {62, "S3"}, {70, "2"}});
    EXPECT_EQ(b.ClaimsWritten(), 2);
    auto log = LogLines(b.Log());
    EXPECT_TRUE(Has(log, "CheckChargeBreak = True because Primary Approval # changed"));
    EXPECT_TRUE(Has(log, "CheckChargeBreak = True because Secondary Approval # changed"));
  }
}

TEST(ClaimBreaks, FirstHoldingTestDecidesAndTopBreakStillLogsIt) {
  ClaimBatch b;
  b.TopRecords({BreakPref::sBreakOnEachCharge});
  b.Charge("A", {{50, "01012023"}});
  b.Patient();
  b.Charge("B", {{50, "01022023"}});
  auto log = LogLines(b.Log());
  EXPECT_TRUE(Has(log, "CheckChargeBreak = True because breaking on each charge"));
  EXPECT_FALSE(Has(log, "CheckChargeBreak = True because the Onset Type or Date changed"));
  EXPECT_EQ(b.ClaimsWritten(), 1);
}

TEST(ClaimBreaks, NewPayerAssignedNumberReopensTheBillingProvider) {
  {
    // Same number, same billing option: a break, no new transaction set.
    ClaimBatch b;
    b.TopRecords();
    b.Charge("A");
    b.Insurance("PRV1");
    b.Charge("B");
    EXPECT_EQ(b.ClaimsWritten(), 1);
    EXPECT_FALSE(b.o.mbNeedNewProviderAfterThisClaim);
    EXPECT_FALSE(b.g.claim.NeedNewProvider);
    EXPECT_TRUE(b.g.claim.NeedNewInsurance);
  }
  {
    ClaimBatch b;
    b.TopRecords();
    b.Charge("A");
    b.Insurance("PRV2");
    b.Charge("B");
    EXPECT_EQ(b.ClaimsWritten(), 1);
    EXPECT_FALSE(b.o.mbNeedNewProviderAfterThisClaim);  // consumed by the clean-up
    EXPECT_TRUE(b.g.claim.NeedNewProvider);
    auto log = LogLines(b.Log());
    EXPECT_TRUE(Has(log,
                    "Clean_Up: setting gbneednewprovider (submitter) to true because "
                    "mbNeedNewProviderAfterThisClaim is true"));
    EXPECT_TRUE(Has(log, "Clean_Up: mbNeedNewProviderAfterThisClaim set to False"));
  }
  {
    // Same number under another billing option that still reads field 17.
    ClaimBatch b;
    b.TopRecords();
    b.Charge("A");
    b.CalcPref("3");
    b.Insurance("PRV1");
    b.Charge("B");
    EXPECT_EQ(b.ClaimsWritten(), 1);
    EXPECT_TRUE(b.g.claim.NeedNewProvider);
  }
}

}  // namespace
}  // namespace wcomp837::testing
