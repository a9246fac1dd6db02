// Reading the finished claim file back segment by segment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/state.h"
#include "platform/byte_reader.h"

namespace wcomp837 {

// Elements of one segment; element 0 is the segment identifier.
using SegmentElements = std::vector<std::string>;
inline constexpr std::size_t kMaxSegmentElements = 101;

// Reads the characters up to the next "~" (line breaks skipped) into
// segment, with "*" in place of the "~". 0 done, 3 failure (message added).
std::int16_t ReadNextANSIRecord(Ctx& c, ByteReader& reader, std::string& segment);
// Splits a segment text on "*" (at most 101 elements, none after the final
// "*"). 0 done, 3 failure (message added).
std::int16_t ParseANSIRecord(Ctx& c, const std::string& segment, SegmentElements& elements);
// Components of a composite element, split on ":".
SegmentElements SplitComposite(const std::string& element);
// Element i, or "" when the segment has fewer.
const std::string& ElementAt(const SegmentElements& elements, std::size_t i);

}  // namespace wcomp837
