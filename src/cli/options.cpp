#include "cli/options.h"

namespace wcomp837::cli {
namespace {

constexpr const char* kRecordsHelp = R"(RECORDS FILE
  One host record per line: the record key, one TAB, the record. The key has
  eleven fields separated by "//" (field 3 is the submission number, the base
  of the control numbers; field 10 is the record type); the record's fields
  are separated by "//" too and its first field repeats the record type. The
  first record must be a practice record (1000); each charge (6000 with its
  companion records) ends with a 6990 record. Lines end with LF, CR LF or a
  lone CR; blank lines and lines starting with "#" are skipped, a line without
  a TAB is all key; a line longer than 16 MiB ends the batch as failed. "-"
  reads standard input. Example line (<TAB> is one TAB character):

    B20261206//PR01////1207//0//0//0//0//0//0//6990<TAB>6990

ORDER OF WORK
  The output folder must exist and be writable and the records file
  readable, else nothing runs. Settings, then --version, --self-description,
  --list-reports and --list-printers, then the batch, then every --report in
  the order given, then --delete-batch. Messages of the component go to
  standard error with the input line they belong to (control characters
  shown as \xHH on a terminal). On a terminal a progress line shows on
  standard error; at the end a summary shows on standard output, saying
  whether the claim file may be sent.

SETTINGS FILES
  QBEX_ALT_PRACTICENAME.DAT and QBEX_CFG_NPICMS.DAT are read from the
  program's own folder, or from /etc/wcomp837 when the program is installed
  in /usr/bin (PREFIX/etc/wcomp837 for another prefix).

EXIT STATUS
  0 every call answered 0: the claim file may be sent.
  1 messages waiting: the claim file is complete and passed the check.
  3 the claim file may not be sent: a call answered 3, the end of the batch
    or the final check left an error, the records could not be read to the
    end, --fatal was given, or the output folder or records file is unusable.
  2 usage error.
  check: 0 no problem found; 1 problems found; 3 a file could not be read.)";

// A claim file name names no folder.
std::string PlainFileName(const std::string& name) {
  if (name.empty()) return "needs a file name";
  if (name.find('/') != std::string::npos) return "names a file without a folder (no \"/\")";
  return {};
}

}  // namespace

void DeclareOptions(CLI::App& app, Options& opt) {
  app.footer(kRecordsHelp);
  app.add_option("--output-dir", opt.outputDir,
                 "folder of the claim file, run log and _NAC.Dat (message 1)")
      ->type_name("DIR");
  app.add_option("--claim-file", opt.claimFile, "claim file name, no folder (message 2)")
      ->type_name("NAME")
      ->check(PlainFileName);
  app.add_option("--log-level", opt.logLevel,
                 "run log level 0-2 before the first record (message 5)")
      ->check(CLI::Range(0, 2))
      ->type_name("N");
  app.add_option("--test-claims", opt.testClaims,
                 "test claims: stop after END claims, as START//END (message 6)")
      ->type_name("S//E");
  app.add_flag("--fatal", opt.fatal,
               "the host had a fatal error: no claim is written at the end (message 3 \"Y\")");
  app.add_option("--adjustments", opt.adjustments,
                 "two signed adjustments as NNNNsNNNNs, s a sign, e.g. 0012+0034- (message 4)")
      ->type_name("NNNNsNNNNs")
      ->check([](const std::string& v) {
        return v.size() >= 10 ? std::string() : std::string("needs at least 10 characters");
      });
  app.add_option("--dsn", opt.dsn, "ODBC data source of the host's database (CONNECTIONSTRING)")
      ->type_name("NAME");
  app.add_option("--batch-row-id", opt.batchRowId, "the host's batch row identifier (BATCHROWID)")
      ->type_name("ID");
  app.add_option("--user", opt.user, "the host's user name (TOVIXUSER)")->type_name("NAME");
  app.add_option("--printer", opt.printer,
                 "printer of the reports, see --list-printers (message 7)")
      ->type_name("NAME");
  std::vector<int> offered;
  for (const ReportOffered& r : kReportsOffered) offered.push_back(r.number);
  app.add_option("--report", opt.reports,
                 "after the batch, print report N: 1 summary, 2 secondaries missing adjustment "
                 "reason codes (message 9; repeatable)")
      ->type_name("N")
      ->check(CLI::IsMember(offered))
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_flag("--list-printers", opt.listPrinters, "list the printers the reports can use");
  app.add_flag("--list-reports", opt.listReports, "list the reports (message 8)");
  app.add_flag("--delete-batch", opt.deleteBatch,
               "delete the batch's _NAC.Dat file, last of all (DELETEBATCH)");
  app.add_flag("--self-description", opt.selfDescription,
               "print the self-description rows (BCM-1)");
  app.add_flag("--version", opt.version, "print the component version (VER)");
  app.add_flag("-q,--quiet", opt.quiet, "no progress line and no text summary");
  app.add_option("--summary", opt.summaryFormat,
                 "the end summary as text, or as one JSON object for scripts (every message "
                 "with its input line, the files with their sizes)")
      ->type_name("text|json")
      ->check(CLI::IsMember({"text", "json"}));
  app.add_option("RECORDS", opt.records, "records file, - for standard input");
}

std::string UsageProblem(const Options& opt, bool checking) {
  if (checking) return {};
  const bool needsBatchFiles = opt.records || !opt.reports.empty() || opt.deleteBatch;
  if (needsBatchFiles && (!opt.outputDir || !opt.claimFile)) {
    return "a batch, --report and --delete-batch need --output-dir and --claim-file";
  }
  const bool anything =
      needsBatchFiles || opt.listPrinters || opt.listReports || opt.selfDescription || opt.version;
  if (!anything) return "nothing to do: give a RECORDS file or a command (see --help)";
  return {};
}

}  // namespace wcomp837::cli
