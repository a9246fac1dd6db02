#include "cli/check_command.h"

#include <iostream>
#include <memory>

#include "cli/check_output.h"
#include "platform/failure.h"
#include "x12/guide/ack997.h"

namespace wcomp837::cli {
namespace {

constexpr int kErrorsFound = 1;
constexpr int kUnreadable = 3;

}  // namespace

CLI::App* DeclareCheck(CLI::App& app, CheckOptions& opt) {
  CLI::App* check = app.add_subcommand(
      "check", "check 837 claim files as a payer's front end would (004010X098A1)");
  check->footer(
      "Prints every error and warning (a documented departure of the component from the "
      "implementation guide), one line per transaction set (accepted, accepted with errors or "
      "rejected, with its claims) and a total. Exit status: 0 no error found; 1 errors found; "
      "3 a file could not be read or the acknowledgment could not be written.");
  check->add_option("FILE", opt.files, "claim file")->required();
  check->add_flag("--json", opt.json,
                  "print JSON lines: one object per finding, transaction set and file, then the "
                  "total");
  check
      ->add_option("--997", opt.acknowledgment,
                   "also write the functional acknowledgment (997) for the files checked")
      ->type_name("FILE");
  check->fallthrough();
  return check;
}

int RunCheck(const CheckOptions& opt, bool quiet) {
  std::unique_ptr<guide::AckWriter> ack;
  if (opt.acknowledgment) ack = std::make_unique<guide::AckWriter>(*opt.acknowledgment);
  CheckOutput output(std::cout, std::cerr, opt.json, quiet, ack.get());
  CheckRun run;
  int status = 0;
  for (const std::string& path : opt.files) {
    ++run.files;
    output.File(path);
    try {
      const guide::CheckTotals totals = guide::CheckFile(path, output);
      run.Add(totals);
      output.FileDone(totals);
      if (!totals.ok()) status = std::max(status, kErrorsFound);
    } catch (const Failure& f) {
      ++run.unreadable;
      output.FileUnreadable(f.description);
      status = kUnreadable;
    }
  }
  if (ack) {
    try {
      if (!ack->Close()) {
        std::cerr << *opt.acknowledgment
                  << ": no functional group was read, no acknowledgment written\n";
      }
    } catch (const Failure& f) {
      std::cerr << *opt.acknowledgment << ": cannot write the acknowledgment: " << f.description
                << "\n";
      status = kUnreadable;
    }
  }
  output.RunDone(run, status);
  return status;
}

}  // namespace wcomp837::cli
