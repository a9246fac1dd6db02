// The command line: its records file, messages, summary and exit statuses,
// every host setting and command it offers on the example batch, "check"
// (findings, JSON lines and the 997), and the progress line on a terminal.
#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli_runner.h"

namespace wcomp837::testing {
namespace {

// Usage errors exit with 2; an output folder that cannot be written or a
// records file that cannot be read stops the run before any record with one
// line and the system's reason, exit status 3 and nothing written; queries
// answer on standard output with 0.
TEST_F(CliTest, ExitStatusAndFirstLine) {
  const std::string records = Batch("in.txt", Key("1000") + "\t" + Practice() + "\n");
  const std::string aFile = Batch("plain", "");
  std::filesystem::create_directory(dir.File("folder"));
  const std::string both =
      "wcomp837: a batch, --report and --delete-batch need --output-dir and "
      "--claim-file\n";
  const std::string named = "--output-dir " + dir.path() + " --claim-file ";
  struct Case {
    std::string args;
    int status;
    std::string first;  // start of standard error; of standard output for 0
  };
  const Case kCases[] = {
      {"", 2, "wcomp837: nothing to do: give a RECORDS file or a command"},
      {"--output-dir " + dir.path() + " in.txt", 2, both},
      {"--report 1", 2, both},
      {"--delete-batch", 2, both},
      {Options() + "--log-level 5 in.txt", 2, "wcomp837: --log-level: Value 5 not in range 0 to 2"},
      {Options() + "--adjustments 0012+0034 in.txt", 2,
       "wcomp837: --adjustments: needs at least 10 characters"},
      {Options() + "--report x in.txt", 2, "wcomp837: --report: x "},
      {Options() + "--report 3 in.txt", 2, "wcomp837: --report: 3 not in {1,2}"},
      {Options() + "--summary xml in.txt", 2, "wcomp837: --summary: xml not in {text,json}"},
      {Options() + "--bogus in.txt", 2, "wcomp837: "},
      {"check", 2, "wcomp837: FILE is required"},
      {named + "../c.837 in.txt", 2, "wcomp837: --claim-file: "},
      {named + "sub/c.837 in.txt", 2, "wcomp837: --claim-file: "},
      {named + "/tmp/c.837 in.txt", 2, "wcomp837: --claim-file: "},
      {named + "'' in.txt", 2, "wcomp837: --claim-file: "},
      {"--output-dir " + dir.File("missing") + " --claim-file c.837 " + records, 3,
       "wcomp837: cannot write to " + dir.File("missing") + ": No such file or directory\n"},
      {"--output-dir " + aFile + " --claim-file c.837 --report 1", 3,
       "wcomp837: cannot write to " + aFile + ": Not a directory\n"},
      {Options() + dir.File("no-such.txt"), 3,
       "wcomp837: cannot read " + dir.File("no-such.txt") + ": No such file or directory\n"},
      {Options() + dir.File("folder"), 3,
       "wcomp837: cannot read " + dir.File("folder") + ": Is a directory\n"},
      {"--version", 0, "1306.4.1\n"},
      {"--list-reports", 0, "1  Summary\n2  Secondaries Missing Adjustment Reason Codes\n"},
      {"--list-printers", 0, "PDF\n"},
      {"--self-description", 0,
       "BCM//0005//1306.4.1\nBCM//0010//E~Workers COMP Prof.837 (ANSI 4010 A1)~0~0~A\n"},
  };
  for (const Case& c : kCases) {
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ((c.status == 0 ? r.out : r.err).rfind(c.first, 0), 0u) << c.args << r.out << r.err;
    if (c.status == 3) {
      EXPECT_EQ(r.err + r.out, c.first);  // that one line, nothing else
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("QZK_WCOMP_P4_Format.Log")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("c.837")));

  const RunResult help = Run("--help");
  EXPECT_EQ(help.status, 0);
  ExpectParts(help.out, {"RECORDS FILE", "--output-dir", "--list-printers", "--delete-batch",
                         "B20261206//PR01////1207//0//0//0//0//0//0//6990<TAB>6990"});
}

TEST_F(CliTest, RecordsFileLinesAndTheSummary) {
  // LF, CR LF and a lone CR all end a line.
  const std::string file =
      Batch("in.txt", "# a comment\r\n\r\n   \n" + Key("1000") + "\t" + Practice() + "\r" +
                          Key("6340") + "\tX//Y\r\n" + Key("6340") + "\tZ\n");
  RunResult r = Run(Options() + file);
  EXPECT_EQ(r.status, 0) << r.err;
  ExpectParts(
      r.out, {"claims written: 0\n", "charges:        0\n", "records:        3\n",
              "send it:        nothing to send: no claim was written\n", "database:       none\n",
              "settings:       " + ComponentFolder() + "\n",
              "claim file:     " + dir.File("c.837") + " (0 bytes)\n",
              "run log:        " + dir.File("QZK_WCOMP_P4_Format.Log") + " (",
              "_NAC.Dat:       " + dir.File("c.837_NAC.Dat") + " (", "result:         0 (done)\n"});
  const std::string log = ReadFile(dir.File("QZK_WCOMP_P4_Format.Log"));
  // The CR is dropped; the comment and blank lines never reach the component.
  ExpectParts(log, {"\" 1\",\"" + Key("1000") + "\",\"" + Practice() + "\"\r\n",
                    "\" 2\",\"" + Key("6340") + "\",\"X//Y\"\r\n",
                    "\" 3\",\"" + Key("6340") + "\",\"Z\"\r\n"});
  EXPECT_FALSE(Contains(log, "\" 4\""));
}

// The record lines of a run log: "<count>","<key>","<record>".
std::vector<std::string> RecordDumps(const std::string& log) {
  std::vector<std::string> dumps;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("\" ") && line.find("\",\"") != std::string::npos) dumps.push_back(line);
  }
  return dumps;
}

// A records file is read one block ahead on a thread of its own: the
// component is given the same lines, in the same order, as from standard
// input, which is read as it is needed. The lines are of many lengths, so
// that they cross the blocks at every kind of place, CR LF pairs among them.
TEST_F(CliTest, ARecordsFileReadAheadGivesTheSameLinesAsStandardInput) {
  std::string content = Key("1000") + "\t" + Practice() + "\n";
  std::string last;
  for (int i = 0; content.size() < 900 * 1024; ++i) {
    last = "X//" +
           std::string(static_cast<std::size_t>(i * 37 % 701), static_cast<char>('A' + i % 26));
    content += Key("6340") + "\t" + last + (i % 5 == 0 ? "\r\n" : "\n");
  }
  const std::string file = Batch("in.txt", content);
  const std::string log = dir.File("QZK_WCOMP_P4_Format.Log");
  RunResult fromFile = Run(Options() + "--quiet " + file);
  EXPECT_EQ(fromFile.status, 0) << fromFile.err;
  const std::vector<std::string> read = RecordDumps(ReadFile(log));
  std::remove(log.c_str());  // the run log is added to, run after run
  RunResult fromInput = Run(Options() + "--quiet -", file);
  EXPECT_EQ(fromInput.status, 0) << fromInput.err;
  const std::vector<std::string> piped = RecordDumps(ReadFile(log));
  ASSERT_EQ(read.size(),
            static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n')));
  EXPECT_TRUE(read == piped);
  EXPECT_TRUE(read.back().ends_with("\",\"" + last + "\"\r")) << read.back();
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

  // A line no host record comes near is not read into memory whole.
  const std::string huge = Batch("huge.txt", Key("1000") + "\t" + Practice() + "\n" + Key("6000") +
                                                 "\t" + std::string(16 << 20, 'X'));
  r = Run(Options() + huge);
  EXPECT_EQ(r.status, 3);
  EXPECT_TRUE(Contains(r.err, "after line 1: a line is longer than 16777216 bytes; the batch"))
      << r.err;
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

TEST_F(CliTest, ExampleBatchWithReportsAndDeletion) {
  RunResult r = Run(Options() + "--user MJONES --batch-row-id 881 --adjustments 0012+0034- " +
                    "--printer PDF --report 1 --report 2 " + ExampleBatch());
  EXPECT_EQ(r.status, 0) << r.err;
  // Printing a report deletes the run log first.
  ExpectParts(r.out, {"claims written: 5\n", "charges:        7\n",
                      "send it:        yes: the claim file is complete and passed the check",
                      "report:         " + dir.File("c.837_Summary.pdf") + " (",
                      "report:         " + dir.File("c.837_NAC.pdf") + " (",
                      dir.File("QZK_WCOMP_P4_Format.Log") + " (not present)\n"});
  EXPECT_EQ(ReadFile(dir.File("c.837_Summary.pdf")).rfind("%PDF", 0), 0u);
  EXPECT_EQ(ReadFile(dir.File("c.837_NAC.pdf")).rfind("%PDF", 0), 0u);
  const std::string claims = ReadFile(dir.File("c.837"));
  EXPECT_EQ(claims.rfind("ISA*", 0), 0u);
  EXPECT_TRUE(Contains(claims, "~IEA*2*000001207~"));

  // Reports of a finished batch, then the batch's _NAC.Dat file deleted.
  RunResult later = Run(Options() + "--report 2 --delete-batch");
  EXPECT_EQ(later.status, 0) << later.err;
  EXPECT_FALSE(std::filesystem::exists(dir.File("c.837_NAC.Dat")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("c.837")));
  EXPECT_TRUE(
      Contains(later.out, "_NAC.Dat:       " + dir.File("c.837_NAC.Dat") + " (not present)\n"));
}

TEST_F(CliTest, FatalAndTestClaimsLimitWhatIsWritten) {
  // The host's fatal error: the claim file is incomplete and may not be sent.
  RunResult fatal = Run(Options() + "--fatal " + ExampleBatch());
  EXPECT_EQ(fatal.status, 3) << fatal.err;
  EXPECT_TRUE(Contains(fatal.out, "claims written: 4\n")) << fatal.out;
  EXPECT_TRUE(Contains(fatal.out,
                       "send it:        no: the claim file is incomplete or failed the "
                       "check\n"));
  // No last claim and no trailers: the file does not end with IEA.
  EXPECT_FALSE(Contains(ReadFile(dir.File("c.837")), "IEA*"));

  RunResult limited = Run(Options() + "--test-claims 0//2 --log-level 2 " + ExampleBatch());
  EXPECT_EQ(limited.status, 0) << limited.err;
  const std::string claims = ReadFile(dir.File("c.837"));
  const std::string isa = claims.substr(0, claims.find('~'));
  EXPECT_EQ(isa.substr(isa.size() - 4), "*T*:") << isa;  // ISA15 usage indicator: test
  EXPECT_TRUE(Contains(ReadFile(dir.File("QZK_WCOMP_P4_Format.Log")),
                       "...ignoring, we already have testclaims_ending=  2"));
}

TEST_F(CliTest, FailedDatabaseConnectionIsNotReportedAsSuccess) {
  // A private, empty ODBC configuration: the data source does not exist.
  const std::string env = "ODBCSYSINI=" + dir.path() + " ODBCINI=" + dir.File("odbc.ini") + " ";
  WriteFile(dir.File("odbc.ini"), "");
  WriteFile(dir.File("odbcinst.ini"), "");
  RunResult r = RunProgram(env + Cli(), Options() + "--dsn NOSUCHDSN " + ExampleBatch());
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_TRUE(Contains(r.err, "setting CONNECTIONSTRING:  3//")) << r.err;
  EXPECT_FALSE(Contains(r.err, "PWD=")) << r.err;
  EXPECT_TRUE(Contains(r.out, "result:         1 (messages waiting)\n"));
}

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

  // The acknowledgment goes where the name leads, as with any tool's output
  // (a link, /dev/stdout), and never replaces what stands there.
  std::filesystem::create_symlink(dir.File("written.997"), dir.File("ack.997"));
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
  for (const auto& [field, value] :
       {std::pair{"loop", "2300"}, {"element", "CLM05-1"}, {"value", "30"}, {"claim", "A10023"}}) {
    EXPECT_EQ((*error)[field], value) << field;
  }
  EXPECT_EQ(objects.back()["type"], "total");
  EXPECT_EQ(objects.back()["rejected"], 1);
  EXPECT_EQ(objects.back()["exit_status"], 1);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("ack.997")));
  const std::string ack = ReadFile(dir.File("written.997"));
  EXPECT_TRUE(Contains(ack, "~AK3*CLM*22*2300*8~AK4*5:1*1331*7*30~AK5*R*5~")) << ack;

  // Several files: the worst status; a file that cannot be read is an error.
  const RunResult several = Run("check " + good + " " + dir.File("missing.837"));
  EXPECT_EQ(several.status, 3);
  EXPECT_TRUE(Contains(several.err, dir.File("missing.837") + ": cannot read the file: "));
  EXPECT_TRUE(Contains(several.out, "total: 2 files (1 unreadable), 3 transaction sets"));
  EXPECT_EQ(Run("--quiet check " + good).out, "");
}

TEST_F(CliTest, ProgressLineOnATerminalOnly) {
  // The command runs on a pseudo-terminal; r.out is what the terminal received.
  const auto onTerminal = [&](const std::string& command) {
    return RunProgram("script -qec '" + command + "' /dev/null", "");
  };
  // The example batch several times over: claims of one practice repeat.
  std::string batch;
  for (int i = 0; i < 20; ++i) batch += ReadFile(ExampleBatch());
  const std::string file = Batch("big.txt", batch);

  const RunResult terminal =
      onTerminal(Cli() + " " + Options() + file + " >" + dir.File("out.txt"));
  EXPECT_EQ(terminal.status, 0) << terminal.out;
  // The estimate of the time left is not checked: it depends on how fast
  // the first records went, which a busy machine decides.
  ExpectParts(terminal.out,
              {" records  ", " claims  ", " records/s  ", "%  0:0", " elapsed  ", " left"});
  // The line is erased at the end and the summary is not on the terminal.
  EXPECT_TRUE(terminal.out.ends_with("\r\x1b[2K")) << terminal.out;
  EXPECT_FALSE(Contains(terminal.out, "claims written"));
  EXPECT_TRUE(Contains(ReadFile(dir.File("out.txt")), "claims written: 100\n"));
  // Not on a terminal, or quiet: no progress.
  EXPECT_EQ(Run(Options() + file).err, "");
  EXPECT_EQ(onTerminal(Cli() + " --quiet " + Options() + file).out, "");

  // A record key with an escape sequence: on a terminal the message echoing
  // it shows it escaped.
  const std::string hostile =
      Batch("hostile.txt", Key("1000") + "\t" + Practice() + "\n\x1b[31mRED\tX\n");
  const RunResult shown = onTerminal(Cli() + " " + Options() + hostile);
  EXPECT_EQ(shown.status, 3);
  EXPECT_TRUE(Contains(shown.out, "Record Key: \\x1B[31mRED")) << shown.out;
  EXPECT_FALSE(Contains(shown.out, "\x1b[31m"));
}

}  // namespace
}  // namespace wcomp837::testing
