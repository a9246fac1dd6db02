// The command line's records file, messages, summary and exit statuses.
#include <filesystem>

#include "cli_runner.h"

namespace wcomp837::testing {
namespace {

TEST_F(CliTest, UsageErrorsExitWithTwo) {
  EXPECT_EQ(Run("").status, 2);                                        // nothing to do
  EXPECT_EQ(Run("--output-dir " + dir.path() + " in.txt").status, 2);  // no --claim-file
  EXPECT_EQ(Run("--report 1").status, 2);                              // no claim file known
  EXPECT_EQ(Run("--delete-batch").status, 2);
  EXPECT_EQ(Run(Options() + "--log-level 5 in.txt").status, 2);
  EXPECT_EQ(Run(Options() + "--adjustments 0012+0034 in.txt").status, 2);  // 9 characters
  EXPECT_EQ(Run(Options() + "--report x in.txt").status, 2);
  EXPECT_EQ(Run(Options() + "--bogus in.txt").status, 2);
  EXPECT_EQ(Run("check").status, 2);
  RunResult missing = Run(Options() + dir.File("no-such-records.txt"));
  EXPECT_EQ(missing.status, 2);
  EXPECT_TRUE(Contains(missing.err, "cannot read the records file")) << missing.err;
}

TEST_F(CliTest, HelpExplainsTheRecordsFile) {
  RunResult r = Run("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Contains(r.out, "RECORDS FILE"));
  EXPECT_TRUE(Contains(r.out, "B20261206//PR01////1207//0//0//0//0//0//0//6990<TAB>6990"));
  for (const char* option :
       {"--output-dir", "--claim-file", "--log-level", "--test-claims", "--fatal", "--adjustments",
        "--dsn", "--batch-row-id", "--user", "--printer", "--report", "--list-printers",
        "--list-reports", "--delete-batch", "--self-description", "--version", "--quiet",
        "check"}) {
    EXPECT_TRUE(Contains(r.out, option)) << option;
  }
}

TEST_F(CliTest, RecordsFileLinesAndTheSummary) {
  const std::string file = Batch("in.txt", "# a comment\r\n\r\n   \n" + Key("1000") + "\t" +
                                               Practice() + "\r\n" + Key("6340") + "\tX//Y\n");
  RunResult r = Run(Options() + file);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "claims written: 0\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "charges:        0\n"));
  EXPECT_TRUE(Contains(r.out, "records:        2\n"));
  EXPECT_TRUE(Contains(r.out, "claim file:     " + dir.File("c.837") + " (0 bytes)\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "run log:        " + dir.File("QZK_WCOMP_P4_Format.Log") + " ("));
  EXPECT_TRUE(Contains(r.out, "_NAC.Dat:       " + dir.File("c.837_NAC.Dat") + " ("));
  EXPECT_TRUE(Contains(r.out, "result:         0 (done)\n"));
  const std::string log = ReadFile(dir.File("QZK_WCOMP_P4_Format.Log"));
  // The CR is dropped; the comment and blank lines never reach the component.
  EXPECT_TRUE(Contains(log, "\" 1\",\"" + Key("1000") + "\",\"" + Practice() + "\"\r\n"));
  EXPECT_TRUE(Contains(log, "\" 2\",\"" + Key("6340") + "\",\"X//Y\"\r\n"));
  EXPECT_FALSE(Contains(log, "\" 3\""));
}

TEST_F(CliTest, MessagesCarryTheInputLineAndSetTheExitStatus) {
  const std::string parserFails =
      Batch("one.txt", Key("1000") + "\t" + Practice() + "\n#\n" + Key("6050") + "\t6050//SHORT\n");
  RunResult one = Run(Options() + parserFails);
  EXPECT_EQ(one.status, 1);
  EXPECT_TRUE(Contains(one.err,
                       "line 3:  3//QZK_WCOMP_P4_Format.Dll ParseAmbulanceRec() Error:  9 "
                       "Subscript out of range//"))
      << one.err;
  EXPECT_TRUE(Contains(one.out, "result:         1 (messages waiting)\n"));

  const std::string notPractice = Batch("three.txt", "\n" + Key("4000") + "\tP\n");
  RunResult three = Run(Options() + notPractice);
  EXPECT_EQ(three.status, 3);
  EXPECT_TRUE(Contains(three.err,
                       "line 2:  3//1st Record was not Practice Info (type:1000)//\n"
                       "line 2:  3//Please call support for help//\n"))
      << three.err;

  RunResult badLimit = Run(Options() + "--test-claims 5 " + notPractice);
  EXPECT_EQ(badLimit.status, 3);
  EXPECT_TRUE(
      Contains(badLimit.err, "setting 6:  3//QZK_WCOMP_P4_Format.Dll  HereIsAMessage()  Error:"))
      << badLimit.err;
}

TEST_F(CliTest, ReadsStandardInputAndQuietPrintsNothing) {
  const std::string file = Batch("in.txt", Key("1000") + "\t" + Practice() + "\n");
  RunResult r = Run(Options() + "--quiet --log-level 1 -", file);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(Contains(ReadFile(dir.File("QZK_WCOMP_P4_Format.Log")), "\"ParsePracticeRec\""));
}

TEST_F(CliTest, RecordsThatCannotBeReadToTheEndFailTheBatch) {
  // A folder opens like a file but every read fails.
  std::filesystem::create_directory(dir.File("folder"));
  RunResult r = Run(Options() + dir.File("folder"));
  EXPECT_EQ(r.status, 3);
  EXPECT_TRUE(Contains(r.err, "wcomp837: reading the records failed after line 0")) << r.err;
  EXPECT_TRUE(Contains(r.out, "result:         3 (error)\n")) << r.out;
}

}  // namespace
}  // namespace wcomp837::testing
