#include "x12/guide/values.h"

namespace wcomp837::guide {
namespace {

bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

int Number(std::string_view v) {
  int n = 0;
  for (char ch : v) n = n * 10 + (ch - '0');
  return n;
}

bool AllDigits(std::string_view v) {
  for (char ch : v) {
    if (!IsDigit(ch)) return false;
  }
  return true;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

bool IsDecimal(std::string_view v, std::size_t& digits) {
  if (!v.empty() && v.front() == '-') v.remove_prefix(1);
  digits = 0;
  bool point = false;
  for (char ch : v) {
    if (IsDigit(ch)) {
      ++digits;
    } else if (ch == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits > 0;
}

bool IsInteger(std::string_view v, std::size_t& digits) {
  if (!v.empty() && v.front() == '-') v.remove_prefix(1);
  digits = v.size();
  return !v.empty() && AllDigits(v);
}

bool IsDate(std::string_view v) {
  if ((v.size() != 8 && v.size() != 6) || !AllDigits(v)) return false;
  const std::size_t y = v.size() - 4;
  const auto two = [&](std::size_t at) { return (v[at] - '0') * 10 + (v[at + 1] - '0'); };
  // A two-digit year stands for a year of its century; only leap years matter.
  const int year = y == 4 ? two(0) * 100 + two(2) : 2000 + two(0);
  const int month = two(y);
  const int day = two(y + 2);
  return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

bool IsTime(std::string_view v) {
  if (v.size() < 4 || v.size() == 5 || v.size() > 8 || !AllDigits(v)) return false;
  if (Number(v.substr(0, 2)) > 23 || Number(v.substr(2, 2)) > 59) return false;
  return v.size() < 6 || Number(v.substr(4, 2)) <= 59;
}

bool IsTaxonomyCode(std::string_view v) {
  if (v.size() != 10 || v.back() != 'X' || !AllDigits(v.substr(0, 3))) return false;
  for (char ch : v.substr(3, 6)) {
    if (!IsDigit(ch) && !(ch >= 'A' && ch <= 'Z')) return false;
  }
  return true;
}

std::optional<std::int64_t> Millionths(std::string_view v) {
  std::size_t digits = 0;
  if (!IsDecimal(v, digits)) return std::nullopt;
  const bool negative = v.front() == '-';
  if (negative) v.remove_prefix(1);
  const std::size_t point = v.find('.');
  const std::string_view whole = v.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : v.substr(point + 1);
  if (whole.size() > 11 || fraction.size() > 6) return std::nullopt;
  std::int64_t n = 0;
  for (char ch : whole) n = n * 10 + (ch - '0');
  for (std::size_t i = 0; i < 6; ++i) n = n * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
  return negative ? -n : n;
}

}  // namespace wcomp837::guide
