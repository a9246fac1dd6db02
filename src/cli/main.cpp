// The wcomp837 command-line host: drives one claim batch from a records file,
// prints reports and answers the component's queries; "check" verifies claim
// files.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "cli/check_command.h"
#include "cli/options.h"
#include "cli/session.h"
#include "cli/terminal_prompt.h"
#include "cli/terminal_text.h"
#include "platform/prompt.h"

namespace {
constexpr int kUsageError = 2;
}  // namespace

int main(int argc, char** argv) {
  wcomp837::cli::Options opt;
  wcomp837::cli::CheckOptions checkOpt;
  CLI::App app{"Writes an 837 Professional workers' compensation claim file from host records."};
  wcomp837::cli::DeclareOptions(app, opt);
  CLI::App* check = wcomp837::cli::DeclareCheck(app, checkOpt);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help
    std::cerr << "wcomp837: " << wcomp837::cli::EscapeControls(e.what())
              << " (see wcomp837 --help)\n";
    return kUsageError;
  }
  const bool checking = check->parsed();
  const std::string problem = wcomp837::cli::UsageProblem(opt, checking);
  if (!problem.empty()) {
    std::cerr << "wcomp837: " << problem << "\n";
    return kUsageError;
  }

  try {
    if (checking) return wcomp837::cli::RunCheck(checkOpt, opt.quiet);
    wcomp837::SetUserPrompt(std::make_shared<wcomp837::cli::TerminalPrompt>());
    return wcomp837::cli::RunSession(opt);
  } catch (const std::exception& e) {
    std::cerr << "wcomp837: " << wcomp837::cli::EscapeControls(e.what()) << "\n";
    return 3;
  }
}
