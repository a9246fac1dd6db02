// The benchmark batch generator: its records must be ones the component
// accepts, in the mix the benchmarks claim, and the same for the same seed.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "batch_generator.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "support/test_support.h"
#include "wcomp837/format_class.h"

namespace wcomp837::testing {
namespace {

struct Line {
  std::string key;
  std::string record;
};

std::vector<Line> Generate(std::int64_t records, std::uint32_t seed) {
  bench::BatchOptions options;
  options.records = records;
  options.seed = seed;
  std::vector<Line> out;
  bench::GenerateBatch(options, [&](const std::string& k, const std::string& r) {
    out.push_back({k, r});
  });
  return out;
}

std::string TypeOf(const std::string& key) {
  return key.substr(key.rfind("//") + 2);
}

TEST(BatchGenerator, RecordsAreAcceptedAndCarryTheDocumentedMix) {
  const std::vector<Line> batch = Generate(6000, 7);
  ASSERT_GE(batch.size(), 6000u);
  std::map<std::string, int> types;
  for (const Line& l : batch) ++types[TypeOf(l.key)];
  for (const char* t :
       {"1000", "1050", "2000", "3000", "3100", "3101", "4000", "5000", "5012", "6000", "6005",
        "6010", "6012", "6020", "6050", "6060", "6100", "6120", "6200", "6310", "6320", "6990"}) {
    EXPECT_GT(types[t], 0) << t;
  }
  EXPECT_EQ(types["6000"], types["6990"]) << "every charge ends with its 6990";

  TempDir dir;
  SetComponentFolderForTesting(SourceDir() + "/examples/settings");
  {
    Format_Class fc;
    fc.HereIsAMessage("1", dir.path());
    fc.HereIsAMessage("2", "gen.837");
    int refused = 0;
    for (const Line& l : batch) refused += fc.FormatRecord(l.key, l.record) != 0;
    EXPECT_EQ(refused, 0) << fc.GetAMessage(1);
    EXPECT_EQ(fc.ProcessEndOfFile(), 0) << fc.GetAMessage(1);
  }
  SetComponentFolderForTesting(std::nullopt);
  const std::string claims = ReadFile(dir.File("gen.837"));
  for (const char* seg : {"~CLM*", "~CAS*", "~CR1*", "~CR2*", "~NM1*DN*", "~NM1*FA*"}) {
    EXPECT_NE(claims.find(seg), std::string::npos) << seg;
  }
  EXPECT_FALSE(ReadFile(dir.File("gen.837_NAC.Dat")).empty());
}

// FNV-1a: a stable fingerprint of a file's bytes.
std::uint64_t Fingerprint(const std::string& text) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char ch : text) h = (h ^ ch) * 1099511628211ull;
  return h;
}

// The output of a large generated batch, with the clock fixed, keeps its
// bytes whatever is done for speed inside the component.
TEST(BatchGenerator, LargeBatchOutputKeepsItsBytes) {
  TempDir dir;
  SetComponentFolderForTesting(SourceDir() + "/examples/settings");
  SetFixedClock(DateTime{2026, 12, 6, 6, 10, 43});
  {
    Format_Class fc;
    fc.HereIsAMessage("1", dir.path());
    fc.HereIsAMessage("2", "big.837");
    bench::BatchOptions options;
    options.records = 100000;
    bench::GenerateBatch(
        options, [&](const std::string& k, const std::string& r) { fc.FormatRecord(k, r); });
    EXPECT_EQ(fc.ProcessEndOfFile(), 0);
  }
  SetFixedClock(std::nullopt);
  SetComponentFolderForTesting(std::nullopt);
  EXPECT_EQ(Fingerprint(ReadFile(dir.File("big.837"))), 17538806183813734826u);
  EXPECT_EQ(Fingerprint(ReadFile(dir.File("big.837_NAC.Dat"))), 16137951891116945723u);
  // The run log names the settings folder, which depends on the checkout.
  std::string log = ReadFile(dir.File("QZK_WCOMP_P4_Format.Log"));
  const std::string folder = SourceDir() + "/examples/settings";
  for (std::size_t at = log.find(folder); at != std::string::npos; at = log.find(folder, at)) {
    log.replace(at, folder.size(), "SETTINGS");
  }
  EXPECT_EQ(Fingerprint(log), 7422968221300633888u);
}

TEST(BatchGenerator, TheSeedDecidesTheBatch) {
  const auto same = [](const std::vector<Line>& a, const std::vector<Line>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (a[i].key != b[i].key || a[i].record != b[i].record) return false;
    }
    return true;
  };
  EXPECT_TRUE(same(Generate(500, 3), Generate(500, 3)));
  EXPECT_FALSE(same(Generate(500, 3), Generate(500, 4)));
}

}  // namespace
}  // namespace wcomp837::testing
