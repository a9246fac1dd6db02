// The envelope structure of a whole batch, read back from the claim file:
// one interchange, a functional group per practice, a transaction set per
// billing provider, the counts of every trailer and the control numbers.
#include <gtest/gtest.h>

#include <map>

#include "e2e/e2e_env.h"

namespace wcomp837::testing {
namespace {

using Strings = std::vector<std::string>;

std::vector<Strings> Elements(const Strings& segments) {
  std::vector<Strings> out;
  for (const std::string& s : segments) {
    Strings e(1);
    for (char ch : s) {
      if (ch == '*') {
        e.emplace_back();
      } else {
        e.back() += ch;
      }
    }
    out.push_back(std::move(e));
  }
  return out;
}

TEST_F(E2eTest, TwoPracticesAndABillingProviderChangeShareOneInterchange) {
  const BatchOutput out = Run(BatchRecords("two_practices"));
  const std::vector<Strings> seg = Elements(SegmentsOf(out.claimFile));
  ASSERT_FALSE(seg.empty());

  std::map<std::string, int> count;
  Strings groupControls, setControls, billingProviders;
  int setsInGroup = 0, segmentsInSet = 0, hlInSet = 0;
  for (const Strings& e : seg) {
    ++count[e[0]];
    if (e[0] == "ST") {
      segmentsInSet = 0;
      hlInSet = 0;
      setControls.push_back(e[2]);
      ++setsInGroup;
    }
    ++segmentsInSet;
    if (e[0] == "HL") {
      // HL numbers restart in every transaction set; the first is the
      // billing provider level.
      EXPECT_EQ(e[1], std::to_string(++hlInSet));
    }
    if (e[0] == "NM1" && e[1] == "85") billingProviders.push_back(e[3]);
    if (e[0] == "SE") {
      EXPECT_EQ(e[1], std::to_string(segmentsInSet)) << "SE01";
      EXPECT_EQ(e[2], setControls.back()) << "SE02";
    }
    if (e[0] == "GS") {
      setsInGroup = 0;
      groupControls.push_back(e[6]);
    }
    if (e[0] == "GE") {
      EXPECT_EQ(e[1], std::to_string(setsInGroup)) << "GE01";
      EXPECT_EQ(e[2], groupControls.back()) << "GE02";
    }
  }
  EXPECT_EQ(count["ISA"], 1);
  EXPECT_EQ(count["IEA"], 1);
  EXPECT_EQ(count["GS"], 2);
  EXPECT_EQ(count["GE"], 2);
  EXPECT_EQ(count["ST"], 3);
  EXPECT_EQ(count["SE"], 3);
  EXPECT_EQ(count["CLM"], 4);
  EXPECT_EQ(seg.back(), (Strings{"IEA", "2", "000001207"}));
  EXPECT_EQ(seg.front()[13], "000001207");
  // Group control numbers stay unique; set control numbers restart per group.
  EXPECT_EQ(groupControls, (Strings{"12070001", "12070002"}));
  EXPECT_EQ(setControls, (Strings{"12070001", "12070002", "12070001"}));
  EXPECT_EQ(billingProviders, (Strings{"KIM", "OSEI", "VALLEY SPINE AND JOINT CENTER"}));
}

}  // namespace
}  // namespace wcomp837::testing
