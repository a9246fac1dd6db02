// Value forms of X12 elements: numbers, dates, times, and the amounts the
// claim balance adds up.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace wcomp837::guide {

// A decimal number ("R"): optional "-", digits with at most one ".", at
// least one digit. digits receives the number of digits (the length X12
// counts).
bool IsDecimal(std::string_view v, std::size_t& digits);
// An integer ("N0", "N2": implied decimals): optional "-", digits only.
bool IsInteger(std::string_view v, std::size_t& digits);
// CCYYMMDD or YYMMDD naming a real calendar day.
bool IsDate(std::string_view v);
// HHMM, HHMMSS or HHMMSS followed by decimal seconds.
bool IsTime(std::string_view v);
// A provider taxonomy code: ten characters, three digits, six digits or
// capital letters, and a final "X".
bool IsTaxonomyCode(std::string_view v);
// A decimal number in millionths, for exact sums; nullopt when the text is
// no decimal number or too large (fifty of them still add up exactly).
std::optional<std::int64_t> Millionths(std::string_view v);

}  // namespace wcomp837::guide
