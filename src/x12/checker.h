// Re-reads an 837 claim file and checks what a payer's front end rejects
// first: envelope pairs and control numbers, counts, HL numbering, segment
// termination and element counts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wcomp837 {

struct ClaimFileCheck {
  bool ok = false;
  std::vector<std::string> problems;
  std::int64_t segments = 0;
  std::int64_t interchanges = 0;
  std::int64_t groups = 0;
  std::int64_t transactionSets = 0;
  std::int64_t claims = 0;
  std::int64_t serviceLines = 0;
  std::int64_t maxHL = 0;
};

// Checks the claim file at path; problems are listed in file order (at most
// the first 100 are kept).
ClaimFileCheck CheckClaimFile(const std::string& path);
// Checks claim file content held in memory.
ClaimFileCheck CheckClaimText(const std::string& text);

}  // namespace wcomp837
