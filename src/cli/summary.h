// The end-of-run summary on standard output.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wcomp837::cli {

struct RunSummary {
  bool batchRan = false;
  std::optional<std::int64_t> claims;  // from HOW_MANY_CLAIMS
  std::int64_t charges = 0;
  std::int64_t records = 0;
  std::string claimFile;
  std::string runLog;
  std::string nacFile;
  std::vector<std::string> reportFiles;  // documents the reports wrote
  int result = 0;
};

// The number in a HOW_MANY_CLAIMS answer "TOTALCLAIMS//N//".
std::optional<std::int64_t> ClaimsFromAnswer(const std::string& body);
// What a result means: "done", "messages waiting", "error".
std::string ResultMeaning(int result);
std::string SummaryText(const RunSummary& s);

}  // namespace wcomp837::cli
