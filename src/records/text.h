// Text cleaning and value helpers shared by parsers and writers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "wcomp837/currency.h"

namespace wcomp837 {
struct HostState;

// Keeps capitals, digits, blanks and dots (lower-case letters become
// capitals); drops everything else.
std::string SquashAllPunctuation(HostState& h, std::string_view text, bool bSquashSpaces = false,
                                 bool bSquashDots = false, std::string_view keepList = "");
// The same into out, whose buffer is reused.
void SquashAllPunctuationInto(HostState& h, std::string& out, std::string_view text,
                              bool bSquashSpaces, bool bSquashDots, std::string_view keepList);
// True when SquashAllPunctuation with its default options would give the
// text back unchanged and without a message: nothing to drop or raise, and
// no longer than it accepts.
bool SquashedAlready(std::string_view text);
std::string GetCountryCode(std::string_view text);
std::string PadWithSpaces(std::string_view text, std::int16_t width, bool bLeftJustify);
std::string PadWithChar(std::string_view text, std::int16_t width, std::string_view pad,
                        bool bLeftJustify);
void SplitAtChar(std::string_view text, std::string_view sep, std::string& left,
                 std::string& right);
std::string StripMidStringFromWholeString(HostState& h, std::string_view part,
                                          std::string_view whole);
std::string Strip19FromNarrative(HostState& h, std::string_view narrative);
std::string FormatAmount(Currency amount, std::int32_t style);

// Blanks removed at both ends / at the end / at the start.
std::string_view TrimView(std::string_view text);
std::string_view RTrimView(std::string_view text);
std::string_view LTrimView(std::string_view text);
std::string Trim(std::string_view text);
std::string RTrim(std::string_view text);
std::string LTrim(std::string_view text);
// Every part between separators into parts (its capacity is reused): ""
// gives no part, "a|b|" gives "a", "b", "".
void SplitAt(std::string_view text, char sep, std::vector<std::string_view>& parts);
// First n characters (all when shorter).
std::string Left(std::string_view text, std::size_t n);
// Upper case (ASCII).
std::string UpperCase(std::string_view text);

}  // namespace wcomp837
