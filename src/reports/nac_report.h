// Report 2: the list of secondary lines missing adjustment reason codes.
#pragma once

#include <cstdint>
#include <string>

#include "reports/print_state.h"

namespace wcomp837 {

inline constexpr std::int16_t kNACLineWidth = 85;

// Prints the _NAC.Dat file of the claim file gsASCIIFile. 0 done, 3 failure.
std::int16_t NAC_Report(const PrintCtx& c, const std::string& formatID, const std::string& title);
// Answers the default length when the file can be opened for reading;
// otherwise adds the two messages of a missing or unreadable file and
// answers -1.
std::int16_t GetBinaryRecLen(const PrintCtx& c, const std::string& file,
                             std::int16_t defaultLength);
// The text of one record: the quoted item of a line (blanks before the
// opening quote skipped, everything up to the closing quote taken).
std::string QuotedItem(const std::string& line);

}  // namespace wcomp837
