// Record sequences driven through the component's own dispatch (parsers, end
// of charge, breaks, copies, service lines), judged by the claims written,
// the lines of the open claim and the level-2 run log; the copies from the
// this generation to the last; and the claim's tables filled straight from a
// last charge group (service lines, diagnoses, extended-data lookups, line
// control numbers, per-insurance amounts and drug codes) with their error
// paths and limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "claim/generations.h"
#include "claim/tables.h"
#include "host/component.h"
#include "platform/failure.h"
#include "platform/prompt.h"
#include "reports/nac_file.h"
#include "state/messages.h"
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
// checked.
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
  EXPECT_EQ(Count(log, "** CheckBreak saw that Patient changed"), 1);
  EXPECT_EQ(Count(log, " -- Checking Charge even though there's a top level break..."), 1);
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
  const struct {
    std::size_t sw;
    std::size_t field;
    const char* text;
  } cases[] = {
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
  for (const auto& k : cases) {
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
  const struct {
    std::vector<std::size_t> on;
    const char* type;
    std::size_t fields;
    const char* text;
    const char* preference;
  } cases[] = {
      {{BreakPref::sBreakOnReferral}, "6120", 38, "True because Referral Changed", nullptr},
      {{BreakPref::sBreakOnFacility}, "6200", 18, "True because Facility Changed", nullptr},
      {{}, "6310", 70, "True because One of the 4 insurances changed", nullptr},
      {{}, "6100", 32, nullptr, "2"},
  };
  for (const auto& k : cases) {
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

struct Tables {
  Tables() {
    InitializeClaimTables(c);
    g.g_LastTop.Practice[Practice::sPracticeCode] = "ab";
    g.g_LastTop.Insurance[Insurance::sInsuranceCode] = "wc1";
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
  t.g.g_LastTop.ExtData[1] = {"5012", "~20010TOP~20012TOP"};
  const std::tuple<std::int16_t, const char*, const char*> cases[] = {
      {2, "20010", "FIRST"}, {2, "20011", "SECOND"}, {2, "20012", "TOP"},  {2, "20099", nullptr},
      {1, "20010", nullptr}, {0, "20010", nullptr},  {6, "20010", nullptr}};
  for (const auto& [set, key, expected] : cases) {
    std::string value = "none";
    EXPECT_EQ(GetExtDataValue(t.c, set, key, value), expected != nullptr) << set << key;
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
      {255, 16, 60, true, std::string(48, '0') + "FF"}};
  for (const auto& [number, base, width, ok, text] : cases) {
    std::string s;
    EXPECT_EQ(NumberToBase(s, number, base, width), ok) << number << " " << base;
    EXPECT_EQ(s, text);
  }
  std::string s;
  EXPECT_THROW(NumberToBase(s, -5, 36, 2), Failure);
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

  struct Recorder : UserPrompt {
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    void Notify(const std::string&, const std::string& text) override { notices.push_back(text); }
    std::vector<std::string> notices;
  };
  auto recorder = std::make_shared<Recorder>();
  SetUserPrompt(recorder);
  EXPECT_THROW(arr.IsPreviousInsuranceMedicare(7), Failure);
  SetUserPrompt(nullptr);
  EXPECT_EQ(recorder->notices,
            std::vector<std::string>{"IsPreviousInsuranceMedicare index ( 7) is out of bounds"});
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
