// "wcomp837 check": a sound claim file, damaged ones and an unreadable one.
#include "cli_runner.h"

namespace wcomp837::testing {
namespace {

TEST_F(CliTest, CheckFindsWhatAPayerWouldReject) {
  ASSERT_EQ(Run(Options() + "--quiet " + ExampleBatch()).status, 0);
  const std::string good = dir.File("c.837");
  RunResult ok = Run("check " + good);
  EXPECT_EQ(ok.status, 0) << ok.out;
  EXPECT_TRUE(Contains(ok.out, good + ": ")) << ok.out;
  EXPECT_TRUE(Contains(
      ok.out, "1 interchange, 2 functional groups, 3 transaction sets, 5 claims, 7 service lines"))
      << ok.out;
  EXPECT_TRUE(Contains(ok.out, good + ": no problem found\n"));
  EXPECT_EQ(Run("--quiet check " + good).out, "");

  // A claim file cut short: no trailers.
  const std::string text = ReadFile(good);
  const std::string cut = Batch("cut.837", text.substr(0, text.rfind("SE*")));
  RunResult truncated = Run("check " + cut);
  EXPECT_EQ(truncated.status, 1) << truncated.out;
  EXPECT_TRUE(Contains(truncated.out, "found\n"));

  // A segment count that does not match.
  std::string wrongCount = text;
  const std::size_t se = wrongCount.rfind("SE*");
  wrongCount.replace(se, 4, "SE*9");
  RunResult counted = Run("check " + Batch("count.837", wrongCount));
  EXPECT_EQ(counted.status, 1) << counted.out;

  // Several files: the worst status; a file that cannot be read is an error.
  RunResult several = Run("check " + good + " " + dir.File("missing.837"));
  EXPECT_EQ(several.status, 3);
  EXPECT_TRUE(Contains(several.err, dir.File("missing.837") + ": cannot read the file"));
}

}  // namespace
}  // namespace wcomp837::testing
