// The implementation-guide check on a reviewed claim file and on damaged
// copies of it: each damage is reported at its segment, loop and element and
// rejects the transaction set, and the functional acknowledgment says so.
#include <gtest/gtest.h>

#include <functional>

#include "support/test_support.h"
#include "x12/guide/ack997.h"
#include "x12/guide/check.h"

namespace wcomp837::guide {
namespace {

using testing::ReadFile;
using testing::SourceDir;

std::string Reviewed(const std::string& batch = "primary_insured") {
  return ReadFile(SourceDir() + "/tests/batches/" + batch + "/expected.837");
}

// What one check found: each error as "segment loop element-or-segment",
// its rule, and the verdict of every transaction set.
struct Seen : CheckObserver {
  struct Error {
    std::int64_t segment;
    std::string where;
    Rule rule;
    std::string claim;
    std::string text;
  };
  void Found(const Finding& f) override {
    if (f.severity == Severity::kWarning) {
      ++warnings;
      return;
    }
    std::string where(f.loop);
    const std::string_view what = f.element.empty() ? f.segmentId : f.element;
    if (!what.empty()) where += " " + std::string(what);
    // The position the acknowledgment reports (AK401), after the text.
    const std::string text = Describe(f) + " [" + std::to_string(f.elementPosition) + "]";
    errors.push_back({f.segment, where, f.rule, std::string(f.claim), text});
  }
  void SetEnd(const SetResult& r) override { verdicts.push_back(r.verdict); }
  std::vector<Error> errors;
  std::vector<Verdict> verdicts;
  int warnings = 0;
};

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Joins segments again, SE01 counting what lies between ST and SE.
std::string Joined(std::vector<std::string> s) {
  std::size_t st = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i].rfind("ST*", 0) == 0) st = i;
    if (s[i].rfind("SE*", 0) == 0) {
      s[i] = "SE*" + std::to_string(i - st + 1) + s[i].substr(s[i].find('*', 3));
    }
  }
  std::string text;
  for (const std::string& seg : s) text += seg + "~";
  return text;
}

std::string WithoutFirst(const std::string& text, const std::string& prefix) {
  std::vector<std::string> s = testing::SplitSegments(text);
  s.erase(std::find_if(s.begin(), s.end(), [&](const auto& x) { return x.rfind(prefix, 0) == 0; }));
  return Joined(s);
}

// The subscriber's level and claim repeated before SE.
std::string ClaimTwice(const std::string& text) {
  std::vector<std::string> s = testing::SplitSegments(text);
  const auto hl =
      std::find_if(s.begin(), s.end(), [](const auto& x) { return x.rfind("HL*2*", 0) == 0; });
  const auto se =
      std::find_if(s.begin(), s.end(), [](const auto& x) { return x.rfind("SE*", 0) == 0; });
  const std::vector<std::string> block(hl, se);
  s.insert(se, block.begin(), block.end());
  return Joined(s);
}

struct Damage {
  const char* name;
  std::function<std::string(const std::string&)> apply;
  const char* finding;  // as Describe() writes it, then the position the 997 reports
};

TEST(GuideCheck, DamagedCopiesAreReportedWhereTheDamageIsAndRejected) {
  auto replace = [](const char* from, const char* to) {
    return [=](const std::string& t) { return Replaced(t, from, to); };
  };
  const Damage damages[] = {
      {"SV1 deleted", [](auto& t) { return WithoutFirst(t, "SV1*"); },
       "segment 38, 2400 SV1, claim N30001: required segment missing; expected Professional "
       "Service [0]"},
      {"CLM deleted", [](auto& t) { return WithoutFirst(t, "CLM*"); },
       "segment 24, 2010BB DTP: segment not expected here; expected a segment of the guide in its "
       "loop and order [0]"},
      {"BHT deleted", [](auto& t) { return WithoutFirst(t, "BHT*"); },
       "segment 4, transaction set REF: segment not expected here; expected a segment of the guide "
       "in its loop and order [0]"},
      {"SE01 off by one", replace("SE*49*", "SE*50*"),
       "segment 51, transaction set SE01: SE01 does not count the segments from ST to SE \"50\"; "
       "expected 49 [1]"},
      {"element separator in a value", replace("*BROWN*", "*BR*OWN*"),
       "segment 17, 2010BA NM106, claim N30001: element the guide does not use \"T\"; expected no "
       "value [6]"},
      {"component separator in a value", replace("*BROWN*", "*BR:OWN*"),
       "segment 17, 2010BA NM103, claim N30001: component separator inside a simple element "
       "\"BR:OWN\"; expected a simple element without \":\" [3]"},
      {"control character in a value", replace("*BROWN*", "*BR\x01OWN*"),
       "segment 17, 2010BA NM103, claim N30001: character outside the X12 basic and extended "
       "character sets \"BR\\x01OWN\"; expected letters, digits, blanks and printable punctuation "
       "[3]"},
      {"truncated", [](auto& t) { return t.substr(0, t.size() / 2); },
       "segment 20, interchange: the last segment has no segment terminator \"DMG*D8*19750\"; "
       "expected ~ [0]"},
      {"required element emptied", replace("*270.5*", "**"),
       "segment 24, 2300 CLM02, claim N30001: required element missing; expected Total Claim "
       "Charge Amount [2]"},
      {"code value changed", replace("SBR*P*", "SBR*Q*"),
       "segment 16, 2000B SBR01, claim N30001: code value not in the guide's list \"Q\"; expected "
       "one of P, S, T [1]"},
      {"place of service unknown", replace("*11::1*", "*30::1*"),
       "segment 24, 2300 CLM05-1, claim N30001: code value not in the guide's list \"30\"; "
       "expected one of the 52 codes of Facility Type Code [5]"},
      {"diagnosis pointer past the HI", replace("*UN*2***1", "*UN*2***3"),
       "segment 45, 2400 SV107-1, claim N30001: diagnosis pointer past the claim's diagnoses "
       "\"3\"; expected 1 to 2: the claim's HI holds 2 diagnoses [7]"},
      {"CLM02 not the sum of its lines", replace("*270.5*", "*280.5*"),
       "segment 24, 2300 CLM02, claim N30001: claim total is not the sum of its service lines "
       "\"280.5\"; expected 270.5, the sum of its 2 service line charges [2]"},
      {"HL04 promises a child", replace("HL*2*1*22*0", "HL*2*1*22*1"),
       "segment 15, 2000B HL04, claim N30001: hierarchical level out of line \"1\"; expected 0: no "
       "child level follows [4]"},
      {"claim block repeated", ClaimTwice,
       "segment 51, 2000B HL01, claim N30001: hierarchical level out of line \"2\"; expected 3 "
       "[1]"},
      {"no calendar date", replace("D8*20261104", "D8*20261304"),
       "segment 40, 2400 DTP03, claim N30001: not a calendar date \"20261304\"; expected a date "
       "CCYYMMDD [3]"},
      {"date range ending before it starts", replace("D8*20261104", "RD8*20261105-20261104"),
       "segment 40, 2400 DTP03, claim N30001: not a calendar date \"20261105-20261104\"; expected "
       "a date range CCYYMMDD-CCYYMMDD [3]"},
      {"taxonomy code malformed", replace("ZZ*207Q00000X", "ZZ*207Q0000X"),
       "segment 36, 2310B PRV03, claim N30001: not a provider taxonomy code \"207Q0000X\"; "
       "expected a provider taxonomy code such as 207Q00000X [3]"},
      {"the interchange header alone", [](auto& t) { return t.substr(0, 106); },
       "segment 1, interchange: the interchange trailer does not close the ISA; expected IEA "
       "closing the interchange [0]"},
      {"separator after the last element", replace("HL*2*1*22*0~", "HL*2*1*22*0*~"),
       "segment 15, 2000B HL, claim N30001: empty element at the end of the segment; expected no "
       "separator after "
       "the last element [5]"},
      {"GS08 changed", replace("*X*004010X098A1~", "*X*004010X098~"),
       "segment 2, group GS08: code value not in the guide's list \"004010X098\"; expected one of "
       "004010X098A1 [8]"},
      {"005010 envelope",
       [](auto& t) {
         std::string v = Replaced(t, "*00401*", "*00501*");
         while (v.find("004010X098A1") != std::string::npos) {
           v.replace(v.find("004010X098A1"), 12, "005010X222A1");
         }
         return v;
       },
       "segment 1, interchange ISA12: code value not in the guide's list \"00501\"; expected one "
       "of 00401 [12]"},
      {"empty file", [](auto&) { return std::string(); },
       "file, interchange: the file holds no interchange; expected an interchange ISA ... IEA [0]"},
  };
  const std::string reviewed = Reviewed();
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.name);
    Seen seen;
    const CheckTotals totals = CheckText(d.apply(reviewed), seen);
    const bool found = std::any_of(seen.errors.begin(), seen.errors.end(),
                                   [&](const auto& e) { return e.text == d.finding; });
    std::string all;
    for (const auto& e : seen.errors) all += e.text + "\n";
    EXPECT_TRUE(found) << all;
    EXPECT_GT(totals.errors, 0);
    for (Verdict v : seen.verdicts) EXPECT_EQ(v, Verdict::kRejected);
  }
}

TEST(GuideCheck, FindingsNameTheirClaimAndABoundedListCountsTheRest) {
  const std::string text = Replaced(Replaced(Reviewed(), "SBR*P*", "SBR*Q*"), "*270.5*", "*280.5*");
  Seen seen;
  CheckText(text, seen);
  ASSERT_EQ(seen.errors.size(), 2u);
  // The subscriber level is reported with the claim that follows it, also
  // the HL that opens it after an earlier claim.
  EXPECT_EQ(seen.errors[0].claim, "N30001");
  EXPECT_EQ(seen.errors[1].claim, "N30001");
  Seen second;
  CheckText(Replaced(Reviewed("spouse_child"), "HL*4*1*22*1~", "HL*4*1*22*1*~"), second);
  ASSERT_FALSE(second.errors.empty());
  for (const auto& e : second.errors) EXPECT_EQ(e.claim, "N30011") << e.text;

  FindingList first(1);
  CheckText(text, first);
  ASSERT_EQ(first.kept().size(), 1u);
  EXPECT_EQ(first.kept()[0].text,
            "segment 16, 2000B SBR01, claim N30001: code value not in the guide's list \"Q\"; "
            "expected one of P, S, T");
  EXPECT_EQ(first.notKept(), 1);
}

TEST(GuideCheck, LineBreaksAfterTerminatorsAreAccepted) {
  std::string text = Reviewed();
  for (std::size_t at = 0; (at = text.find('~', at)) != std::string::npos; at += 3) {
    text.insert(at + 1, "\r\n");
  }
  Seen seen, plain;
  CheckText(text, seen);
  CheckText(Reviewed(), plain);
  EXPECT_TRUE(seen.errors.empty());
  EXPECT_EQ(seen.warnings, plain.warnings);
  EXPECT_EQ(seen.verdicts, std::vector<Verdict>{Verdict::kAcceptedWithErrors});
}

// The 997 of a rejected and of a clean file; either passes the syntax
// check that any interchange must pass.
TEST(GuideCheck, AcknowledgmentTellsRejectedFromAcceptedSets) {
  testing::TempDir dir;
  const std::string clean =
      Replaced(Reviewed("providers"), "PER*IC**TE*", "PER*IC*BILLING OFFICE*TE*");
  const struct {
    std::string claims;
    std::vector<std::string> expected;
  } cases[] = {
      {Replaced(Reviewed(), "SBR*P*", "SBR*Q*"),
       {"ST*997*0001~AK1*HC*12070001~AK2*837*12070001~AK3*PER*12*2010AA*8~AK4*2*93*1~",
        "~AK3*SBR*14*2000B*8~AK4*1*1138*7*Q~", "~AK5*R*5~AK9*R*1*1*0~SE*"}},
      {clean, {"~AK2*837*12070001~AK5*A~AK9*A*1*1*1~SE*6*0001~GE*1*1~IEA*1*000001207~"}},
      // Read to the middle only: the open set and group are rejected.
      {Reviewed().substr(0, Reviewed().size() / 2), {"~AK5*R*2*5~AK9*R*1*1*0*3~SE*9*0001~"}},
  };
  for (const auto& c : cases) {
    const std::string path = dir.File("ack.997");
    AckWriter ack(path);
    CheckText(c.claims, ack);
    ASSERT_TRUE(ack.Close());
    const std::string text = ReadFile(path);
    for (const std::string& part : c.expected)
      EXPECT_NE(text.find(part), std::string::npos) << text;
    EXPECT_EQ(
        text.rfind("ISA*00*          *00*          *ZZ*WCCLEAR01      *ZZ*NSOH0001       *", 0), 0u)
        << text;
    Seen seen;
    const CheckTotals totals = CheckText(text, seen, {.guide = false});
    EXPECT_TRUE(seen.errors.empty()) << seen.errors.front().where;
    EXPECT_EQ(totals.sets, 1);
  }
}

}  // namespace
}  // namespace wcomp837::guide
