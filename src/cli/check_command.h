// "wcomp837 check FILE...": reads claim files as a payer's front end does
// and prints the findings, one line per transaction set in the words of an
// acknowledgment (accepted, accepted with errors, rejected) and a total;
// --json prints the same as JSON lines, --997 writes the functional
// acknowledgment.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

namespace wcomp837::cli {

struct CheckOptions {
  std::vector<std::string> files;
  bool json = false;
  std::optional<std::string> acknowledgment;  // --997 FILE
};

// Declares the "check" subcommand on app.
CLI::App* DeclareCheck(CLI::App& app, CheckOptions& opt);

// Exit status: 0 no error found, 1 errors found, 3 a file could not be read
// (or the acknowledgment could not be written). quiet prints the errors
// only.
int RunCheck(const CheckOptions& opt, bool quiet);

}  // namespace wcomp837::cli
