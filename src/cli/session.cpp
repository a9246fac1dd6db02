#include "cli/session.h"

#include <array>
#include <fstream>
#include <iostream>

#include "cli/driver.h"
#include "cli/progress.h"
#include "cli/record_source.h"
#include "cli/summary.h"
#include "host/shared_state.h"
#include "platform/files.h"
#include "reports/nac_file.h"
#include "reports/reports.h"
#include "state/runlog.h"

namespace wcomp837::cli {
namespace {

constexpr int kUsageError = 2;

// The document each report writes beside the claim file.
struct ReportDocument {
  int number;
  const char* suffix;
};
constexpr std::array<ReportDocument, 2> kReportDocuments = {{{1, "_Summary.pdf"}, {2, "_NAC.pdf"}}};

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
    for (const std::string& name : InstalledPrinters()) std::cout << name << "\n";
  }
}

// Feeds every record, then ends the batch.
void RunBatch(Driver& d, std::istream& in, std::int64_t totalBytes, bool quiet) {
  ProgressLine progress(!quiet && StandardErrorIsTerminal(), totalBytes);
  d.SetBeforeOutput([&progress] { progress.Clear(); });
  const SharedState* g = CurrentSharedState();
  std::int64_t lastLine = 0;
  const bool readToTheEnd = ReadRecords(in, [&](const InputRecord& r) {
    d.TakeForLine(r.lineNumber, d.component().FormatRecord(r.key, r.record));
    progress.Update(g->host.glRecordCount, g->host.glTotalClaims, r.bytesRead);
    lastLine = r.lineNumber;
  });
  progress.Clear();
  d.SetBeforeOutput(nullptr);
  if (!readToTheEnd) {
    // A batch cut short must not end like a complete one: the host's fatal
    // error flag keeps the last claim and the trailers out of the file.
    std::cerr << "wcomp837: reading the records failed after line " << lastLine
              << "; the batch ends as failed\n";
    d.HostFailed();
    d.Send("3", "Y");
  }
  d.Take("end of file", d.component().ProcessEndOfFile());
  d.Take("final check", d.component().ProcessFormattedRecords());
}

// Opens the records file ("-": standard input) and runs the batch; false
// when the file cannot be read.
bool RunBatchFrom(Driver& d, const std::string& records, bool quiet) {
  if (records == "-") {
    RunBatch(d, std::cin, 0, quiet);
    return true;
  }
  std::ifstream file(records, std::ios::binary);
  if (!file) {
    std::cerr << "wcomp837: cannot read the records file " << records << "\n";
    return false;
  }
  RunBatch(d, file, FileLength(records), quiet);
  return true;
}

}  // namespace

int RunSession(const Options& opt) {
  Driver d;
  const SharedState* g = CurrentSharedState();
  SendSettings(d, opt);
  RunQueries(d, opt);

  RunSummary summary;
  if (opt.records) {
    if (!RunBatchFrom(d, *opt.records, opt.quiet)) return kUsageError;
    summary.batchRan = true;
    const std::vector<std::string> answer = d.Ask("HOW_MANY_CLAIMS");
    if (!answer.empty()) summary.claims = ClaimsFromAnswer(answer.front());
    summary.charges = g->host.giChargeCount;
    summary.records = g->host.glRecordCount;
  }
  for (int report : opt.reports) {
    d.Take("report " + std::to_string(report),
           d.component().HereIsAMessage("9", std::to_string(report)));
    for (const ReportDocument& doc : kReportDocuments) {
      if (doc.number == report) summary.reportFiles.push_back(g->host.gsASCIIFile + doc.suffix);
    }
  }
  if (opt.deleteBatch) d.Take("delete batch", d.component().HereIsAMessage("DELETEBATCH", ""));

  summary.result = d.ExitStatus();
  const bool filesInvolved = opt.records || !opt.reports.empty() || opt.deleteBatch;
  if (!opt.quiet && filesInvolved) {
    summary.claimFile = g->host.gsASCIIFile;
    summary.runLog = LogFileName(g->host);
    summary.nacFile = NACFileName(g->host);
    std::cout << SummaryText(summary);
  }
  return summary.result;
}

}  // namespace wcomp837::cli
