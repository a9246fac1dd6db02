// The guide validator must see the faults a payer's front end rejects: a
// missing required segment, an unlisted code, an element too long, segments
// out of order, surplus or not-used elements and broken syntax rules.
#include "e2e/guide_validator.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/mini_xml.h"
#include "support/test_support.h"

namespace wcomp837::testing {
namespace {

std::string Reviewed() {
  return ReadFile(SourceDir() + "/tests/batches/primary_insured/expected.837");
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::vector<std::string> Keys(const std::string& claimFile) {
  std::vector<std::string> keys;
  for (const GuideDeparture& d : Guide::Shared().Validate(claimFile)) keys.push_back(d.key);
  return keys;
}

bool Has(const std::vector<std::string>& keys, const std::string& key) {
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

TEST(GuideValidator, ReadsTheGuideStructure) {
  const GuideNode& root = Guide::Shared().root();
  ASSERT_EQ(root.children.size(), 1u);
  EXPECT_EQ(root.children[0].id, "ISA_LOOP");
  EXPECT_THROW(ParseXml("<a><b></a>"), std::runtime_error);
  EXPECT_EQ(ParseXml("<a x='1'>&lt;t&gt;</a>")->text, "<t>");
}

TEST(GuideValidator, PlacesSegmentsInTheirLoops) {
  std::vector<std::string> loops;
  Guide::Shared().Validate(Reviewed(), &loops);
  ASSERT_GT(loops.size(), 30u);
  EXPECT_EQ(loops.front(), "ISA_LOOP");
  EXPECT_EQ(loops[8], "2000A");  // HL*1**20*1
  EXPECT_TRUE(std::count(loops.begin(), loops.end(), "2010BB") == 3);
  EXPECT_TRUE(std::count(loops.begin(), loops.end(), "2310B") == 2);
  EXPECT_EQ(std::count(loops.begin(), loops.end(), "?"), 0);
}

TEST(GuideValidator, ReportsDepartures) {
  const std::string ok = Reviewed();
  EXPECT_FALSE(Has(Keys(ok), "2000B lacks required segment SBR"));

  EXPECT_TRUE(Has(Keys(Replace(ok, "SBR*P*18*WC8810021******WC~", "")),
                  "2000B lacks required segment SBR"));
  EXPECT_TRUE(
      Has(Keys(Replace(ok, "DTP*472*D8*20261104~", "")), "2400 lacks required segment DTP"));
  EXPECT_TRUE(Has(Keys(Replace(ok, "SBR*P*18*", "SBR*Q*18*")), "2000B SBR01 code not listed"));
  EXPECT_TRUE(Has(Keys(Replace(ok, "CLM*N30001*", "CLM*" + std::string(39, 'A') + "*")),
                  "2300 CLM01 length outside 1-38"));
  EXPECT_TRUE(
      Has(Keys(Replace(ok, "HL*2*1*22*0~", "HL*2*1*22*0*X~")), "2000B HL has too many elements"));
  EXPECT_TRUE(Has(Keys(Replace(ok, "BROWN*MICHAEL*T***MI", "BROWN*MICHAEL*T*DR**MI")),
                  "2010BA NM106 not-used element present"));
  EXPECT_TRUE(Has(Keys(Replace(ok, "*MI*WC8810021~", "*MI~")), "2010BA NM1 syntax P0809 broken"));
  EXPECT_TRUE(Has(Keys(Replace(ok, "CLM*N30001*270.5*", "CLM*N30001**")),
                  "2300 CLM02 required element empty"));

  // The service date before the service itself: SV1 comes out of order.
  const std::string lx = "LX*1~";
  const std::size_t sv1 = ok.find("SV1*", ok.find(lx));
  const std::size_t sv1End = ok.find('~', sv1) + 1;
  const std::size_t dtp = ok.find("DTP*472", sv1);
  const std::size_t dtpEnd = ok.find('~', dtp) + 1;
  std::string swapped = ok.substr(0, sv1) + ok.substr(dtp, dtpEnd - dtp) +
                        ok.substr(sv1, sv1End - sv1) + ok.substr(dtpEnd);
  EXPECT_TRUE(Has(Keys(swapped), "2400 SV1*HC:99203 out of order"));
}

}  // namespace
}  // namespace wcomp837::testing
