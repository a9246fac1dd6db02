// Segment output: the one way into the claim file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "x12/writer_ctx.h"

namespace wcomp837 {

std::int16_t OpenASCIIout(const WriterCtx& c);
std::int16_t CloseASCIIout(const WriterCtx& c);
// Cleans the segment (the caller's text changes), applies the money rule and
// writes it with "~". 0 written or dropped, 3 failure (messages added).
std::int16_t WriteASCIIOUT(const WriterCtx& c, std::string& segment);
// The same for a segment the caller keeps as it is.
std::int16_t WriteSegmentText(const WriterCtx& c, std::string_view segment);
void IncrementSegmentCount(const WriterCtx& c);
void DecrementSegmentCount(const WriterCtx& c);
// Counts the segment and writes it: the usual step of every loop writer.
std::int16_t WriteCountedSegment(const WriterCtx& c, std::string_view segment);
void StripTrailingDelimiters(std::string& text, std::string_view delimiter);
// The money rule: a decimal element (amount, quantity) "0.50" is sent as
// ".50"; identifiers and texts that look like numbers keep their bytes.
void ANSI_TrimLeadingZeroOnMoney(std::string& segment);
std::string DateToCCYYMMDD(std::string_view date);
// A name element: the first n characters, then blanks trimmed at both ends
// (a view into the text).
Text CutTrim(std::string_view text, std::size_t n);

}  // namespace wcomp837
