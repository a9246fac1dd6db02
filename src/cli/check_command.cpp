#include "cli/check_command.h"

#include <algorithm>
#include <iostream>

#include "cli/progress.h"
#include "platform/files.h"
#include "x12/checker.h"

namespace wcomp837::cli {
namespace {

constexpr int kProblems = 1;
constexpr int kUnreadable = 3;

std::string Counted(std::int64_t n, const char* one, const char* many) {
  return Grouped(n) + " " + (n == 1 ? one : many);
}

std::string Findings(const ClaimFileCheck& r) {
  return Counted(r.segments, "segment", "segments") + ", " +
         Counted(r.interchanges, "interchange", "interchanges") + ", " +
         Counted(r.groups, "functional group", "functional groups") + ", " +
         Counted(r.transactionSets, "transaction set", "transaction sets") + ", " +
         Counted(r.claims, "claim", "claims") + ", " +
         Counted(r.serviceLines, "service line", "service lines") + ", highest HL " +
         Grouped(r.maxHL);
}

int CheckOne(const std::string& path, bool quiet) {
  if (FileLength(path) < 0) {
    std::cerr << path << ": cannot read the file\n";
    return kUnreadable;
  }
  const ClaimFileCheck r = CheckClaimFile(path);
  if (!quiet) std::cout << path << ": " << Findings(r) << "\n";
  for (const std::string& problem : r.problems) std::cout << path << ": " << problem << "\n";
  if (r.ok) {
    if (!quiet) std::cout << path << ": no problem found\n";
    return 0;
  }
  std::cout << path << ": "
            << Counted(static_cast<std::int64_t>(r.problems.size()), "problem", "problems")
            << " found" << (r.problems.size() >= 100 ? " (only the first 100 are listed)" : "")
            << "\n";
  return kProblems;
}

}  // namespace

int RunCheck(const std::vector<std::string>& files, bool quiet) {
  int worst = 0;
  for (const std::string& path : files) worst = std::max(worst, CheckOne(path, quiet));
  return worst;
}

}  // namespace wcomp837::cli
