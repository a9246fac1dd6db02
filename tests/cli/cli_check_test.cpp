// "wcomp837 check": the example batch's claim file, a damaged copy (text,
// JSON lines and the 997) and a file that cannot be read.
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli_runner.h"

namespace wcomp837::testing {
namespace {

TEST_F(CliTest, CheckReportsFindingsTransactionSetsAndTotals) {
  ASSERT_EQ(Run(Options() + "--quiet " + ExampleBatch()).status, 0);
  const std::string good = dir.File("c.837");
  const RunResult ok = Run("check " + good);
  EXPECT_EQ(ok.status, 0) << ok.out;
  EXPECT_TRUE(Contains(ok.out, good + ": warning: segment 14, 2010AA PER02: "));
  EXPECT_TRUE(Contains(ok.out, good + ": transaction set 12070002 (segments 61-99): accepted with "
                                      "errors, 1 claim (0 errors, 1 warning)\n"));
  EXPECT_TRUE(Contains(ok.out, good + ": 3 transaction sets: 0 accepted, 3 accepted with errors, "
                                      "0 rejected; 5 claims, 7 service lines; 0 errors, "
                                      "3 warnings\n"))
      << ok.out;

  // A place of service the guide does not know: the set is rejected, the
  // error printed, the JSON lines and the acknowledgment say the same.
  std::string text = ReadFile(good);
  text.replace(text.find("*11::1*"), 7, "*30::1*");
  const std::string bad = Batch("bad.837", text);
  const RunResult rejected = Run("check " + bad);
  EXPECT_EQ(rejected.status, 1);
  EXPECT_TRUE(Contains(rejected.out, bad + ": error: segment 24, 2300 CLM05-1, claim A10023: "
                                           "code value not in the guide's list \"30\"; "))
      << rejected.out;
  EXPECT_TRUE(Contains(rejected.out, "(segments 3-60): rejected, 2 claims (1 error, 1 warning)"));

  const RunResult json = Run("check --json --997 " + dir.File("ack.997") + " " + bad);
  EXPECT_EQ(json.status, 1);
  std::istringstream lines(json.out);
  std::vector<nlohmann::json> objects;
  for (std::string line; std::getline(lines, line);) objects.push_back(nlohmann::json::parse(line));
  ASSERT_FALSE(objects.empty());
  const auto error = std::find_if(objects.begin(), objects.end(),
                                  [](const auto& o) { return o.value("severity", "") == "error"; });
  ASSERT_NE(error, objects.end());
  EXPECT_EQ((*error)["segment"], 24);
  EXPECT_EQ((*error)["loop"], "2300");
  EXPECT_EQ((*error)["element"], "CLM05-1");
  EXPECT_EQ((*error)["value"], "30");
  EXPECT_EQ((*error)["claim"], "A10023");
  EXPECT_EQ(objects.back()["type"], "total");
  EXPECT_EQ(objects.back()["rejected"], 1);
  EXPECT_EQ(objects.back()["exit_status"], 1);
  const std::string ack = ReadFile(dir.File("ack.997"));
  EXPECT_TRUE(Contains(ack, "~AK3*CLM*22*2300*8~AK4*5:1*1331*7*30~AK5*R*5~")) << ack;

  // Several files: the worst status; a file that cannot be read is an error.
  const RunResult several = Run("check " + good + " " + dir.File("missing.837"));
  EXPECT_EQ(several.status, 3);
  EXPECT_TRUE(Contains(several.err, dir.File("missing.837") + ": cannot read the file: "));
  EXPECT_TRUE(Contains(several.out, "total: 2 files (1 unreadable), 3 transaction sets"));
  EXPECT_EQ(Run("--quiet check " + good).out, "");
}

}  // namespace
}  // namespace wcomp837::testing
