#include "reports/report_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace wcomp837 {
namespace {

// Rounds a fixed-point value to whole hundredths, halves away from zero.
std::int64_t Cents(Currency amount) {
  std::int64_t raw = amount.raw();
  std::int64_t cents = raw / 100;
  std::int64_t rest = raw % 100;
  if (rest >= 50) ++cents;
  if (rest <= -50) --cents;
  return cents;
}

std::string Digits(std::uint64_t value) {
  return std::to_string(value);
}

std::string GroupThousands(const std::string& digits) {
  std::string out;
  std::size_t lead = digits.size() % 3;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (i + 3 - lead) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string TwoDigits(int v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", v % 100);
  return buf;
}

}  // namespace

std::string Mid(std::string_view text, std::size_t start, std::size_t len) {
  return std::string(MidView(text, start, len));
}

std::string_view MidView(std::string_view text, std::size_t start, std::size_t len) {
  if (start < 1 || start > text.size()) return {};
  return text.substr(start - 1, len);
}

void PlaceText(std::string& line, std::int64_t col, std::string_view text, std::size_t width) {
  if (width < text.size()) text = text.substr(0, width);
  // What would stand before column 1 or past the line's end is dropped.
  if (col < 1) {
    const std::uint64_t before = 1 - static_cast<std::uint64_t>(col);
    if (before >= text.size()) return;
    text.remove_prefix(static_cast<std::size_t>(before));
    col = 1;
  }
  const auto pos = static_cast<std::size_t>(col - 1);
  if (pos >= line.size()) return;
  text = text.substr(0, line.size() - pos);
  std::copy(text.begin(), text.end(), line.begin() + static_cast<std::ptrdiff_t>(pos));
}

std::int64_t CentredColumn(std::size_t length, std::size_t width) {
  double col = std::nearbyint((static_cast<double>(width) - static_cast<double>(length)) / 2.0);
  return col < 1 ? 1 : static_cast<std::int64_t>(col);
}

std::int64_t RightAlignedColumn(std::size_t length, std::size_t width) {
  std::int64_t col = static_cast<std::int64_t>(width) - static_cast<std::int64_t>(length) + 1;
  return col < 1 ? 1 : col;
}

std::string FormatUnits(float units) {
  double hundredths = std::round(static_cast<double>(units) * 100.0);
  // Beyond 64 bits of hundredths a float holds no fraction: whole units.
  if (!(std::fabs(hundredths) < 1e19)) {
    char whole[64];
    std::snprintf(whole, sizeof whole, "%.0f ", static_cast<double>(units));
    return whole;
  }
  bool negative = hundredths < 0;
  auto abs = static_cast<std::uint64_t>(std::fabs(hundredths));
  std::string text = (negative ? "-" : "") + Digits(abs / 100);
  std::uint64_t frac = abs % 100;
  if (frac == 0) return text + " ";
  text += "." + TwoDigits(static_cast<int>(frac));
  if (text.back() == '0') text.pop_back();
  return text;
}

std::string FormatCharge(Currency amount) {
  std::int64_t cents = Cents(amount);
  std::uint64_t abs = cents < 0 ? 0 - static_cast<std::uint64_t>(cents) : cents;
  return (cents < 0 ? "-" : "") + Digits(abs / 100) + "." + TwoDigits(static_cast<int>(abs % 100));
}

std::string FormatDollars(Currency amount) {
  std::int64_t cents = Cents(amount);
  std::uint64_t abs = cents < 0 ? 0 - static_cast<std::uint64_t>(cents) : cents;
  return (cents < 0 ? "-$" : "$") + GroupThousands(Digits(abs / 100)) + "." +
         TwoDigits(static_cast<int>(abs % 100));
}

std::string RightAlign(const std::string& text, std::size_t width) {
  if (text.size() >= width) return text;
  return std::string(width - text.size(), ' ') + text;
}

std::string ReportDateTime(const DateTime& t) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d", t.month, t.day, t.year, t.hour,
                t.minute);
  return buf;
}

void AssignMMDDCCYY(std::string& out, std::string_view date) {
  out.assign(MidView(date, 5, 2)).append(MidView(date, 7, 2)).append(MidView(date, 1, 4));
}

}  // namespace wcomp837
