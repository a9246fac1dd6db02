// Host data that is wrong in ways hosts really send it: the claim file must
// still be read by a payer exactly as the host meant it, or the batch must
// not end as if all were well.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "e2e/e2e_env.h"
#include "faults/batch_runner.h"
#include "wcomp837/currency.h"
#include "wcomp837/format_class.h"

namespace wcomp837::testing {
namespace {

using Strings = std::vector<std::string>;
using Records = std::vector<HostRecord>;

// The value of element n (1-based) of a segment.
std::string Element(const std::string& segment, std::size_t n) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < n; ++i) {
    start = segment.find('*', start);
    if (start == std::string::npos) return "";
    ++start;
  }
  return segment.substr(start, segment.find('*', start) - start);
}

// Every CLM02 equals the sum of the SV102 written under it.
void ExpectBalancedClaims(const Strings& segments) {
  std::string clm;
  Currency lines;
  auto close = [&] {
    if (!clm.empty()) {
      EXPECT_EQ(Currency::FromText(Element(clm, 2)).raw(), lines.raw()) << clm;
    }
  };
  for (const std::string& s : segments) {
    if (s.starts_with("CLM*")) {
      close();
      clm = s;
      lines = Currency();
    } else if (s.starts_with("SV1*")) {
      lines += Currency::FromText(Element(s, 2));
    }
  }
  close();
}

void Insert(Records& records, std::size_t at, const std::string& type, const std::string& rec) {
  HostRecord r = records.at(at);
  r.key = r.key.substr(0, r.key.rfind("//") + 2) + type;
  r.record = rec;
  records.insert(records.begin() + static_cast<std::ptrdiff_t>(at), r);
}

std::size_t IndexOf(const Records& records, const std::string& type, int nth = 0) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    if ((records[i].record == type || records[i].record.starts_with(type + "//")) && nth-- == 0) {
      return i;
    }
  }
  ADD_FAILURE() << "no record " << type;
  return 0;
}

struct Case {
  const char* name;
  const char* batch;
  std::function<void(Records&)> damage;
  std::int16_t answer;  // the worst answer of the batch
  const char* message;  // a message that must be among those read, or ""
  std::function<void(const Strings&)> expect;
};

const Case kCases[] = {
    {"component separator and bytes outside the character sets", "primary_insured",
     [](Records& r) {
       SetField(r, "4000", 1, "N3:0001");
       SetField(r, "4000", 9, "WC:88\x01");
       SetField(r, "6000", 6, "99:203", 0);
       SetField(r, "6000", 13, "2:5", 0);
       SetField(r, "6000", 25, "1:1");
       SetField(r, "6000", 28, "847:2", 0);
       SetField(r, "1050", 13, "RCV:9\xE9");
       SetField(r, "4000", 4, "BR\x7FOWN\x1B");
       // Element and segment separators, and texts longer than the guide allows.
       SetField(r, "5000", 46, "2210 HARLEM AVE ~ APT*4");
       SetField(r, "3000", 3, "MIDWEST WORKERS COMPENSATION INSURANCE COMPANY OF ILLINOIS");
       SetField(r, "6000", 61, "AU*TH~1:2");
       SetField(r, "6000", 72, "TAKE 2:3 * DAILY ~ " + std::string(90, 'N'), 1);
     },
     0, "",
     [](const Strings& s) {
       EXPECT_EQ(Starting(s, "N3*2210")[0], "N3*2210 HARLEM AVE  APT4");
       EXPECT_EQ(Starting(s, "NM1*PR*")[0],
                 "NM1*PR*2*MIDWEST WORKERS COMPENSATION INSURA*****PI*36101");
       EXPECT_EQ(Starting(s, "REF*G1*")[0], "REF*G1*AUTH12");
       EXPECT_EQ(Starting(s, "NTE*ADD*TAKE 23  DAILY  NNN")[0].size(), 8u + 80u);
       EXPECT_TRUE(Starting(s, "CLM*N30001*")[0].starts_with("CLM*N30001*270.5***11::1*"));
       EXPECT_EQ(Starting(s, "SV1*")[0], "SV1*HC:99203:25*150.5*UN*1***1:2");
       EXPECT_EQ(Starting(s, "HI*")[0], "HI*BK:8472*BF:E8493*BF:8472");
       EXPECT_EQ(Element(s[0], 8), "RCV9           ");
       EXPECT_EQ(Element(Starting(s, "GS*")[0], 3), "WCCLEAR01");
       EXPECT_EQ(Starting(s, "NM1*IL*")[0], "NM1*IL*1*BROWN*MICHAEL*T***MI*WC88");
     }},
    {"end of charge group without a charge", "primary_insured",
     [](Records& r) { Insert(r, IndexOf(r, "6990") + 1, "6990", "6990"); }, 1,
     " 1//Record# 11: end of charge group (6990) without a charge record (6000); no service "
     "line was added//",
     [](const Strings& s) { EXPECT_EQ(Starting(s, "SV1*").size(), 2u); }},
    {"billing insurance index out of range", "primary_insured",
     [](Records& r) { SetField(r, "6000", 70, "5", 1); }, 3,
     " 3//ERROR: Billing Ins Index was not between 1-4 ( 5)//",
     [](const Strings& s) {
       EXPECT_EQ(Starting(s, "SV1*").size(), 1u);
       EXPECT_TRUE(Starting(s, "CLM*")[0].starts_with("CLM*N30001*150.5*"));
     }},
    {"line key part out of range", "primary_insured",
     [](Records& r) { SetField(r, "6000", 1, "-5", 0); }, 3, "",
     [](const Strings& s) {
       EXPECT_EQ(Starting(s, "SV1*"), Strings{"SV1*HC:97110:GP:59*120*UN*2***1"});
       EXPECT_EQ(Starting(s, "DTP*472*").size(), 1u);
     }},
    {"incomplete adjustment at line level", "secondary_tertiary",
     [](Records& r) { SetField(r, "6310", 76, "CO|45|10|1|PR"); }, 0, "",
     [](const Strings& s) {
       // Every CAS carries at least a group, a reason and an amount.
       for (const std::string& cas : Starting(s, "CAS*")) EXPECT_NE(Element(cas, 3), "") << cas;
     }},
    {"practice without its tag", "primary_insured", [](Records& r) { SetField(r, "1000", 0, ""); },
     1, " 3//Claim for account N30001 was not written: no practice (1000) record was received//",
     [](const Strings& s) { EXPECT_EQ(s, Strings{}); }},
    {"second practice record that fails to parse", "primary_insured",
     [](Records& r) { Insert(r, 1, "1000", "1000//PR01//SHORT"); }, 1,
     " 3//Claim for account N30001 was not written: no practice (1000) record was received//",
     [](const Strings& s) { EXPECT_EQ(s, Strings{}); }},
    {"no submitter record", "two_practices",
     [](Records& r) { r.erase(r.begin() + static_cast<std::ptrdiff_t>(IndexOf(r, "1050"))); }, 3,
     "was not written: no submitter (1050) record was received//",
     [](const Strings& s) {
       // The second practice brings its own submitter: its claims open the interchange.
       ASSERT_FALSE(s.empty());
       EXPECT_TRUE(s.front().starts_with("ISA*"));
       EXPECT_EQ(s.back().substr(0, 4), "IEA*");
     }},
    {"charge left open at the end of the batch", "primary_insured",
     [](Records& r) { r.pop_back(); }, 1,
     " 3//Record# 11: the charge of account N30001 has no end of charge group (6990); it was not "
     "billed//",
     [](const Strings& s) { EXPECT_EQ(Starting(s, "SV1*").size(), 1u); }},
};

class BadHostData : public E2eTest, public ::testing::WithParamInterface<Case> {};

TEST_P(BadHostData, FileStaysSoundOrTheHostIsTold) {
  const Case& c = GetParam();
  Records records = BatchRecords(c.batch);
  c.damage(records);
  const BatchOutput out = Run(records);
  EXPECT_EQ(out.worstAnswer, c.answer) << ::testing::PrintToString(out.messages);
  if (*c.message != '\0') {
    EXPECT_TRUE(std::any_of(out.messages.begin(), out.messages.end(), [&](const std::string& m) {
      return m.find(c.message) != std::string::npos;
    })) << ::testing::PrintToString(out.messages);
  }
  for (unsigned char ch : out.claimFile) EXPECT_TRUE(ch >= 0x20 && ch < 0x7F) << int{ch};
  if (out.worstAnswer == 0) {
    EXPECT_TRUE(CheckGuideText(out.claimFile).ok());
  }
  const Strings segments = SplitSegments(out.claimFile);
  ExpectBalancedClaims(segments);
  c.expect(segments);
}

INSTANTIATE_TEST_SUITE_P(Faults, BadHostData, ::testing::ValuesIn(kCases), [](const auto& info) {
  std::string name = info.param.name;
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
});

// The final check reads the finished claim file as a payer does: whatever
// damage the file took, its errors come back as messages naming the claim,
// the segment and the rule, the first hundred one by one.
TEST_F(E2eTest, FinalCheckReportsWhatAPayerWouldReject) {
  Format_Class fc;
  fc.HereIsAMessage("1", OutFolder());
  fc.HereIsAMessage("2", "claims.837");
  for (const HostRecord& r : BatchRecords("fifty_lines")) fc.FormatRecord(r.key, r.record);
  ASSERT_EQ(fc.ProcessEndOfFile(), 0);
  ASSERT_EQ(fc.ProcessFormattedRecords(), 0);
  const std::string sound = ReadFile(Out("claims.837"));

  std::string damaged = sound;
  damaged.replace(damaged.find("CLM*"), 4, "CLM*X:");
  WriteFile(Out("claims.837"), damaged);
  EXPECT_EQ(fc.ProcessFormattedRecords(), 1);
  const std::string first = fc.GetAMessage(1);
  EXPECT_TRUE(first.starts_with(" 3//Claim file check: segment ")) << first;
  EXPECT_NE(first.find("2300 CLM01"), std::string::npos) << first;

  // Every service line's charge and units unreadable: more errors than are listed.
  damaged = sound;
  for (std::size_t at = 0; (at = damaged.find("~SV1*", at)) != std::string::npos; ++at) {
    damaged.replace(damaged.find('*', damaged.find('*', at + 5) + 1), 1, "Q*");
    damaged.replace(damaged.find("*UN*", at), 4, "*UN*Q");
  }
  WriteFile(Out("claims.837"), damaged);
  EXPECT_EQ(fc.ProcessFormattedRecords(), 1);
  std::vector<std::string> messages;
  for (std::int32_t i = 1; fc.GetAMessage(i) != "END"; ++i) messages.push_back(fc.GetAMessage(i));
  ASSERT_EQ(messages.size(), 101u);
  EXPECT_TRUE(messages.back().starts_with(" 3//Claim file check: ")) << messages.back();
  EXPECT_NE(messages.back().find(" more errors//"), std::string::npos) << messages.back();
}

// The claim file is read back while it is written (a batch of several
// blocks); a file changed between the end of the batch and the final check
// is checked as it stands then.
TEST_F(E2eTest, FinalCheckReadsAFileChangedAfterTheBatchAsItStands) {
  bench::BatchOptions options;
  options.records = 4000;
  const Batch batch = GeneratedBatch(options);
  for (const bool damage : {false, true}) {
    Format_Class fc;
    fc.HereIsAMessage("1", OutFolder());
    fc.HereIsAMessage("2", "claims.837");
    for (const BatchLine& r : batch) fc.FormatRecord(r.key, r.record);
    ASSERT_EQ(fc.ProcessEndOfFile(), 0);
    ASSERT_GT(ReadFile(Out("claims.837")).size(), 2u * 64 * 1024);
    if (damage) {
      // The same size, a clock tick later (kernels with coarse file times
      // give changes within the tick of the close the same stamp).
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      std::string text = ReadFile(Out("claims.837"));
      text.replace(text.find("CLM*"), 4, "CLM#");
      WriteFile(Out("claims.837"), text);
    }
    EXPECT_EQ(fc.ProcessFormattedRecords(), damage ? 1 : 0) << damage;
    EXPECT_EQ(fc.GetAMessage(1).starts_with(" 3//Claim file check: segment "), damage)
        << fc.GetAMessage(1);
  }
}

// A line of the alternate-name file with a key and no value is no name.
TEST_F(E2eTest, AlternateNameLineWithoutValueKeepsThePracticeName) {
  WriteFile(ComponentFolder() + "/QBEX_ALT_PRACTICENAME.DAT", "\"PR01\"\nPR01,\nPR02,OTHER\n");
  const BatchOutput out = Run(BatchRecords("primary_insured"));
  EXPECT_EQ(out.worstAnswer, 0) << ::testing::PrintToString(out.messages);
  EXPECT_EQ(Starting(SplitSegments(out.claimFile), "NM1*85*")[0].substr(0, 38),
            "NM1*85*2*NORTHSIDE OCCUPATIONAL HEALTH");
  const std::string log = ReadFile(Out("QZK_WCOMP_P4_Format.Log"));
  EXPECT_NE(log.find("skipped the line of PR01 without a name"), std::string::npos);
  EXPECT_NE(log.find("\"opennacfileout: trying to open _nac.dat 3\""), std::string::npos);
}

}  // namespace
}  // namespace wcomp837::testing
