// The C host example drives the example batch through the C interface and
// writes the same claim file as the command line.
#include "cli_runner.h"

namespace wcomp837::testing {
namespace {

// The claim file with the creation date and time blanked out (ISA09, ISA10,
// GS04, GS05, BHT04, BHT05), so that runs a minute apart compare equal.
std::string WithoutCreationTimes(const std::string& claims) {
  std::string out;
  std::size_t start = 0;
  while (start < claims.size()) {
    std::size_t end = claims.find('~', start);
    if (end == std::string::npos) end = claims.size();
    std::string segment = claims.substr(start, end - start);
    const std::string id = segment.substr(0, segment.find('*'));
    const std::pair<int, int> blank = id == "ISA"   ? std::pair{9, 10}
                                      : id == "GS"  ? std::pair{4, 5}
                                      : id == "BHT" ? std::pair{4, 5}
                                                    : std::pair{-1, -1};
    int element = 0;
    for (char& ch : segment) {
      if (ch == '*') {
        ++element;
      } else if (element == blank.first || element == blank.second) {
        ch = '0';
      }
    }
    out += segment + "~";
    start = end + 1;
  }
  return out;
}

TEST_F(CliTest, CHostWritesTheSameClaimFileAsTheCommandLine) {
  ASSERT_EQ(Run(Options() + "--quiet " + ExampleBatch()).status, 0);
  const std::string fromCli = ReadFile(dir.File("c.837"));
  const std::string fromCliNac = ReadFile(dir.File("c.837_NAC.Dat"));

  TempDir other;
  RunResult c = RunProgram(CHost(), other.path() + " c.837 " + ExampleBatch());
  EXPECT_EQ(c.status, 0) << c.err;
  EXPECT_EQ(c.out, "claim file: " + other.File("c.837") + "\n");
  const std::string fromC = ReadFile(other.File("c.837"));
  ASSERT_FALSE(fromC.empty());
  EXPECT_EQ(WithoutCreationTimes(fromC), WithoutCreationTimes(fromCli));
  EXPECT_EQ(ReadFile(other.File("c.837_NAC.Dat")).size(), fromCliNac.size());

  // Errors reach a C host with their messages and the worst result.
  const std::string bad = Batch("bad.txt", Key("4000") + "\tP\n");
  RunResult failed = RunProgram(CHost(), other.path() + " d.837 " + bad);
  EXPECT_EQ(failed.status, 3);
  EXPECT_TRUE(Contains(failed.err, "line 1:  3//1st Record was not Practice Info (type:1000)//"))
      << failed.err;
  EXPECT_EQ(RunProgram(CHost(), "too few").status, 2);
}

}  // namespace
}  // namespace wcomp837::testing
