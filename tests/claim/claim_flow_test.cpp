// Record sequences driven through the component's own dispatch (parsers, end
// of charge, breaks, copies, service lines), judged by the claims written,
// the lines of the open claim and the level-2 run log; and the copies from
// the this generation to the last.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "claim/generations.h"
#include "claim/tables.h"
#include "host/component.h"
#include "reports/nac_file.h"
#include "state/runlog.h"
#include "support/test_support.h"
#include "x12/segments.h"

namespace wcomp837::testing {
namespace {

using FieldValues = std::vector<std::pair<std::size_t, std::string>>;
using Companions = std::vector<std::pair<std::string, std::string>>;

// A record of `count` fields: field 0 the tag, the named fields set, the
// others `filler`. The last field is never empty (a trailing "//" drops it).
std::string MakeRecord(const std::string& tag, std::size_t count, const FieldValues& values,
                       const std::string& filler = "") {
  std::vector<std::string> fields(count, filler);
  fields[0] = tag;
  if (fields[count - 1].empty()) fields[count - 1] = "0";
  for (const auto& [index, value] : values) fields.at(index) = value;
  std::string text = fields[0];
  for (std::size_t i = 1; i < count; ++i) text += "//" + fields[i];
  return text;
}

// Times `line` stands as a whole line of the run log.
int Count(const std::string& log, const std::string& line) {
  const std::string quoted = "\"" + line + "\"\r\n";
  int n = 0;
  for (auto at = log.find(quoted); at != std::string::npos; at = log.find(quoted, at + 1)) ++n;
  return n;
}

// A batch with the claim file, _NAC.Dat file and run log in a temporary folder.
class ClaimBatch {
 public:
  ClaimBatch() {
    g.host.gsOutputPath = dir.path();
    g.host.gsASCIIFile = dir.File("claims.837");
    g.host.giLogLevel = 2;
    OpenLog(g.host);
    InitializeClaimTables(c);
    o.miSubmissionNumber = 12;
    EXPECT_EQ(OpenASCIIout(c), 0);
    EXPECT_EQ(OpenNACFileOut(c), 0);
  }
  ~ClaimBatch() {
    CloseASCIIout(c);
    CloseNACFile(c);
    CloseLog(g.host);
  }
  void Feed(const std::string& type, const std::string& rec) {
    EXPECT_EQ(type == "6990" ? EndOfChargeGroup(c) : DispatchRecord(c, type, rec), 0) << type;
  }
  void Insurance(const std::string& provider1 = "PRV1") {
    Feed("3000",
         MakeRecord("3000", 33,
                    {{1, "INS01"}, {2, "PAY01"}, {3, "PAYER"}, {17, provider1}, {19, "WC"}}));
  }
  void CalcPref(const std::string& option, const std::string& sprovider = "") {
    Feed("3100", MakeRecord("3100", 12, {{6, option}, {7, sprovider}}));
  }
  void Patient() { Feed("4000", MakeRecord("4000", 50, {{1, "ACC1"}, {3, "JOHN"}, {4, "SMITH"}})); }
  // Practice, submitter, billing provider, insurance, preferences (break
  // switches given by field number), patient and subscriber.
  void TopRecords(const std::vector<std::size_t>& breakOn = {}) {
    Feed("1000", MakeRecord("1000", 21, {{1, "P1"}, {2, "CLINIC"}, {13, "123456789"}}));
    Feed("1050", MakeRecord("1050", 30, {{1, "SUB1"}, {3, "SENDER"}}));
    Feed("2000", MakeRecord("2000", 33, {{1, "BP1"}, {3, "DOE"}}));
    Insurance();
    CalcPref("0");
    FieldValues on;
    for (std::size_t f : breakOn) on.emplace_back(f, "1");
    Feed("3101", MakeRecord("3101", 25, on, "0"));
    Patient();
    Feed("5000", MakeRecord("5000", 65, {{4, "POL1"}, {15, "SLF"}, {18, "JOHN"}, {19, "SMITH"}}));
  }
  // One charge group closed by 6990: `extra` overrides charge fields and the
  // companion records follow the charge.
  void Charge(const std::string& procedure, const FieldValues& extra = {},
              const Companions& companions = {}) {
    FieldValues values = {{1, "100"},       {3, "1"},  {6, procedure}, {25, "11"},
                          {28, "7231"},     {42, "1"}, {43, "100.00"}, {53, "01152023"},
                          {55, "01152023"}, {70, "1"}};
    values.insert(values.end(), extra.begin(), extra.end());
    Feed("6000", MakeRecord("6000", 88, values));
    for (const auto& [type, rec] : companions) Feed(type, rec);
    Feed("6990", "6990");
  }
  // Claims written and lines of the claim being built.
  std::string Counts() const {
    const auto& all = g.claim.DETAILArray;
    const auto lines =
        std::count_if(all.begin() + 1, all.end(), [](auto& l) { return l.sUsed == "Y"; });
    return std::to_string(g.host.glTotalClaims) + " claims, " + std::to_string(lines) + " lines";
  }
  std::int64_t Claims() const { return g.host.glTotalClaims; }
  // The run log so far (closes it: call once, at the end of a test).
  std::string Log() {
    CloseLog(g.host);
    return ReadFile(LogFileName(g.host));
  }

  TempDir dir;
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
};

std::string Because(const std::string& why) {
  return "CheckChargeBreak = " + why;
}

// A patient record sent again breaks even when unchanged; the charge is still
// checked, and the claim written is logged line by line.
TEST(ClaimBreaks, SamePatientSentAgainBreaksEvenWhenUnchanged) {
  ClaimBatch b;
  b.TopRecords();
  b.Charge("99213");
  b.Charge("99214", {{43, "250.5"}});
  EXPECT_EQ(b.Counts(), "0 claims, 2 lines");
  b.Patient();
  b.Charge("99215");
  EXPECT_EQ(b.Counts(), "1 claims, 1 lines");
  EXPECT_EQ(b.g.claim.DETAILArray[1].sProcedureCode, "99215");
  const std::string log = b.Log();
  for (const char* line :
       {"** CheckBreak saw that Patient changed",
        " -- Checking Charge even though there's a top level break...",
        "CheckBreak() Thinks there is a charge break", ">> Writing Claim for: SMITH, JOHN",
        ">> Procedure: 99213 000100.00", ">> Procedure: 99214 000250.50",
        "gDiagArray and DETAILArray are now Empty"}) {
    EXPECT_GE(Count(log, line), 1) << line;
  }
  EXPECT_EQ(Count(log, " -- Checking Charge to see if that causes a break..."), 1);
}

// Breaking on each charge is the first test and decides alone, also when a
// top-level break holds as well.
TEST(ClaimBreaks, EachChargePreferenceMakesEveryChargeAClaim) {
  ClaimBatch b;
  b.TopRecords({BreakPref::sBreakOnEachCharge});
  b.Charge("A1", {{50, "01012023"}});
  b.Charge("A2", {{50, "01012023"}});
  b.Patient();
  b.Charge("A3", {{50, "01022023"}});
  EXPECT_EQ(b.Counts(), "2 claims, 1 lines");
  const std::string log = b.Log();
  EXPECT_EQ(Count(log, Because("True because breaking on each charge")), 2);
  EXPECT_EQ(Count(log, Because("True because the Onset Type or Date changed")), 0);
}

TEST(ClaimBreaks, FiftyFirstChargeStartsANewClaim) {
  ClaimBatch b;
  b.TopRecords();
  for (int i = 1; i <= 51; ++i) b.Charge("L" + std::to_string(i));
  EXPECT_EQ(b.Counts(), "1 claims, 1 lines");
  EXPECT_EQ(b.g.claim.iDetailCapacity, 50);  // 20 grown by 5 six times, then kept
  EXPECT_EQ(Count(b.Log(), Because("true because Detail Lines >  50")), 1);
}

TEST(ClaimBreaks, NinthDiagnosisStartsANewClaimWithPointersFromOne) {
  ClaimBatch b;
  b.TopRecords();
  b.Charge("A", {{28, "D1"}, {31, "D2"}, {34, "D3"}, {37, "D4"}});
  b.Charge("B", {{28, "D5"}, {31, "D6"}, {34, "D7"}, {37, "D8"}});
  b.Charge("C", {{28, "D8"}, {31, "D1"}});  // known codes fit
  const auto& lines = b.g.claim.DETAILArray;
  EXPECT_EQ(b.Claims(), 0);
  EXPECT_EQ(lines[3].iDiagPointer[0] * 10 + lines[3].iDiagPointer[1], 81);
  b.Charge("D", {{28, "D3"}, {31, "D9"}});
  EXPECT_EQ(b.Counts(), "1 claims, 1 lines");
  EXPECT_EQ(b.g.claim.gDiagArray[1].sCode + b.g.claim.gDiagArray[2].sCode, "D3D9");
  EXPECT_EQ(lines[1].iDiagPointer[1], 2);
  EXPECT_EQ(Count(b.Log(), Because("true because Diagnosis Causes Overflow")), 1);
}

// Charges differing in the fields a test compares: the claims written after
// each charge, and the reasons logged.
TEST(ClaimBreaks, ComparedChargeFieldsBreakWhereTheirTestSays) {
  const struct {
    std::vector<std::size_t> on, fields;
    std::vector<std::vector<const char*>> charges;  // the fields' values, then the claims
    std::vector<std::pair<const char*, int>> reasons;
  } cases[] = {
      // clang-format off
      // Months only: January again in another year; February; empty; both
      // shorter than two.
      {{BreakPref::sBreakOnMonth}, {53},
       {{"01152023", "0"}, {"01202024", "0"}, {"02012023", "1"}, {"", "2"}, {"1", "2"}},
       {{"True because Month changed **", 1}, {"True because Month changed *", 1}}},
      // A changed onset type or date breaks without a switch.
      {{}, {48, 50},
       {{"431", "01012023", "0"}, {"431", "01012023", "0"}, {"431", "01022023", "1"},
        {"484", "01022023", "2"}},
       {{"True because the Onset Type or Date changed", 2}}},
      // The last charge's billing position (70) chooses the approval number
      // compared: billed to 1 the secondary is ignored, billed to 2 the primary.
      {{BreakPref::sBreakOnApprovalNr}, {61, 62, 70},
       {{"A1", "S1", "1", "0"}, {"A1", "S2", "1", "0"}, {"A2", "S2", "1", "1"},
        {"A2", "S2", "2", "1"}, {"A9", "S2", "2", "1"}, {"A9", "S3", "2", "2"}},
       {{"True because Primary Approval # changed", 1},
        {"True because Secondary Approval # changed", 1}}},
      // clang-format on
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.reasons[0].first);
    ClaimBatch b;
    b.TopRecords(k.on);
    for (const auto& values : k.charges) {
      FieldValues charge;
      for (std::size_t i = 0; i < k.fields.size(); ++i) charge.emplace_back(k.fields[i], values[i]);
      b.Charge("P", charge);
      EXPECT_EQ(std::to_string(b.Claims()), values.back()) << ::testing::PrintToString(values);
    }
    const std::string log = b.Log();
    for (const auto& [reason, n] : k.reasons) EXPECT_EQ(Count(log, Because(reason)), n) << reason;
  }
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
      b.TopRecords(on ? std::vector<std::size_t>{k.sw} : std::vector<std::size_t>{});
      b.Charge("P", {{k.field, "X1"}});
      b.Charge("P", {{k.field, "X2"}});
      EXPECT_EQ(b.Claims(), on ? 1 : 0);
      EXPECT_EQ(Count(b.Log(), Because(k.text)), on ? 1 : 0);
    }
  }
}

// A changed referral, facility or other insurance record breaks the claim;
// the servicing provider breaks under calculation preference "2", read from
// the last generation (a new preference record counts once copied).
TEST(ClaimBreaks, CompanionRecordsBreakWhenChanged) {
  struct Case {
    std::vector<std::size_t> on;
    const char* type;
    std::size_t fields;
    const char* text;
    const char* preference;
  };
  const Case cases[] = {
      {{BreakPref::sBreakOnReferral}, "6120", 38, "True because Referral Changed", nullptr},
      {{BreakPref::sBreakOnFacility}, "6200", 18, "True because Facility Changed", nullptr},
      {{}, "6310", 70, "True because One of the 4 insurances changed", nullptr},
      {{}, "6100", 32, nullptr, "2"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.type);
    const auto with = [&k](const char* code) {
      return Companions{{k.type, MakeRecord(k.type, k.fields, {{1, code}})}};
    };
    ClaimBatch b;
    b.TopRecords(k.on);
    b.Charge("P", {}, with("C1"));
    if (k.preference) b.CalcPref("0", k.preference);
    b.Charge("P", {}, with(k.text ? "C1" : "C2"));
    EXPECT_EQ(b.Claims(), 0);
    b.Charge("P", {}, with("C3"));
    EXPECT_EQ(b.Claims(), 1);
    EXPECT_EQ(Count(b.Log(), Because(k.text ? k.text : "")), k.text ? 1 : 0);
  }
}

// A new payer-assigned number in field 17 breaks and reopens the billing
// provider; the same number under the same billing option only breaks.
TEST(ClaimBreaks, NewPayerAssignedNumberReopensTheBillingProvider) {
  const std::array<const char*, 3> cases[] = {
      {nullptr, "PRV1", ""}, {nullptr, "PRV2", "Y"}, {"3", "PRV1", "Y"}};
  for (const auto& [option, provider, reopened] : cases) {
    SCOPED_TRACE(provider + std::string(option ? option : ""));
    ClaimBatch b;
    b.TopRecords();
    b.Charge("A");
    if (option) b.CalcPref(option);
    b.Insurance(provider);
    b.Charge("B");
    EXPECT_EQ(b.Claims(), 1);
    EXPECT_FALSE(b.o.mbNeedNewProviderAfterThisClaim);  // consumed by the clean-up
    EXPECT_EQ(b.g.claim.NeedNewProvider, *reopened == 'Y');
    EXPECT_TRUE(b.g.claim.NeedNewInsurance);
    const std::string log = b.Log();
    EXPECT_EQ(Count(log,
                    "Clean_Up: setting gbneednewprovider (submitter) to true because "
                    "mbNeedNewProviderAfterThisClaim is true"),
              *reopened == 'Y' ? 1 : 0);
    EXPECT_EQ(Count(log, "Clean_Up: mbNeedNewProviderAfterThisClaim set to False"),
              *reopened == 'Y' ? 1 : 0);
  }
}

TEST(Generations, ClaimTablesStayTheSizeOfOneClaim) {
  ClaimBatch b;
  b.TopRecords();
  for (int claim = 0; claim < 60; ++claim) {
    b.Patient();
    for (int line = 0; line < 3; ++line) b.Charge("X");
  }
  EXPECT_EQ(b.Counts(), "59 claims, 3 lines");
  EXPECT_EQ(b.o.env.miClaimCount, 59);
  EXPECT_EQ(b.g.claim.DETAILArray.size() * 100 + b.g.claim.gDiagArray.size(), 2109u);
  EXPECT_EQ(b.o.dfLineCounter, 180.0);
  EXPECT_EQ(WriteClaim(b.c), 0);  // the batch's last claim
  EXPECT_EQ(b.Counts(), "60 claims, 0 lines");
}

// An insurance record arriving alone carries the alternate NPI its parser put
// in the this practice; without one the NPI is not carried over.
TEST(Generations, TopCopyRaisesFlagsAndCarriesThePracticeNPI) {
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
  g.g_LastTop.Practice = {"1000", "P1"};
  g.g_ThisTop.Practice[Practice::sNPI] = "2222222222";
  g.g_ThisTop.Insurance[0] = "3000";
  CopyThisTopToLast(c);
  EXPECT_TRUE(g.claim.NeedNewInsurance);
  EXPECT_FALSE(g.claim.NeedNewPractice || g.claim.NeedNewPatient ||
               Received(g.g_ThisTop.Insurance));
  EXPECT_EQ(g.g_LastTop.Practice[Practice::sNPI] + g.g_LastTop.Practice[1], "2222222222P1");
  g.g_ThisTop.Practice[Practice::sNPI] = "3333333333";
  g.g_ThisTop.Patient[0] = "4000";
  CopyThisTopToLast(c);
  EXPECT_EQ(g.g_LastTop.Practice[Practice::sNPI], "2222222222");
  EXPECT_TRUE(g.claim.NeedNewPatient);
}

}  // namespace
}  // namespace wcomp837::testing
