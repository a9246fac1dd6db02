#include "cli/session.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iostream>
#include <optional>

#include "cli/driver.h"
#include "cli/message_spool.h"
#include "cli/preflight.h"
#include "cli/progress.h"
#include "cli/record_source.h"
#include "cli/summary.h"
#include "cli/terminal_text.h"
#include "host/shared_state.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/odbc.h"
#include "reports/nac_file.h"
#include "reports/reports.h"
#include "state/runlog.h"

namespace wcomp837::cli {
namespace {

// The records file or the output folder cannot be used: nothing runs.
constexpr int kCannotRun = 3;

void SendSettings(Driver& d, const Options& opt) {
  if (opt.outputDir) d.Send("1", *opt.outputDir);
  if (opt.claimFile) d.Send("2", *opt.claimFile);
  if (opt.logLevel) d.Send("5", std::to_string(*opt.logLevel));
  if (opt.testClaims) d.Send("6", *opt.testClaims);
  if (opt.fatal) d.Send("3", "Y");
  if (opt.adjustments) d.Send("4", *opt.adjustments);
  if (opt.dsn) d.Send("CONNECTIONSTRING", *opt.dsn);
  if (opt.batchRowId) d.Send("BATCHROWID", *opt.batchRowId);
  if (opt.user) d.Send("TOVIXUSER", *opt.user);
  if (opt.printer) d.Send("7", *opt.printer);
}

void PrintReportList(const std::string& body) {
  int number = 1;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = body.find("//", start);
    std::cout << number++ << "  " << body.substr(start, end - start) << "\n";
    if (end == std::string::npos) break;
    start = end + 2;
  }
}

void RunQueries(Driver& d, const Options& opt) {
  const bool terminal = IsTerminal(STDOUT_FILENO);
  if (opt.version) {
    for (const std::string& v : d.Ask("VER")) std::cout << v << "\n";
  }
  if (opt.selfDescription) {
    for (const std::string& row : d.Ask("BCM-1")) std::cout << row << "\n";
  }
  if (opt.listReports) {
    for (const std::string& list : d.Ask("8")) PrintReportList(list);
  }
  if (opt.listPrinters) {
    for (const std::string& name : InstalledPrinters()) {
      std::cout << ForOutput(name, terminal) << "\n";
    }
  }
}

// Feeds every record, then ends the batch.
void RunBatch(Driver& d, std::istream& in, const std::string& name, std::int64_t totalBytes,
              bool regularFile, bool quiet) {
  ProgressLine progress(!quiet && StandardErrorIsTerminal(), totalBytes);
  d.SetBeforeOutput([&progress] { progress.Clear(); });
  const SharedState* g = CurrentSharedState();
  std::int64_t lastLine = 0;
  const int readError = ReadRecords(in, regularFile, [&](const InputRecord& r) {
    d.TakeForLine(r.lineNumber, d.component().FormatRecord(r.key, r.record));
    progress.Update(g->host.glRecordCount, g->host.glTotalClaims, r.bytesRead);
    lastLine = r.lineNumber;
  });
  progress.Clear();
  d.SetBeforeOutput(nullptr);
  if (readError != 0) {
    // A batch cut short must not end like a complete one: the host's fatal
    // error flag keeps the last claim and the trailers out of the file.
    const std::string reason =
        readError == kLineTooLong
            ? "a line is longer than " + std::to_string(kMaxLineBytes) + " bytes"
            : SystemReason(readError);
    std::cerr << "wcomp837: cannot read " << ForOutput(name, IsTerminal(STDERR_FILENO))
              << " after line " << lastLine << ": " << reason << "; the batch ends as failed\n";
    d.ClaimFileUnfit();
    d.Send("3", "Y");
  }
  d.TakeEndOfBatch("end of file", d.component().ProcessEndOfFile());
  d.TakeEndOfBatch("final check", d.component().ProcessFormattedRecords());
}

// The records and the output folder must be usable before anything is sent;
// false after printing why not.
bool Preflight(const Options& opt, std::ifstream& records) {
  const bool terminal = IsTerminal(STDERR_FILENO);
  const bool needsFolder = opt.records || !opt.reports.empty() || opt.deleteBatch;
  if (needsFolder && opt.outputDir) {
    const std::string problem = OutputFolderProblem(*opt.outputDir);
    if (!problem.empty()) {
      std::cerr << "wcomp837: cannot write to " << ForOutput(*opt.outputDir, terminal) << ": "
                << problem << "\n";
      return false;
    }
  }
  if (opt.records && *opt.records != "-") {
    const std::string problem = OpenRecordsFile(*opt.records, records);
    if (!problem.empty()) {
      std::cerr << "wcomp837: cannot read " << ForOutput(*opt.records, terminal) << ": " << problem
                << "\n";
      return false;
    }
  }
  return true;
}

void FillSummary(RunSummary& summary, const Options& opt, const SharedState& g,
                 bool filesInvolved) {
  if (filesInvolved) {
    summary.claimFile = g.host.gsASCIIFile;
    summary.runLog = LogFileName(g.host);
    summary.nacFile = NACFileName(g.host);
  }
  if (opt.dsn) summary.database = MaskConnectionString("DSN=" + *opt.dsn);
  summary.databaseConnected = g.host.gbDBConnectionIsGood;
  summary.qualifier = g.ref.qualifier;
  summary.settingsFolder = SettingsFolder();
}

}  // namespace

int RunSession(const Options& opt) {
  std::ifstream records;
  if (!Preflight(opt, records)) return kCannotRun;

  Driver d(IsTerminal(STDERR_FILENO));
  const bool json = opt.summaryFormat == "json";
  std::optional<MessageSpool> spool;
  if (json) {
    spool.emplace(opt.outputDir.value_or(""));
    d.SetListener([&spool](const HeardMessage& m) {
      spool->Add(MessageJson(m.where, m.lineNumber, m.entry));
    });
  }
  const SharedState* g = CurrentSharedState();
  SendSettings(d, opt);
  RunQueries(d, opt);

  RunSummary summary;
  if (opt.records) {
    const bool standardInput = *opt.records == "-";
    // -1 for standard input and anything but a regular file: no share of
    // the whole to show, and nothing to read ahead.
    const std::int64_t length = standardInput ? -1 : RegularFileLength(*opt.records);
    RunBatch(d, standardInput ? std::cin : static_cast<std::istream&>(records), *opt.records,
             std::max<std::int64_t>(length, 0), length >= 0, opt.quiet);
    if (opt.fatal) d.ClaimFileUnfit();  // the last claim and the trailers are left out
    summary.batchRan = true;
    const std::vector<std::string> answer = d.Ask("HOW_MANY_CLAIMS");
    if (!answer.empty()) summary.claims = ClaimsFromAnswer(answer.front());
    summary.charges = g->host.giChargeCount;
    summary.records = g->host.glRecordCount;
  }
  for (int report : opt.reports) {
    d.Take("report " + std::to_string(report),
           d.component().HereIsAMessage("9", std::to_string(report)));
    for (const ReportOffered& offered : kReportsOffered) {
      if (offered.number == report) {
        summary.reportFiles.push_back(g->host.gsASCIIFile + offered.documentSuffix);
      }
    }
  }
  if (opt.deleteBatch) d.Take("delete batch", d.component().HereIsAMessage("DELETEBATCH", ""));

  summary.result = d.ExitStatus();
  summary.claimFileFit = d.ClaimFileFit();
  const bool filesInvolved = opt.records || !opt.reports.empty() || opt.deleteBatch;
  FillSummary(summary, opt, *g, filesInvolved);
  if (json) {
    WriteSummaryJson(std::cout, summary, *spool);
  } else if (!opt.quiet && filesInvolved) {
    std::cout << SummaryText(summary, IsTerminal(STDOUT_FILENO));
  }
  return summary.result;
}

}  // namespace wcomp837::cli
