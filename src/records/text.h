// Text cleaning and value helpers shared by parsers and writers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "wcomp837/currency.h"

namespace wcomp837 {
struct HostState;

// Keeps capitals, digits, blanks and dots (lower-case letters become
// capitals); drops everything else.
std::string SquashAllPunctuation(HostState& h, const std::string& text, bool bSquashSpaces = false,
                                 bool bSquashDots = false, const std::string& keepList = "");
std::string GetCountryCode(const std::string& text);
std::string PadWithSpaces(const std::string& text, std::int16_t width, bool bLeftJustify);
std::string PadWithChar(const std::string& text, std::int16_t width, const std::string& pad,
                        bool bLeftJustify);
void SplitAtChar(const std::string& text, const std::string& sep, std::string& left,
                 std::string& right);
std::string StripMidStringFromWholeString(HostState& h, const std::string& part,
                                          const std::string& whole);
std::string Strip19FromNarrative(HostState& h, const std::string& narrative);
std::string FormatAmount(Currency amount, std::int32_t style);

// Blanks removed at both ends / at the end / at the start.
std::string Trim(std::string_view text);
std::string RTrim(std::string_view text);
std::string LTrim(std::string_view text);
// First n characters (all when shorter).
std::string Left(std::string_view text, std::size_t n);
// Upper case (ASCII).
std::string UpperCase(std::string_view text);

}  // namespace wcomp837
