// The wcomp837 command-line host: drives one claim batch from a records file.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/record_source.h"
#include "cli/terminal_prompt.h"
#include "host/runlog.h"
#include "host/shared_state.h"
#include "platform/files.h"
#include "reports/nac_file.h"
#include "wcomp837/format_class.h"

namespace {

constexpr int kUsageError = 2;

struct Options {
  std::string outputDir;
  std::string claimFile;
  std::optional<int> logLevel;
  std::optional<std::string> testClaims;
  std::optional<std::string> dsn;
  std::string records;
};

// Sends calls to the component, prints the messages each call leaves and
// keeps the worst result.
class Driver {
 public:
  void Take(const std::string& where, std::int16_t result) {
    worst_ = std::max<int>(worst_, result);
    for (std::int32_t i = 1;; ++i) {
      std::string message = component_.GetAMessage(i);
      if (message == "END") break;
      std::cerr << where << ": " << message << "\n";
    }
  }
  void Setting(const std::string& key, const std::string& value) {
    Take("setting " + key, component_.HereIsAMessage(key, value));
  }
  wcomp837::Format_Class& component() { return component_; }
  // 0 when every call answered 0, else the worst answer (1 or 3).
  int ExitStatus() const { return worst_ >= 3 ? 3 : worst_; }

 private:
  wcomp837::Format_Class component_;
  int worst_ = 0;
};

void PrintWhereFilesWent() {
  const wcomp837::SharedState* g = wcomp837::CurrentSharedState();
  if (g == nullptr) return;
  auto show = [](const char* what, const std::string& path) {
    std::cout << what << path << (wcomp837::FileExists(path) ? "" : " (not written)") << "\n";
  };
  show("claim file: ", g->host.gsASCIIFile);
  show("run log:    ", wcomp837::LogFileName(g->host));
  show("_NAC.Dat:   ", wcomp837::NACFileName(g->host));
}

int RunBatch(const Options& opt, std::istream& in) {
  Driver driver;
  driver.Setting("1", opt.outputDir);
  driver.Setting("2", opt.claimFile);
  if (opt.logLevel) driver.Setting("5", std::to_string(*opt.logLevel));
  if (opt.testClaims) driver.Setting("6", *opt.testClaims);
  if (opt.dsn) driver.Setting("CONNECTIONSTRING", *opt.dsn);

  wcomp837::cli::ReadRecords(in, [&](const wcomp837::cli::InputRecord& r) {
    driver.Take("line " + std::to_string(r.lineNumber),
                driver.component().FormatRecord(r.key, r.record));
  });
  driver.Take("end of file", driver.component().ProcessEndOfFile());
  driver.Take("final check", driver.component().ProcessFormattedRecords());
  PrintWhereFilesWent();
  return driver.ExitStatus();
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  CLI::App app{"Writes an 837 Professional workers' compensation claim file from host records."};
  app.add_option("--output-dir", opt.outputDir, "folder of the claim file, run log and _NAC.Dat")
      ->required();
  app.add_option("--claim-file", opt.claimFile, "claim file name (no folder)")->required();
  app.add_option("--log-level", opt.logLevel, "run log level before the first record (0-2)")
      ->check(CLI::Range(0, 2));
  app.add_option("--test-claims", opt.testClaims, "test-claims limit as START//END");
  app.add_option("--dsn", opt.dsn, "ODBC data source of the host's database");
  app.add_option("RECORDS", opt.records, "records file (key TAB record per line), - for stdin")
      ->required();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int rc = app.exit(e);
    return rc == 0 ? 0 : kUsageError;
  }

  try {
    wcomp837::SetUserPrompt(std::make_shared<wcomp837::cli::TerminalPrompt>());
    if (opt.records == "-") return RunBatch(opt, std::cin);
    std::ifstream file(opt.records, std::ios::binary);
    if (!file) {
      std::cerr << "wcomp837: cannot read the records file " << opt.records << "\n";
      return kUsageError;
    }
    return RunBatch(opt, file);
  } catch (const std::exception& e) {
    std::cerr << "wcomp837: " << e.what() << "\n";
    return 3;
  }
}
