// The wcomp837 command line, run as a separate program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/test_support.h"

namespace wcomp837::testing {
namespace {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

class CliTest : public ::testing::Test {
 protected:
  // Runs the command line with the arguments (already quoted as needed).
  RunResult Run(const std::string& args, const std::string& stdinFile = "/dev/null") {
    const std::string cmd = std::string(WCOMP837_CLI) + " " + args + " <" + stdinFile + " >" +
                            dir.File("stdout.txt") + " 2>" + dir.File("stderr.txt");
    const int raw = std::system(cmd.c_str());
    RunResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(dir.File("stdout.txt"));
    r.err = ReadFile(dir.File("stderr.txt"));
    return r;
  }
  std::string Batch(const std::string& name, const std::string& content) {
    WriteFile(dir.File(name), content);
    return dir.File(name);
  }
  std::string Options() const { return "--output-dir " + dir.path() + " --claim-file c.837 "; }
  static std::string Key(const std::string& type) {
    return "0//0//0//42//0//0//0//0//0//0//" + type;
  }
  static std::string Practice() {
    std::string rec = "1000//PR01//RIVERSIDE ORTHOPEDICS";
    for (int i = 3; i < 21; ++i) rec += "//F" + std::to_string(i);
    return rec;
  }

  TempDir dir;
};

TEST_F(CliTest, UsageErrorsExitWithTwo) {
  EXPECT_EQ(Run("").status, 2);
  EXPECT_EQ(Run("--output-dir " + dir.path() + " in.txt").status, 2);  // no --claim-file
  EXPECT_EQ(Run(Options() + "--log-level 5 in.txt").status, 2);
  EXPECT_EQ(Run(Options() + "--bogus in.txt").status, 2);
  RunResult missing = Run(Options() + dir.File("no-such-records.txt"));
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("cannot read the records file"), std::string::npos);
  EXPECT_EQ(Run("--help").status, 0);
}

TEST_F(CliTest, RecordsFileLinesAndWhereTheFilesWent) {
  const std::string file = Batch("in.txt", "# a comment\r\n\r\n   \n" + Key("1000") + "\t" +
                                               Practice() + "\r\n" + Key("6340") + "\tX//Y\n");
  RunResult r = Run(Options() + file);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("claim file: " + dir.File("c.837") + "\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("run log:    " + dir.File("QZK_WCOMP_P4_Format.Log") + "\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("_NAC.Dat:   " + dir.File("c.837_NAC.Dat") + "\n"), std::string::npos);
  const std::string log = ReadFile(dir.File("QZK_WCOMP_P4_Format.Log"));
  // The CR is dropped; the comment and blank lines never reach the component.
  EXPECT_NE(log.find("\" 1\",\"" + Key("1000") + "\",\"" + Practice() + "\"\r\n"),
            std::string::npos);
  EXPECT_NE(log.find("\" 2\",\"" + Key("6340") + "\",\"X//Y\"\r\n"), std::string::npos);
  EXPECT_EQ(log.find("\" 3\""), std::string::npos);
}

TEST_F(CliTest, MessagesCarryTheInputLineAndSetTheExitStatus) {
  const std::string parserFails =
      Batch("one.txt", Key("1000") + "\t" + Practice() + "\n#\n" + Key("6050") + "\t6050//SHORT\n");
  RunResult one = Run(Options() + parserFails);
  EXPECT_EQ(one.status, 1);
  EXPECT_NE(one.err.find("line 3:  3//QZK_WCOMP_P4_Format.Dll ParseAmbulanceRec() Error:  9 "
                         "Subscript out of range//"),
            std::string::npos)
      << one.err;

  const std::string notPractice = Batch("three.txt", "\n" + Key("4000") + "\tP\n");
  RunResult three = Run(Options() + notPractice);
  EXPECT_EQ(three.status, 3);
  EXPECT_NE(three.err.find("line 2:  3//1st Record was not Practice Info (type:1000)//\n"
                           "line 2:  3//Please call support for help//\n"),
            std::string::npos)
      << three.err;

  RunResult badLimit = Run(Options() + "--test-claims 5 " + notPractice);
  EXPECT_NE(badLimit.err.find("setting 6:  3//QZK_WCOMP_P4_Format.Dll  HereIsAMessage()  Error:"),
            std::string::npos)
      << badLimit.err;
}

TEST_F(CliTest, ReadsStandardInput) {
  const std::string file = Batch("in.txt", Key("1000") + "\t" + Practice() + "\n");
  RunResult r = Run(Options() + "--log-level 1 -", file);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(ReadFile(dir.File("QZK_WCOMP_P4_Format.Log")).find("\"ParsePracticeRec\""),
            std::string::npos);
}

TEST_F(CliTest, ExampleBatchRuns) {
  RunResult r = Run(Options() + SourceDir() + "/examples/batch.txt");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string claims = ReadFile(dir.File("c.837"));
  EXPECT_EQ(claims.rfind("ISA*", 0), 0u) << claims.substr(0, 200);
  EXPECT_NE(claims.find("~IEA*"), std::string::npos);
  const std::string nac = ReadFile(dir.File("c.837_NAC.Dat"));
  EXPECT_NE(nac.find("This is a list of patients"), std::string::npos);
}

}  // namespace
}  // namespace wcomp837::testing
