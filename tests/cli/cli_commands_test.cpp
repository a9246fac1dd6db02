// Every host setting and command the command line offers, on the example
// batch.
#include <filesystem>

#include "cli_runner.h"

namespace wcomp837::testing {
namespace {

TEST_F(CliTest, QueriesPrintTheirAnswers) {
  RunResult version = Run("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "1306.4.1\n");

  RunResult reports = Run("--list-reports");
  EXPECT_EQ(reports.status, 0);
  EXPECT_EQ(reports.out, "1  Summary\n2  Secondaries Missing Adjustment Reason Codes\n");

  RunResult self = Run("--self-description");
  EXPECT_EQ(self.status, 0);
  EXPECT_EQ(self.out.rfind("BCM//0005//1306.4.1\n"
                           "BCM//0010//E~Workers COMP Prof.837 (ANSI 4010 A1)~0~0~A\n",
                           0),
            0u)
      << self.out;
  EXPECT_EQ(std::count(self.out.begin(), self.out.end(), '\n'), 12);

  RunResult printers = Run("--list-printers");
  EXPECT_EQ(printers.status, 0);
  EXPECT_EQ(printers.out.rfind("PDF\n", 0), 0u) << printers.out;
}

TEST_F(CliTest, ExampleBatchWithReportsAndDeletion) {
  RunResult r = Run(Options() + "--user MJONES --batch-row-id 881 --adjustments 0012+0034- " +
                    "--printer PDF --report 1 --report 2 " + ExampleBatch());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "claims written: 5\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "charges:        7\n"));
  EXPECT_TRUE(
      Contains(r.out, "send it:        yes: the claim file is complete and passed the check"));
  EXPECT_TRUE(Contains(r.out, "report:         " + dir.File("c.837_Summary.pdf") + " ("));
  EXPECT_TRUE(Contains(r.out, "report:         " + dir.File("c.837_NAC.pdf") + " ("));
  // Printing a report deletes the run log first.
  EXPECT_TRUE(Contains(r.out, dir.File("QZK_WCOMP_P4_Format.Log") + " (not present)\n"));
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

}  // namespace
}  // namespace wcomp837::testing
