// Every batch under tests/batches/ runs through the component with the clock
// fixed; its claim file, _NAC.Dat file and run log must equal the reviewed
// expected files byte for byte and pass the implementation-guide check without an
// error. WCOMP837_UPDATE_EXPECTED=1 rewrites the expected files instead (see
// tests/batches/README.md). Together the batches show every documented
// departure from the guide, and no other warning.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "e2e/e2e_env.h"
#include "x12/guide/departures.h"

namespace wcomp837::testing {
namespace {

std::vector<std::string> BatchNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(SourceDir() + "/tests/batches")) {
    if (std::filesystem::exists(entry.path() / "batch.txt")) {
      names.push_back(entry.path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool Updating() {
  const char* v = std::getenv("WCOMP837_UPDATE_EXPECTED");
  return v && std::string(v) == "1";
}

class BatchTest : public E2eTest, public ::testing::WithParamInterface<std::string> {
 protected:
  std::string Dir() const { return SourceDir() + "/tests/batches/" + GetParam(); }
};

TEST_P(BatchTest, MatchesExpectedFilesAndTheGuide) {
  const BatchOutput out = Run(BatchRecords(GetParam()));
  EXPECT_EQ(out.worstAnswer, 0) << ::testing::PrintToString(out.messages);
  ASSERT_FALSE(out.claimFile.empty());

  const GuideReport check = CheckGuideText(out.claimFile);
  EXPECT_EQ(check.errors, std::vector<std::string>{});
  EXPECT_EQ(check.totals.interchanges, 1);

  if (Updating()) {
    WriteFile(Dir() + "/expected.837", out.claimFile);
    WriteFile(Dir() + "/expected_NAC.Dat", out.nacFile);
    WriteFile(Dir() + "/expected.Log", out.runLog);
    GTEST_SKIP() << "expected files rewritten";
  }
  EXPECT_EQ(out.claimFile, ReadFile(Dir() + "/expected.837"));
  EXPECT_EQ(out.nacFile, ReadFile(Dir() + "/expected_NAC.Dat"));
  EXPECT_EQ(out.runLog, ReadFile(Dir() + "/expected.Log"));
}

INSTANTIATE_TEST_SUITE_P(Batches, BatchTest, ::testing::ValuesIn(BatchNames()),
                         [](const auto& info) { return info.param; });

// The warnings of the reviewed claim files are exactly the documented
// departures: each key of the table shows in some batch, no other does.
TEST(GuideDepartures, EachDocumentedDepartureShowsInTheBatches) {
  class Keys : public guide::CheckObserver {
   public:
    void Found(const guide::Finding& f) override {
      if (f.severity == guide::Severity::kWarning) seen.insert(std::string(f.key));
    }
    std::set<std::string> seen;
  } keys;
  for (const std::string& name : BatchNames()) {
    guide::CheckFile(SourceDir() + "/tests/batches/" + name + "/expected.837", keys);
  }
  std::set<std::string> documented;
  for (const guide::Departure& d : guide::Departures()) documented.insert(std::string(d.key));
  EXPECT_EQ(keys.seen, documented);
}

}  // namespace
}  // namespace wcomp837::testing
