// Envelopes read back from the claim file: the interchange header layout,
// the levels the NeedNew flags open and close, counts, control numbers and
// the billing provider level.
#include "x12/envelopes.h"

#include <algorithm>

#include "envelopes_fixture.h"
#include "state/messages.h"
#include "x12/control_numbers.h"

namespace wcomp837::testing {
namespace {

class Envelopes : public ClaimFileTest {
 protected:
  void SetUp() override {
    ClaimFileTest::SetUp();
    o.miSubmissionNumber = 123;
    TopRecords& t = g.g_LastTop;
    t.Submitter[Submitter::sSubmitterId] = "SUB01";
    t.Submitter[Submitter::sName] = "  A SUBMITTER NAME THAT IS LONGER  X";
    t.Submitter[Submitter::sContactName] = "JANE";
    t.Submitter[Submitter::sReceiverId] = "RCV99";
    t.Practice[Practice::sName] = "VALLEY CLINIC";
    t.Practice[Practice::sAddress1] = "1 MAIN ST";
    t.Practice[Practice::sCity] = "AUSTIN";
    t.Practice[Practice::sState] = "TX";
    t.Practice[Practice::sTaxId] = "741234567";
    t.Practice[Practice::sNPI] = "1234567893";
    t.Practice[Practice::sAreaCode] = " 512 ";
    t.Practice[Practice::sPhone] = "5550100 ";
    t.Insurance[Insurance::sInsuranceCategoryCd] = "WCI";
  }
  // One claim as WriteClaim drives the envelopes.
  void Claim() {
    ASSERT_EQ(CheckForOtherRecs(c), 0);
    ++o.env.miClaimCount;
    ASSERT_EQ(WriteCountedSegment(c, "HL*" + std::to_string(++o.env.miHLCount) + "*1*22*0"), 0);
    ++o.env.miLinesWritten;
    ASSERT_EQ(WriteClaimTrailer(c), 0);
  }
  void EndOfInput() {
    ASSERT_EQ(WriteBatchTrailer(c), 0);
    ASSERT_EQ(WriteGroupTrailer(c), 0);
    ASSERT_EQ(WriteFileTrailer(c), 0);
  }
  // The segments after the billing provider's HL, as SetUpBATCH writes them.
  std::string BillingLevel() {
    SharedState s;
    s.host.gsASCIIFile = g.host.gsASCIIFile;
    s.g_LastTop = g.g_LastTop;
    s.ref.LegacyDatePassed = g.ref.LegacyDatePassed;
    ObjectState so;
    Ctx sc{s, so};
    EXPECT_EQ(OpenASCIIout(sc), 0);
    EXPECT_EQ(SetUpBATCH(sc), 0);
    CloseASCIIout(sc);
    std::string text = ReadFile(s.host.gsASCIIFile);
    EXPECT_EQ(std::count(text.begin(), text.end(), '~'), s.writer.SegmentCount);
    std::size_t hl = text.find("HL*1**20*1~");
    return hl == std::string::npos ? "" : text.substr(hl + 11);
  }
};

TEST_F(Envelopes, InterchangeHeaderIsOneHundredFiveColumns) {
  SubmitterRec& s = g.g_LastTop.Submitter;
  s[Submitter::sSubmitterId] = "ABC";
  s[Submitter::sSecurityInfo] = "SECRET-PASSWORD";
  s[Submitter::sReceiverId] = "RECEIVER-ID-LONGER-THAN-15";
  s[Submitter::sAckRequested] = "Y";
  g.host.gbTestClaims = true;
  ASSERT_EQ(SetUpSUBMITTER(c), 0);
  s[Submitter::sSecurityInfo].clear();
  s[Submitter::sAckRequested] = "y";
  g.host.gbTestClaims = false;
  o.miSubmissionNumber = -7;  // no valid control number: its absolute value
  ASSERT_EQ(SetUpSUBMITTER(c), 0);
  auto segs = Segments();
  ASSERT_EQ(segs.size(), 2u);
  EXPECT_EQ(segs[0],
            "ISA*00*          *01*SECRET-PAS*ZZ*ABC            *ZZ*RECEIVER-ID-LON*260307*0905*U*"
            "00401*000000123*1*T*:");
  EXPECT_EQ(segs[1],
            "ISA*00*          *00*          *ZZ*ABC            *ZZ*RECEIVER-ID-LON*260307*0905*U*"
            "00401*000000007*0*P*:");
  EXPECT_EQ(o.env.msInterchangeDate + o.env.msInterchangeTime, "202603070905");
}

// Two practices, a billing provider change and a practice without a new
// billing provider record: one interchange, a group per practice, a
// transaction set per billing provider, every count and control number right.
TEST_F(Envelopes, BatchOfPracticesAndProvidersMakesOneValidInterchange) {
  g.claim.NeedNewPractice = g.claim.NeedNewProvider = true;
  Claim();
  Claim();  // same provider: no envelope
  g.claim.NeedNewProvider = true;
  Claim();
  g.claim.NeedNewPractice = g.claim.NeedNewProvider = true;
  Claim();
  g.claim.NeedNewPractice = true;
  Claim();
  EndOfInput();
  auto segs = Segments();

  std::vector<std::string> envelope;
  std::size_t stAt = 0, sets = 0, groups = 0;
  for (std::size_t i = 0; i < segs.size(); ++i) {
    auto e = SplitOn(segs[i], '*');
    if (e[0] == "ST") stAt = i;
    if (e[0] == "SE") {
      EXPECT_EQ(e[1], std::to_string(i - stAt + 1)) << "SE01 of " << e[2];
      ++sets;
    }
    if (e[0] == "GE") {
      EXPECT_EQ(e[1], std::to_string(sets));
      sets = 0;
      ++groups;
    }
    if (e[0] == "IEA") EXPECT_EQ(e[1], std::to_string(groups));
    if (e[0] == "ISA" || e[0] == "IEA") envelope.push_back(e[0] + " " + e[e[0] == "ISA" ? 13 : 2]);
    if (e[0] == "GS") envelope.push_back("GS " + e[6]);
    if (e[0] == "ST" || e[0] == "SE" || e[0] == "GE") envelope.push_back(e[0] + " " + e[2]);
    if (e[0] == "HL" && e[3] == "22") envelope.push_back(segs[i]);
  }
  EXPECT_EQ(envelope,
            (std::vector<std::string>{"ISA 000000123", "GS 1230001",  "ST 1230001", "HL*2*1*22*0",
                                      "HL*3*1*22*0",   "SE 1230001",  "ST 1230002", "HL*2*1*22*0",
                                      "SE 1230002",    "GE 1230001",  "GS 1230002", "ST 1230001",
                                      "HL*2*1*22*0",   "SE 1230001",  "GE 1230002", "GS 1230003",
                                      "ST 1230001",    "HL*2*1*22*0", "SE 1230001", "GE 1230003",
                                      "IEA 000000123"}));
  EXPECT_EQ(segs[1], "GS*HC*SUB01*RCV99*20260307*0905*1230001*X*004010X098A1");
  EXPECT_EQ(std::vector<std::string>(segs.begin() + 2, segs.begin() + 9),
            (std::vector<std::string>{
                "ST*837*1230001", "BHT*0019*00*123*20260307*090504*CH", "REF*87*004010X098A1",
                "NM1*41*2*A SUBMITTER NAME THAT IS LONGER*****46*SUB01",
                "PER*IC*JANE*TE*0000000000", "NM1*40*2*RECEIVER NAME*****46*RCV99", "HL*1**20*1"}));
  EXPECT_EQ(g.host.giclaims_counted, 5);
  EXPECT_EQ(o.env.miGroupCount + o.env.miBatchCount + o.env.miClaimCount, 0);
}

TEST_F(Envelopes, NoClaimNoEnvelopeAndWideCounts) {
  EndOfInput();
  EXPECT_TRUE(Segments().empty());

  ASSERT_EQ(OpenASCIIout(c), 0);
  o.env.miClaimCount = 1;
  o.env.miBatchCount = 1;
  g.writer.SegmentCount = 100000;
  ASSERT_EQ(WriteBatchTrailer(c), 0);
  EXPECT_EQ(Segments(), std::vector<std::string>{"SE*100001*1230001"});
  o.miSubmissionNumber = 32767;
  o.env.miGroupCount = 40000;
  EXPECT_EQ(GroupControlNumber(o), "327710000");
}

TEST_F(Envelopes, BillingProviderIdentifiers) {
  EXPECT_EQ(BillingLevel(),
            "NM1*85*2*VALLEY CLINIC*****XX*1234567893~N3*1 MAIN ST~N4*AUSTIN*TX*00000~"
            "REF*EI*741234567~PER*IC**TE*5125550100~");
  PracticeRec& p = g.g_LastTop.Practice;
  p[Practice::sNPI].clear();
  p[Practice::sPhone] = "   ";  // blanks only: no contact segment
  p[Practice::sAddress2] = "SUITE 4";
  EXPECT_EQ(BillingLevel(),
            "NM1*85*2*VALLEY CLINIC*****24*741234567~N3*1 MAIN ST*SUITE 4~N4*AUSTIN*TX*00000~");
  p[Practice::sTaxId].clear();
  EXPECT_EQ(BillingLevel().substr(0, 23), "NM1*85*2*VALLEY CLINIC~");

  g.g_LastTop.CalcPref[CalcPref::sBillingOption] = "1";
  BProviderRec& b = g.g_LastTop.BProvider;
  b[BProvider::sLastName] = "DOE";
  b[BProvider::sFirstName] = "JOHN";
  b[BProvider::sMiddleName] = "QUINCY";
  b[BProvider::sSuffix] = "JR";
  b[BProvider::sZip] = "76701";
  auto person = [&](const char* npi, const char* ein, const char* ssn) {
    b[BProvider::sNPI] = npi;
    b[BProvider::sTaxId] = ein;
    b[BProvider::sSSN] = ssn;
    std::string level = BillingLevel();
    return SplitOn(level.substr(0, level.size() - 1), '~');
  };
  using V = std::vector<std::string>;
  const char* nm1 = "NM1*85*1*DOE*JOHN*Q**JR";
  EXPECT_EQ(person("1999999984", "751111111", "123456789"),
            (V{nm1 + std::string("*XX*1999999984"), "N4***76701", "REF*EI*751111111"}));
  EXPECT_EQ(person("1999999984", "", "123456789"),
            (V{nm1 + std::string("*XX*1999999984"), "N4***76701", "REF*SY*123456789"}));
  EXPECT_EQ(person("", "751111111", "123456789"),
            (V{nm1 + std::string("*24*751111111"), "N4***76701"}));
  EXPECT_EQ(person("", "", ""), (V{nm1, "N4***76701"}));
}

TEST_F(Envelopes, PayerAssignedNumberFollowsCategoryOptionAndLegacyDate) {
  InsuranceRec& ins = g.g_LastTop.Insurance;
  ins[Insurance::sPayerProviderId1] = "GRP17";
  ins[Insurance::sPayerProviderId2] = "IND18";
  auto ref = [&](const char* category, const char* option, bool passed) {
    ins[Insurance::sInsuranceCategoryCd] = category;
    g.g_LastTop.CalcPref[CalcPref::sBillingOption] = option;
    g.ref.LegacyDatePassed = passed;
    std::string level = BillingLevel();
    std::size_t at = level.find("~REF*", level.find("~N4*"));
    if (at != std::string::npos && level.compare(at, 8, "~REF*EI*") == 0) {
      at = level.find("~REF*", at + 1);
    }
    return at == std::string::npos ? "" : level.substr(at + 1, level.find('~', at + 1) - at - 1);
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
  g.g_LastTop.CalcPref[CalcPref::sBillingOption] = "99999";  // beyond 16 bits
  EXPECT_EQ(SetUpBATCH(c), 3);
  EXPECT_NE(g.host.gMessageArray[1].sMsgText.find(" SetUpBATCH() "), std::string::npos);
}

}  // namespace
}  // namespace wcomp837::testing
