// Segment output: cleaning, dropped segments and the count, the money rule,
// and the claim file's failures.
#include <cerrno>

#include "envelopes_fixture.h"
#include "state/messages.h"

namespace wcomp837::testing {
namespace {

using SegmentOutput = ClaimFileTest;

TEST_F(SegmentOutput, TrailingElementsGoAndEmptySegmentsAreDroppedUncounted) {
  for (const char* seg : {"REF*EI*", "NM1*PR*2*ACME*****PI*", "N3*", "N4***", "DMG*D8* *"}) {
    EXPECT_EQ(WriteCountedSegment(c, seg), 0);
  }
  EXPECT_EQ(g.writer.SegmentCount, 3);
  for (std::string seg : {"ISA*", "IEA**", "GS*", "GE"}) EXPECT_EQ(WriteASCIIOUT(c, seg), 0);
  EXPECT_EQ(g.writer.SegmentCount, 3) << "dropped envelope segments were never counted";
  std::string seg = "PER*IC**  ";
  WriteASCIIOUT(c, seg);
  EXPECT_EQ(seg, "PER*IC") << "the caller's text is cleaned";
  EXPECT_EQ(OpenASCIIout(c), 0) << "an open file is kept";
  CloseASCIIout(c);
  EXPECT_EQ(ReadFile(g.host.gsASCIIFile), "REF*EI~NM1*PR*2*ACME*****PI~DMG*D8* ~PER*IC~");
  ASSERT_EQ(OpenASCIIout(c), 0);
  EXPECT_TRUE(Segments().empty()) << "reopening replaces the earlier file";
}

TEST_F(SegmentOutput, MoneyRuleTrimsDecimalElementsOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {"SV1*HC:99213*0.50*UN*0.5", "SV1*HC:99213*.50*UN*.5"},
      {"AMT*F5*0.50", "AMT*F5*.50"},
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
