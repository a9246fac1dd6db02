// The command line's records file, messages, summary and exit statuses.
#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

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
  EXPECT_EQ(Run(Options() + "--report 3 in.txt").status, 2);  // only reports 1 and 2 exist
  EXPECT_EQ(Run(Options() + "--summary xml in.txt").status, 2);
  EXPECT_EQ(Run(Options() + "--bogus in.txt").status, 2);
  EXPECT_EQ(Run("check").status, 2);
  for (const char* name : {"../c.837", "sub/c.837", "/tmp/c.837", "''"}) {
    RunResult r = Run("--output-dir " + dir.path() + " --claim-file " + name + " in.txt");
    EXPECT_EQ(r.status, 2) << name;
    EXPECT_EQ(r.err.rfind("wcomp837: --claim-file: ", 0), 0u) << r.err;
  }
}

// An output folder that cannot be written or a records file that cannot be
// read stops the run before any record: one line with the system's reason,
// exit status 3, nothing written.
TEST_F(CliTest, UnusableFoldersAndRecordsFailFast) {
  const std::string records = Batch("in.txt", Key("1000") + "\t" + Practice() + "\n");
  const std::string aFile = Batch("plain", "");
  std::filesystem::create_directory(dir.File("folder"));
  struct Case {
    std::string args;
    std::string line;
  };
  const Case kCases[] = {
      {"--output-dir " + dir.File("missing") + " --claim-file c.837 " + records,
       "wcomp837: cannot write to " + dir.File("missing") + ": No such file or directory\n"},
      {"--output-dir " + aFile + " --claim-file c.837 --report 1",
       "wcomp837: cannot write to " + aFile + ": Not a directory\n"},
      {Options() + dir.File("no-such.txt"),
       "wcomp837: cannot read " + dir.File("no-such.txt") + ": No such file or directory\n"},
      {Options() + dir.File("folder"),
       "wcomp837: cannot read " + dir.File("folder") + ": Is a directory\n"},
  };
  for (const Case& c : kCases) {
    RunResult r = Run(c.args);
    EXPECT_EQ(r.status, 3) << c.args;
    EXPECT_EQ(r.err, c.line);
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(std::filesystem::exists(dir.File("QZK_WCOMP_P4_Format.Log")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("c.837")));
  }
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
  // LF, CR LF and a lone CR all end a line.
  const std::string file =
      Batch("in.txt", "# a comment\r\n\r\n   \n" + Key("1000") + "\t" + Practice() + "\r" +
                          Key("6340") + "\tX//Y\r\n" + Key("6340") + "\tZ\n");
  RunResult r = Run(Options() + file);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "claims written: 0\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "charges:        0\n"));
  EXPECT_TRUE(Contains(r.out, "records:        3\n"));
  EXPECT_TRUE(Contains(r.out, "send it:        nothing to send: no claim was written\n"));
  EXPECT_TRUE(Contains(r.out, "database:       none\n"));
  EXPECT_TRUE(Contains(r.out, "settings:       " + ComponentFolder() + "\n"));
  EXPECT_TRUE(Contains(r.out, "claim file:     " + dir.File("c.837") + " (0 bytes)\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "run log:        " + dir.File("QZK_WCOMP_P4_Format.Log") + " ("));
  EXPECT_TRUE(Contains(r.out, "_NAC.Dat:       " + dir.File("c.837_NAC.Dat") + " ("));
  EXPECT_TRUE(Contains(r.out, "result:         0 (done)\n"));
  const std::string log = ReadFile(dir.File("QZK_WCOMP_P4_Format.Log"));
  // The CR is dropped; the comment and blank lines never reach the component.
  EXPECT_TRUE(Contains(log, "\" 1\",\"" + Key("1000") + "\",\"" + Practice() + "\"\r\n"));
  EXPECT_TRUE(Contains(log, "\" 2\",\"" + Key("6340") + "\",\"X//Y\"\r\n"));
  EXPECT_TRUE(Contains(log, "\" 3\",\"" + Key("6340") + "\",\"Z\"\r\n"));
  EXPECT_FALSE(Contains(log, "\" 4\""));
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
  // Standard input is a folder: it opens, but every read fails.
  RunResult r = Run(Options() + "-", dir.path());
  EXPECT_EQ(r.status, 3);
  EXPECT_TRUE(Contains(r.err,
                       "wcomp837: cannot read - after line 0: Is a directory; the batch "
                       "ends as failed\n"))
      << r.err;
  EXPECT_TRUE(Contains(r.out,
                       "send it:        no: the claim file is incomplete or failed the "
                       "check\n"))
      << r.out;
}

// --summary json: one object a script can read, with every message and its
// input line.
TEST_F(CliTest, JsonSummaryForScripts) {
  const std::string records = ReadFile(ExampleBatch());
  const std::string file = Batch("in.txt", records + Key("6050") + "\t6050//SHORT\n");
  RunResult r = Run(Options() + "--summary json " + file);
  EXPECT_EQ(r.status, 1) << r.err;
  const nlohmann::json s = nlohmann::json::parse(r.out);  // one object, nothing else
  EXPECT_EQ(s["claims"], 5);
  EXPECT_EQ(s["charges"], 7);
  EXPECT_EQ(s["result"], 1);
  EXPECT_EQ(s["claim_file_fit_to_send"], true);
  EXPECT_EQ(s["database"], nullptr);
  ASSERT_EQ(s["files"].size(), 3u);
  EXPECT_EQ(s["files"][0]["path"], dir.File("c.837"));
  EXPECT_EQ(s["files"][0]["bytes"], ReadFile(dir.File("c.837")).size());
  const std::int64_t lastLine = std::count(records.begin(), records.end(), '\n') + 1;
  ASSERT_EQ(s["messages"].size(), 1u) << r.out;
  EXPECT_EQ(s["messages"][0]["line"], lastLine);
  EXPECT_EQ(s["messages"][0]["type"], 3);
  EXPECT_EQ(s["messages"][0]["text"],
            "QZK_WCOMP_P4_Format.Dll ParseAmbulanceRec() Error:  9 Subscript out of range");
}

}  // namespace
}  // namespace wcomp837::testing
