// Text helpers of the printed reports: fixed-column placement and the
// number and date forms the reports print.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "wcomp837/currency.h"

namespace wcomp837 {

inline constexpr std::size_t kWholeText = std::string::npos;

// Characters start..start+len-1 (1-based) of the text; what exists of them.
std::string Mid(std::string_view text, std::size_t start, std::size_t len = kWholeText);
// The same as a view into the text.
std::string_view MidView(std::string_view text, std::size_t start, std::size_t len = kWholeText);
// Writes at most width characters of the text into the line from 1-based
// column col on, replacing what stood there; the line keeps its length.
void PlaceText(std::string& line, std::int64_t col, std::string_view text,
               std::size_t width = kWholeText);
// Column at which a text of the given length stands centred in the width
// (halves to even), at least 1.
std::int64_t CentredColumn(std::size_t length, std::size_t width);
// Column at which a text of the given length ends at the last column.
std::int64_t RightAlignedColumn(std::size_t length, std::size_t width);

// "##0.##" with a trailing "." blanked: 1 -> "1 ", 1.5 -> "1.5".
std::string FormatUnits(float units);
// "#####0.00": 150.5 -> "150.50".
std::string FormatCharge(Currency amount);
// "$###,###,##0.00": 1234.5 -> "$1,234.50".
std::string FormatDollars(Currency amount);
// Right-aligns a text in a field of the given width (longer texts stay whole).
std::string RightAlign(const std::string& text, std::size_t width);
// "mm/dd/yyyy hh:mm" (24-hour).
std::string ReportDateTime(const DateTime& t);
// CCYYMMDD -> MMDDCCYY into out (its buffer is reused).
void AssignMMDDCCYY(std::string& out, std::string_view date);

}  // namespace wcomp837
