// The command line's options and how they are declared.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

namespace wcomp837::cli {

// The reports the component offers (message 8) and the document each writes
// beside the claim file.
struct ReportOffered {
  int number;
  const char* documentSuffix;
};
inline constexpr ReportOffered kReportsOffered[] = {{1, "_Summary.pdf"}, {2, "_NAC.pdf"}};

struct Options {
  // Settings sent before the batch.
  std::optional<std::string> outputDir;
  std::optional<std::string> claimFile;
  std::optional<int> logLevel;
  std::optional<std::string> testClaims;
  bool fatal = false;
  std::optional<std::string> adjustments;
  std::optional<std::string> dsn;
  std::optional<std::string> batchRowId;
  std::optional<std::string> user;
  std::optional<std::string> printer;
  // Commands.
  std::vector<int> reports;
  bool listPrinters = false;
  bool listReports = false;
  bool deleteBatch = false;
  bool selfDescription = false;
  bool version = false;
  bool quiet = false;
  std::string summaryFormat = "text";
  std::optional<std::string> records;
};

// Declares every option of a batch run on app.
void DeclareOptions(CLI::App& app, Options& opt);
// A usage problem the parser cannot see (missing companions of an option),
// or empty when the options make sense together.
std::string UsageProblem(const Options& opt, bool checking);

}  // namespace wcomp837::cli
