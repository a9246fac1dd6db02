// Large batches: one practice and one billing provider in one transaction
// set whose HL numbers pass 32767, with every count and control number right;
// and a generated batch whose files keep their bytes whatever is done for
// speed inside the component.
#include <gtest/gtest.h>

#include "faults/batch_runner.h"
#include "faults/component_env.h"

namespace wcomp837::testing {
namespace {

// The sanitizer build is several times slower: fewer records, still well
// past the 16-bit HL range.
#ifdef WCOMP837_SANITIZED_BUILD
constexpr std::int64_t kRecords = 160000;
#else
constexpr std::int64_t kRecords = 200000;
#endif

// A generated batch (key field 4 is the claim's line number, field 10 the
// record type) cut down to one practice and billing provider sent once,
// and claims of one service line each: many claims, and so many HL numbers,
// for the records sent.
Batch ManySmallClaims(std::int64_t records) {
  Batch batch;
  bool topSent = false;
  bench::GenerateBatch(
      {.records = records * 8, .seed = 31, .practices = 1, .providersPerPractice = 1},
      [&](const std::string& key, const std::string& record) {
        if (static_cast<std::int64_t>(batch.size()) >= records) return;
        const std::string type = Fields(key).at(10);
        if (type == "1000" || type == "1050" || type == "2000") {
          if (topSent) return;
          topSent = type == "2000";
        } else if (type[0] == '6' && Fields(key).at(4) != "1") {
          return;
        }
        batch.push_back({key, record});
      });
  while (!batch.empty() && Fields(batch.back().key).at(10) != "6990") batch.pop_back();
  return batch;
}

class LargeBatch : public ComponentEnv {};

TEST_F(LargeBatch, TransactionSetPastTheSixteenBitHLRangeChecksOut) {
  Batch batch = ManySmallClaims(kRecords);
  ASSERT_GE(static_cast<std::int64_t>(batch.size()), kRecords - 20);

  Format_Class fc;
  const HostView v = RunBatch(fc, OutFolder(), "large.837", batch);
  batch.clear();
  EXPECT_EQ(v.FirstRecordAnswering(3), -1);
  EXPECT_EQ(v.endOfFile, 0);
  EXPECT_EQ(v.finalCheck, 0);
  EXPECT_TRUE(v.messages.empty()) << v.messages.front();

  // One transaction set whose HL numbers (two per claim) run past 32767 in
  // sequence: the check verifies every HL01 and parent link.
  const GuideReport check = CheckGuideFile(Out("large.837"));
  EXPECT_TRUE(check.ok()) << ::testing::PrintToString(check.errors);
  EXPECT_EQ(check.totals.interchanges, 1);
  EXPECT_EQ(check.totals.groups, 1);
  EXPECT_EQ(check.totals.sets, 1);
  EXPECT_GT(check.totals.claims, 16384);
  EXPECT_GT(check.totals.segments, 100000);

  // The host's claim count agrees with the file.
  ASSERT_EQ(fc.HereIsAMessage("HOW_MANY_CLAIMS", ""), 1);
  EXPECT_EQ(fc.GetAMessage(1), " 1//TOTALCLAIMS//" + std::to_string(check.totals.claims) + "//");
}

// FNV-1a: a stable fingerprint of a file's bytes.
std::uint64_t Fingerprint(const std::string& text) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char ch : text) h = (h ^ ch) * 1099511628211ull;
  return h;
}

// The generated batch of the benchmarks, every record accepted; the run log
// names the settings folder, which depends on the checkout.
TEST_F(LargeBatch, GeneratedBatchOutputKeepsItsBytes) {
  SetComponentFolderForTesting(SourceDir() + "/examples/settings");
  Format_Class fc;
  const HostView v = RunBatch(fc, OutFolder(), "big.837", GeneratedBatch({.records = 100000}));
  EXPECT_EQ(v.FirstRecordAnswering(1), -1);
  EXPECT_EQ(v.FirstRecordAnswering(3), -1);
  EXPECT_EQ(v.endOfFile, 0);
  EXPECT_EQ(Fingerprint(ReadFile(Out("big.837"))), 17538806183813734826u);
  EXPECT_EQ(Fingerprint(ReadFile(Out("big.837_NAC.Dat"))), 16137951891116945723u);
  const std::string log = ReplaceAll(ReadFile(Out("QZK_WCOMP_P4_Format.Log")),
                                     SourceDir() + "/examples/settings", "SETTINGS");
  EXPECT_EQ(Fingerprint(log), 7422968221300633888u);
}

}  // namespace
}  // namespace wcomp837::testing
