// Segment output: the code tables, cleaning, dropped segments and the count,
// the money rule, and the claim file's failures.
#include <cerrno>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "state/messages.h"
#include "x12/code_tables.h"
#include "x12/segment_builder.h"
#include "x12_fixture.h"

namespace wcomp837::testing {
namespace {

// Each table with its exact codes and what anything else falls back to; key
// tables find their keys anywhere in the text, in the table's order.
TEST(CodeTables, ExactTablesKeyTablesAndTheirFallbacks) {
  using Table = Text (*)(std::string_view);
  const auto canadian = [](std::string_view s) -> Text { return IsCanadianProvince(s) ? "Y" : ""; };
  const std::pair<Table, std::vector<std::pair<const char*, const char*>>> tables[] = {
      {canadian, {{"PQ", "Y"}, {"YT", "Y"}, {"QC", ""}, {"NU", ""}, {"pq", ""}, {"ON ", ""}}},
      {RelationshipToX12,
       {{"SLF", "18"},
        {"HUS", "01"},
        {"WIF", "01"},
        {"BRO", "19"},
        {"OTH", "G8"},
        {"", "21"},
        {"ANT", "21"},
        {"slf", "21"},
        {"SLFX", "21"}}},
      {ClaimFilingIndicator, {{"WCI", "WC"}, {"PPO", "12"}, {"", "ZZ"}, {"wci", "ZZ"}}},
      {PayerProviderIDQualifier, {{"BCS", "1B"}, {"OTH", "G2"}, {"WCI", ""}, {"GHP", ""}}},
      {MedicareSecondaryTypeCode,
       {{"~MC16~~MC10~", "12"}, {"~X~~MC16~", "43"}, {"~MC12~MC10", ""}}},
      {ServiceAuthExceptionCode, {{"~SAEN~~SAEJ~", "1"}, {"~saej~", ""}}},
      {SpecialProgramCode,
       {{"~EPSDTX~", "01"},
        {"~SAEN~~HCP~", "02"},
        {"~SAEN~", "09"},
        {"", ""},
        {"~HCP", ""},
        {"~~~~~~~~~~~~~~~~~~~~~~~~~~~ASCC~", "08"}}}};
  for (std::size_t t = 0; t < std::size(tables); ++t) {
    for (const auto& [in, out] : tables[t].second) {
      EXPECT_EQ(tables[t].first(in), out) << "table " << t << " '" << in << "'";
    }
  }
}

TEST(CodeTables, OtherInsuranceTypes) {
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
  auto codes = [&](std::array<const char*, 4> cats) {
    for (std::size_t n = 1; n <= 4; ++n) {
      g.g_LastGroup().OIns[n][OInsurance::sInsuranceCategoryCd] = cats[n - 1];
    }
    std::string out;
    for (std::int16_t n = 0; n <= 5; ++n) out += OtherInsuranceTypeCode(c, n) + " ";
    return out;
  };
  g.claim.mClaim.sClaimExtKeys = "~MC13~~MC12~";
  EXPECT_EQ(codes({"MCR", "MCR", "CI", "MCR"}), "SP MP CP C1 CP SP ");
  g.claim.mClaim.sClaimExtKeys = "~MC13~";
  EXPECT_EQ(codes({"MCR", "MCR", "CI", "MCR"}), "SP MP AP C1 AP SP ");
  g.claim.mClaim.sClaimExtKeys.clear();
  EXPECT_EQ(codes({"MCR", "MCR", "CI", "MCR"}), "SP MP MB C1 MB SP ");
  EXPECT_EQ(codes({"GHP", "HMO", "MCA", "OTH"}), "SP GP HM MC OT SP ");
  EXPECT_EQ(codes({"WCI", "", "PPO", "mcr"}), "SP SP SP SP SP SP ");
  // Blue Shield turns C1 when Medicare pays after it.
  EXPECT_EQ(codes({"BCS", "WCI", "MCR", "BCS"}), "SP C1 SP MB SP SP ");
  g.records.g_LastTop.Insurance[Insurance::sInsuranceCategoryCd] = "MCR";
  g.g_LastGroup().Charge[Charge::sBillingInsIndex] = "4";
  EXPECT_EQ(OtherInsuranceTypeCode(c, 4), "SP") << "billed Medicare is not after 4";
  g.g_LastGroup().Charge[Charge::sBillingInsIndex] = "5";
  EXPECT_EQ(OtherInsuranceTypeCode(c, 4), "C1");
}

using SegmentOutput = ClaimFileTest;

TEST_F(SegmentOutput, TrailingElementsGoAndEmptySegmentsAreDroppedUncounted) {
  for (const char* seg : {"REF*EI*", "NM1*PR*2*ACME*****PI*", "N3*", "N4***", "DMG*D8* *"}) {
    EXPECT_EQ(WriteCountedSegment(c, seg), 0);
  }
  EXPECT_EQ(WriteCountedSegment(c, SegmentText("DTP").Add("472").Add("").Add("")), 0);
  SegmentText empty("N3");
  EXPECT_EQ(WriteCountedSegment(c, empty.Add("").Add("")), 0);
  EXPECT_EQ(empty.str(), "N3***") << "the segment written is left as it was built";
  EXPECT_EQ(g.writer.SegmentCount, 4);
  for (std::string seg : {"ISA*", "IEA**", "GS*", "GE"}) EXPECT_EQ(WriteASCIIOUT(c, seg), 0);
  EXPECT_EQ(g.writer.SegmentCount, 4) << "dropped envelope segments were never counted";
  std::string seg = "PER*IC**  ";
  WriteASCIIOUT(c, seg);
  EXPECT_EQ(seg, "PER*IC") << "the caller's text is cleaned";
  EXPECT_EQ(OpenASCIIout(c), 0) << "an open file is kept";
  CloseASCIIout(c);
  EXPECT_EQ(ReadFile(g.host.gsASCIIFile), "REF*EI~NM1*PR*2*ACME*****PI~DMG*D8* ~DTP*472~PER*IC~");
  ASSERT_EQ(OpenASCIIout(c), 0);
  EXPECT_TRUE(Segments().empty()) << "reopening replaces the earlier file";
}

TEST_F(SegmentOutput, MoneyRuleTrimsDecimalElementsOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {"SV1*HC:99213*0.50*UN*0.5", "SV1*HC:99213*.50*UN*.5"},
      {"CAS*PR*1*0.00*0.5*2*10.00", "CAS*PR*1*.00*.5*2*10.00"},
      // An earlier value that is not an amount no longer decides.
      {"SV1*HC:0.B*0.25", "SV1*HC:0.B*.25"},
      {"AMT*D*10.50*100.00*00.50*-0.50", "AMT*D*10.50*100.00*00.50*-0.50"},
      // Identifiers, notes and components keep their zero.
      {"CLM*0.5A*0.50", "CLM*0.5A*.50"},
      {"NM1*IL*1*DOE*JOHN****MI*0.12", "NM1*IL*1*DOE*JOHN****MI*0.12"},
      {"NTE*ADD*0.5 MG DOSE", "NTE*ADD*0.5 MG DOSE"},
      {"REF*XX*0.25", "REF*XX*0.25"},
      {"ISA*00*0.12345678*ZZ*0.5", "ISA*00*0.12345678*ZZ*0.5"},
  };
  for (const auto& [in, out] : cases) {
    std::string seg = in;
    EXPECT_EQ(WriteASCIIOUT(c, seg), 0);
    EXPECT_EQ(seg, out) << in;
  }
  // A built segment takes the rule as well, its own text unchanged.
  SegmentText sv1("SV1");
  sv1.AddComposite({"HC", "99213"}).Add("0.50").Add("UN").Add("0.5").Add("");
  EXPECT_EQ(WriteCountedSegment(c, sv1), 0);
  EXPECT_EQ(sv1.str(), "SV1*HC:99213*0.50*UN*0.5**");
  EXPECT_EQ(Segments().back(), "SV1*HC:99213*.50*UN*.5");
}

TEST_F(SegmentOutput, WritesOutsideAnOpenFileAndFailedFlushesAreReported) {
  ASSERT_EQ(WriteCountedSegment(c, "REF*EI*12"), 0);
  SetWriteFaultForTesting([](const std::string&) { return ENOSPC; });
  EXPECT_EQ(CloseASCIIout(c), 3);
  EXPECT_FALSE(g.writer.ASCIIFile.IsOpen());
  ClearMessageArray(g.host);
  std::string seg = "REF*EI*12";
  EXPECT_EQ(WriteASCIIOUT(c, seg), 3);
  ASSERT_EQ(MessageCount(g.host), 2);
  EXPECT_NE(g.host.gMessageArray[1].sMsgText.find(" WriteASCIIOUT() "), std::string::npos);
  EXPECT_EQ(g.host.gMessageArray[2].sMsgText, "The Data was: REF*EI*12");
}

TEST(SegmentText, ElementsLoseSeparatorsAndEveryTextKeepsItsOwnBuffer) {
  SegmentText nm1("NM1");
  nm1.Add("A*B~C:D")
      .Add("\x01x\x7fy\xe9 z!}")
      .AddComposite({"HC", "99:213", "25"})
      .AddJoined("815", "55~5")
      .Add("");
  EXPECT_EQ(nm1.str(), "NM1*ABCD*xy z!}*HC:99213:25*815555**");
  // More texts at once than the pool lends: each keeps its own text, also
  // when moved as the vector grows and when others are given back.
  std::vector<std::optional<SegmentText>> texts;
  for (int i = 0; i < 40; ++i) texts.emplace_back(std::in_place, "REF")->Add(std::to_string(i));
  for (int i = 0; i < 40; i += 2) texts[i].reset();
  for (int i = 0; i < 40; i += 2) texts[i].emplace("LX").Add(std::to_string(i));
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(texts[i]->str(), (i % 2 == 0 ? "LX*" : "REF*") + std::to_string(i) + "*");
  }
  texts.clear();
  // A lent buffer comes back empty of its last text, and grows for a long
  // one without losing what it holds.
  EXPECT_EQ(SegmentText("HL").str(), "HL*");
  const std::string note(700, 'N');
  SegmentText nte("NTE");
  nte.Add("ADD").AddJoined(note.substr(0, 200), note.substr(200)).AddComposite({"A", note});
  EXPECT_EQ(nte.str(), "NTE*ADD*" + note + "*A:" + note + "*");
}

TEST(SegmentText, OneEndedOnAnotherThreadLeavesThatThreadsBuffersAlone) {
  std::optional<SegmentText> built(std::in_place, "REF");
  built->Add("BUILT HERE");
  std::vector<std::string> seen;
  std::thread([&] {
    // Every buffer of this thread's pool lent, then a segment of the other
    // thread ends here: a buffer lent twice would mix two texts.
    std::vector<std::optional<SegmentText>> own(16);
    for (std::size_t i = 0; i < own.size(); ++i) own[i].emplace("LX").Add(std::to_string(i));
    built.reset();
    SegmentText next("N3");
    next.Add("NEXT");
    for (const auto& text : own) seen.emplace_back(text->str());
    seen.emplace_back(next.str());
  }).join();
  ASSERT_EQ(seen.size(), 17u);
  for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(seen[i], "LX*" + std::to_string(i) + "*");
  EXPECT_EQ(seen[16], "N3*NEXT*");
}

TEST(SegmentText, DatesDelimitersAndNames) {
  EXPECT_EQ(DateToCCYYMMDD("12312023"), "20231231");
  EXPECT_EQ(DateToCCYYMMDD("123199"), "991231");
  EXPECT_EQ(DateToCCYYMMDD(""), "");
  EXPECT_EQ(DateToCCYYMMDD("12/31/2023"), "12/31/2023");
  const std::tuple<std::string, std::string, std::string> strips[] = {
      {"A*B**  ", "* ", "A*B"}, {"**", "*", ""}, {"A::", "", "A::"}, {"AB", "XAB", "AB"}};
  for (auto [text, delim, out] : strips) {
    StripTrailingDelimiters(text, delim);
    EXPECT_EQ(text, out);
  }
  EXPECT_EQ(CutTrim("  SMITH  JONES", 8), "SMITH");
  EXPECT_EQ(CutTrim("   ", 2), "");
}

}  // namespace
}  // namespace wcomp837::testing
