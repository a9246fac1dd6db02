#include "x12/checker.h"

#include <gtest/gtest.h>

#include <string>

namespace wcomp837 {
namespace {

const std::string kIsa =
    "ISA*00*          *00*          *ZZ*SUBMIT         *ZZ*RECEIVE        *261206*0610*U*00401*"
    "000000123*0*P*:~";

std::string ValidFile() {
  return kIsa +
         "GS*HC*SUBMIT*RECEIVE*20261206*0610*1230001*X*004010X098A1~"
         "ST*837*1230001~BHT*0019*00*123*20261206*061043*CH~REF*87*004010X098A1~"
         "HL*1**20*1~NM1*85*2*CLINIC*****XX*1234567893~"
         "HL*2*1*22*1~SBR*P**GRP1******WC~"
         "HL*3*2*23*0~PAT*01~CLM*A1*100***11::1*Y*A*Y*Y*B~LX*1~SV1*HC:99213*100*UN*1***1~"
         "SE*13*1230001~GE*1*1230001~IEA*1*000000123~";
}

bool HasProblem(const ClaimFileCheck& r, const std::string& text) {
  for (const auto& p : r.problems) {
    if (p.find(text) != std::string::npos) return true;
  }
  return false;
}

TEST(ClaimFileChecker, AcceptsAWellFormedInterchangeAndCountsIt) {
  auto r = CheckClaimText(ValidFile());
  EXPECT_TRUE(r.ok) << (r.problems.empty() ? "" : r.problems.front());
  EXPECT_EQ(r.interchanges, 1);
  EXPECT_EQ(r.groups, 1);
  EXPECT_EQ(r.transactionSets, 1);
  EXPECT_EQ(r.claims, 1);
  EXPECT_EQ(r.serviceLines, 1);
  EXPECT_EQ(r.maxHL, 3);
}

TEST(ClaimFileChecker, FindsWrongCountsAndControlNumbers) {
  std::string f = ValidFile();
  std::string bad = f;
  bad.replace(bad.find("SE*13"), 5, "SE*12");
  EXPECT_TRUE(HasProblem(CheckClaimText(bad), "SE01 segment count is 12 but 13"));

  bad = f;
  bad.replace(bad.find("GE*1*1230001"), 12, "GE*1*1230002");
  EXPECT_TRUE(HasProblem(CheckClaimText(bad), "GE02"));

  bad = f;
  bad.replace(bad.find("IEA*1*000000123"), 15, "IEA*2*000000124");
  auto r = CheckClaimText(bad);
  EXPECT_TRUE(HasProblem(r, "IEA01 group count is 2 but 1"));
  EXPECT_TRUE(HasProblem(r, "IEA02"));
}

TEST(ClaimFileChecker, FindsStructuralFaults) {
  std::string f = ValidFile();
  // A second interchange opened inside the first.
  std::string bad = f;
  bad.insert(bad.find("GS*HC"), kIsa);
  EXPECT_TRUE(HasProblem(CheckClaimText(bad), "a second ISA"));

  // HL numbering and parents.
  bad = f;
  bad.replace(bad.find("HL*3*2*23"), 9, "HL*4*9*23");
  auto r = CheckClaimText(bad);
  EXPECT_TRUE(HasProblem(r, "HL01 \"4\" should be 3"));
  EXPECT_TRUE(HasProblem(r, "HL02 \"9\" names no earlier HL"));

  // Unterminated last segment and an element separator inside a value.
  bad = f.substr(0, f.size() - 1);
  EXPECT_TRUE(HasProblem(CheckClaimText(bad), "not terminated"));
  bad = f;
  bad.replace(bad.find("PAT*01"), 6, "PAT*01*X*Y*Z*A*B*C*D*E*F");
  EXPECT_TRUE(HasProblem(CheckClaimText(bad), "PAT has 10 elements"));

  // A damaged ISA.
  bad = f;
  bad[17] = ' ';
  EXPECT_TRUE(HasProblem(CheckClaimText(bad), "column 18"));
  EXPECT_FALSE(CheckClaimText("").ok);
}

}  // namespace
}  // namespace wcomp837
