// Reading the finished claim file back segment by segment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_reader.h"
#include "reports/print_state.h"

namespace wcomp837 {

// Elements of one segment, as views into its text; element 0 is the segment
// identifier.
using SegmentElements = std::vector<std::string_view>;
inline constexpr std::size_t kMaxSegmentElements = 101;

// A longer segment is cut there: the rest of it up to its "~" is skipped, so
// that a damaged file is never held in memory whole.
inline constexpr std::size_t kMaxSegmentBytes = 1024 * 1024;

// Reads the characters up to the next "~" (line breaks skipped) into
// segment, with "*" in place of the "~". 0 done, 3 failure (message added).
std::int16_t ReadNextANSIRecord(const PrintCtx& c, ByteReader& reader, std::string& segment);
// Splits a segment text on "*" (at most 101 elements, none after the final
// "*"). The elements view the segment text, which must outlive them. 0 done,
// 3 failure (message added).
std::int16_t ParseANSIRecord(const PrintCtx& c, std::string_view segment,
                             SegmentElements& elements);
// Component i (0-based) of a composite element split on ":"; "" when it has
// fewer, and past the 101st as for elements.
std::string_view ComponentAt(std::string_view element, std::size_t i);
// Element i, or "" when the segment has fewer.
std::string_view ElementAt(const SegmentElements& elements, std::size_t i);

}  // namespace wcomp837
