// Envelopes read back from the claim file: the interchange header layout,
// wide counts and control numbers, the billing provider level and failures.
// The structure of whole batches is checked in tests/e2e/envelopes_test.cpp.
#include "x12/envelopes.h"

#include <algorithm>

#include "state/messages.h"
#include "x12/control_numbers.h"
#include "x12_fixture.h"

namespace wcomp837::testing {
namespace {

class Envelopes : public ClaimFileTest {
 protected:
  void SetUp() override {
    ClaimFileTest::SetUp();
    o.miSubmissionNumber = 123;
    PracticeRec& p = g.records.g_LastTop.Practice;
    p[Practice::sName] = "VALLEY CLINIC";
    p[Practice::sAddress1] = "1 MAIN ST";
    p[Practice::sCity] = "AUSTIN";
    p[Practice::sState] = "TX";
    p[Practice::sTaxId] = "741234567";
    p[Practice::sNPI] = "1234567893";
    p[Practice::sAreaCode] = " 512 ";
    p[Practice::sPhone] = "5550100 ";
    g.records.g_LastTop.Insurance[Insurance::sInsuranceCategoryCd] = "WCI";
  }
  // The segments after the billing provider's HL, as SetUpBATCH writes them.
  Strings BillingLevel() {
    SharedState s;
    s.host.gsASCIIFile = g.host.gsASCIIFile;
    s.records.g_LastTop = g.records.g_LastTop;
    s.ref.LegacyDatePassed = g.ref.LegacyDatePassed;
    ObjectState so;
    Ctx sc{s, so};
    EXPECT_EQ(OpenASCIIout(sc), 0);
    EXPECT_EQ(SetUpBATCH(sc), 0);
    CloseASCIIout(sc);
    Strings segs = SplitSegments(ReadFile(s.host.gsASCIIFile));
    EXPECT_EQ(static_cast<std::int64_t>(segs.size()), s.writer.SegmentCount);
    const auto hl = std::find(segs.begin(), segs.end(), "HL*1**20*1");
    return hl == segs.end() ? Strings{} : Strings(hl + 1, segs.end());
  }
};

TEST_F(Envelopes, InterchangeHeaderIsOneHundredFiveColumns) {
  SubmitterRec& sub = g.records.g_LastTop.Submitter;
  sub[Submitter::sSubmitterId] = "ABC";
  sub[Submitter::sSecurityInfo] = "SECRET-PASSWORD";
  sub[Submitter::sReceiverId] = "RECEIVER-ID-LONGER-THAN-15";
  sub[Submitter::sAckRequested] = "Y";
  g.host.gbTestClaims = true;
  ASSERT_EQ(SetUpSUBMITTER(c), 0);
  sub[Submitter::sSecurityInfo].clear();
  sub[Submitter::sAckRequested] = "y";
  g.host.gbTestClaims = false;
  o.miSubmissionNumber = -7;  // no valid control number: its absolute value
  ASSERT_EQ(SetUpSUBMITTER(c), 0);
  EXPECT_EQ(Segments(), (Strings{"ISA*00*          *01*SECRET-PAS*ZZ*ABC            *ZZ*"
                                 "RECEIVER-ID-LON*260307*0905*U*00401*000000123*1*T*:",
                                 "ISA*00*          *00*          *ZZ*ABC            *ZZ*"
                                 "RECEIVER-ID-LON*260307*0905*U*00401*000000007*0*P*:"}));
  EXPECT_EQ(o.env.msInterchangeDate + o.env.msInterchangeTime, "202603070905");
}

TEST_F(Envelopes, WideCountsAndControlNumbers) {
  o.env.miClaimCount = o.env.miBatchCount = 1;
  g.writer.SegmentCount = 100000;
  ASSERT_EQ(WriteBatchTrailer(c), 0);
  EXPECT_EQ(Segments(), Strings{"SE*100001*1230001"});
  o.miSubmissionNumber = 32767;
  o.env.miGroupCount = 40000;
  EXPECT_EQ(GroupControlNumber(c), "327710000");
}

TEST_F(Envelopes, BillingProviderIdentifiers) {
  EXPECT_EQ(BillingLevel(),
            (Strings{"NM1*85*2*VALLEY CLINIC*****XX*1234567893", "N3*1 MAIN ST",
                     "N4*AUSTIN*TX*00000", "REF*EI*741234567", "PER*IC**TE*5125550100"}));
  PracticeRec& p = g.records.g_LastTop.Practice;
  p[Practice::sNPI].clear();
  p[Practice::sPhone] = "   ";  // blanks only: no contact segment
  p[Practice::sAddress2] = "SUITE 4";
  EXPECT_EQ(BillingLevel(), (Strings{"NM1*85*2*VALLEY CLINIC*****24*741234567",
                                     "N3*1 MAIN ST*SUITE 4", "N4*AUSTIN*TX*00000"}));
  p[Practice::sTaxId].clear();
  EXPECT_EQ(BillingLevel()[0], "NM1*85*2*VALLEY CLINIC");

  g.records.g_LastTop.CalcPref[CalcPref::sBillingOption] = "1";
  BProviderRec& b = g.records.g_LastTop.BProvider;
  b[BProvider::sLastName] = "DOE";
  b[BProvider::sFirstName] = "JOHN";
  b[BProvider::sMiddleName] = "QUINCY";
  b[BProvider::sSuffix] = "JR";
  b[BProvider::sZip] = "76701";
  const std::string nm1 = "NM1*85*1*DOE*JOHN*Q**JR";
  const struct {
    const char *npi, *ein, *ssn;
    Strings expected;
  } people[] = {
      {"1999999984",
       "751111111",
       "123456789",
       {nm1 + "*XX*1999999984", "N4***76701", "REF*EI*751111111"}},
      {"1999999984", "", "123456789", {nm1 + "*XX*1999999984", "N4***76701", "REF*SY*123456789"}},
      {"", "751111111", "123456789", {nm1 + "*24*751111111", "N4***76701"}},
      {"", "", "", {nm1, "N4***76701"}}};
  for (const auto& k : people) {
    b[BProvider::sNPI] = k.npi;
    b[BProvider::sTaxId] = k.ein;
    b[BProvider::sSSN] = k.ssn;
    EXPECT_EQ(BillingLevel(), k.expected) << k.npi << "/" << k.ein << "/" << k.ssn;
  }
}

TEST_F(Envelopes, PayerAssignedNumberFollowsCategoryOptionAndLegacyDate) {
  InsuranceRec& ins = g.records.g_LastTop.Insurance;
  ins[Insurance::sPayerProviderId1] = "GRP17";
  ins[Insurance::sPayerProviderId2] = "IND18";
  auto ref = [&](const char* category, const char* option, bool passed) {
    ins[Insurance::sInsuranceCategoryCd] = category;
    g.records.g_LastTop.CalcPref[CalcPref::sBillingOption] = option;
    g.ref.LegacyDatePassed = passed;
    const Strings level = BillingLevel();
    const auto at = std::find_if(level.begin(), level.end(), [](const std::string& s) {
      return s.rfind("REF*", 0) == 0 && s.rfind("REF*EI*", 0) != 0;
    });
    return at == level.end() ? "" : *at;
  };
  EXPECT_EQ(ref("BCS", "0", false), "REF*1B*GRP17");
  EXPECT_EQ(ref("MCR", "4", false), "REF*1C*GRP17");
  EXPECT_EQ(ref("MCR", "2", false), "REF*1C*IND18") << "even, but not 0, 3 or 4";
  EXPECT_EQ(ref("MCR", "04", false), "REF*1C*IND18") << "the option text is compared";
  EXPECT_EQ(ref("MCR", "2", true), "");
  EXPECT_EQ(ref("WCI", "0", false), "");
  ins[Insurance::sPayerProviderId2].clear();
  EXPECT_EQ(ref("PPO", "1", false), "REF*B3*00000");
}

TEST_F(Envelopes, FailuresStopAndKeepTheCounters) {
  o.env.miClaimCount = o.env.miBatchCount = o.env.miGroupCount = 1;
  CloseASCIIout(c);
  EXPECT_EQ(WriteBatchTrailer(c), 3);
  EXPECT_EQ(WriteGroupTrailer(c), 3);
  EXPECT_EQ(WriteFileTrailer(c), 3);
  EXPECT_EQ(o.env.miClaimCount + o.env.miBatchCount + o.env.miGroupCount, 3);
  g.claim.NeedNewProvider = true;
  EXPECT_EQ(CheckForOtherRecs(c), 3);
  EXPECT_TRUE(g.claim.NeedNewProvider);

  ClearMessageArray(g.host);
  g.records.g_LastTop.CalcPref[CalcPref::sBillingOption] = "99999";  // beyond 16 bits
  EXPECT_EQ(SetUpBATCH(c), 3);
  EXPECT_NE(g.host.gMessageArray[1].sMsgText.find(" SetUpBATCH() "), std::string::npos);
}

}  // namespace
}  // namespace wcomp837::testing
