// The end-of-run summary on standard output, as text or as one JSON object.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace wcomp837::cli {

class MessageSpool;

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
  // The end of the batch and the final check left no error.
  bool claimFileFit = true;
  // The database: its connection string without credentials ("" when none
  // was given), whether it is connected and the table qualifier in use.
  std::string database;
  bool databaseConnected = false;
  std::string qualifier;
  std::string settingsFolder;
};

// The number in a HOW_MANY_CLAIMS answer "TOTALCLAIMS//N//".
std::optional<std::int64_t> ClaimsFromAnswer(const std::string& body);
// What a result means: "done", "messages waiting", "error".
std::string ResultMeaning(int result);
// In words, whether the claim file may be sent.
std::string SendVerdict(const RunSummary& s);
// terminal: standard output is a terminal (paths are shown escaped).
std::string SummaryText(const RunSummary& s, bool terminal);
// One JSON object: counts, files with sizes, the result, the verdict, the
// database and every message (from the spool) with its input line.
void WriteSummaryJson(std::ostream& out, const RunSummary& s, MessageSpool& messages);
// One message as the JSON summary lists it.
std::string MessageJson(const std::string& where, std::int64_t lineNumber,
                        const std::string& entry);

}  // namespace wcomp837::cli
