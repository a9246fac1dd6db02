// Present date and time, and the US English date forms the host expects.
// Tests fix the clock with SetFixedClock.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace wcomp837 {

struct DateTime {
  int year = 1900;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Local time now, or the fixed time set for tests.
DateTime Now();
// Fixes the clock process-wide (tests); std::nullopt returns to the system clock.
void SetFixedClock(std::optional<DateTime> fixed);

// Day of the week, 0 = Sunday.
int Weekday(const DateTime& t);
// "Sunday, December 6, 2026"
std::string LongDate(const DateTime& t);
// "12/6/2026 6:10:43 AM"
std::string GeneralDate(const DateTime& t);
// The same text in a small value of its own, without allocating.
struct DateBuffer {
  char text[80];  // room for any six int values
  std::size_t size = 0;
  std::string_view view() const { return {text, size}; }
};
DateBuffer GeneralDateText(const DateTime& t);
// "hh:mm:ss" (24-hour)
std::string Time24(const DateTime& t);
// yyyymmdd as a number, for date comparisons.
int DateKey(const DateTime& t);
// Parses a date text as the host writes it ("MM/DD/YYYY", "M/D/YY", "YYYY-MM-DD",
// "YYYYMMDD", optionally followed by a time); nullopt when it is no date.
std::optional<DateTime> ParseDate(const std::string& text);

}  // namespace wcomp837
