#include "records/numeric.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/failure.h"

namespace wcomp837 {
namespace {

// Span of the number at the start of a text: [begin, end) after blanks.
struct NumberSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool has_digits = false;
  bool has_point = false;
};

NumberSpan FindNumber(std::string_view text) {
  NumberSpan span;
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  span.begin = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    ++i;
    span.has_digits = true;
  }
  if (i < text.size() && text[i] == '.') {
    span.has_point = true;
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      ++i;
      span.has_digits = true;
    }
  }
  span.end = i;
  return span;
}

std::string TrimZeros(std::string s) {
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

}  // namespace

double NumericValue(std::string_view text) {
  NumberSpan span = FindNumber(text);
  if (!span.has_digits) return 0.0;
  std::string_view number = text.substr(span.begin, span.end - span.begin);
  if (number.front() == '+') number.remove_prefix(1);
  // A whole number of up to 15 digits is exact in a double: summed directly.
  const bool negative = number.front() == '-';
  const std::string_view digits = number.substr(negative ? 1 : 0);
  if (!span.has_point && digits.size() <= 15) {
    std::int64_t whole = 0;
    for (const char d : digits) whole = whole * 10 + (d - '0');
    const auto magnitude = static_cast<double>(whole);
    return negative ? -magnitude : magnitude;
  }
  double value = 0.0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  return value;
}

std::int16_t ToInt16(double value) {
  double r = std::nearbyint(value);  // default rounding mode: halves to even
  if (!(r >= -32768.0 && r <= 32767.0)) Raise(failure::kOverflow);
  return static_cast<std::int16_t>(r);
}

float ToSingle(double value) {
  if (!(std::fabs(value) <= static_cast<double>(std::numeric_limits<float>::max()))) {
    Raise(failure::kOverflow);
  }
  return static_cast<float>(value);
}

std::int32_t ToInt32(double value) {
  double r = std::nearbyint(value);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) Raise(failure::kOverflow);
  return static_cast<std::int32_t>(r);
}

void Currency::Overflow() {
  Raise(failure::kOverflow);
}

Currency Currency::FromDouble(double value) {
  double scaled = std::nearbyint(value * static_cast<double>(kScale));
  // 2^63: the first value beyond the range (every double below it converts).
  constexpr double kBeyond = 9223372036854775808.0;
  if (!(scaled >= -kBeyond && scaled < kBeyond)) Overflow();
  return FromRaw(static_cast<std::int64_t>(scaled));
}

Currency Currency::FromText(const std::string& text) {
  NumberSpan span = FindNumber(text);
  if (!span.has_digits) return Currency();
  std::size_t i = span.begin;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  // The magnitude in units of the fourth decimal, checked at every step.
  std::uint64_t raw = 0;
  auto push_digit = [&raw](int d) {
    if (__builtin_mul_overflow(raw, std::uint64_t{10}, &raw) ||
        __builtin_add_overflow(raw, static_cast<std::uint64_t>(d), &raw)) {
      Overflow();
    }
  };
  for (; i < span.end && text[i] != '.'; ++i) push_digit(text[i] - '0');
  int digits = 0;
  int next_digit = -1;
  bool rest_nonzero = false;
  if (i < span.end && text[i] == '.') {
    for (++i; i < span.end; ++i) {
      int d = text[i] - '0';
      if (digits < 4) {
        push_digit(d);
        ++digits;
      } else if (next_digit < 0) {
        next_digit = d;
      } else if (d != 0) {
        rest_nonzero = true;
      }
    }
  }
  for (; digits < 4; ++digits) push_digit(0);
  const bool round_up = next_digit > 5 || (next_digit == 5 && (rest_nonzero || (raw % 2) != 0));
  if (round_up && __builtin_add_overflow(raw, std::uint64_t{1}, &raw)) Overflow();
  // The negative range reaches one step further than the positive one.
  constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int64_t>::max();
  if (raw > kMaxPositive + (negative ? 1 : 0)) Overflow();
  if (!negative) return FromRaw(static_cast<std::int64_t>(raw));
  return FromRaw(raw == kMaxPositive + 1 ? std::numeric_limits<std::int64_t>::min()
                                         : -static_cast<std::int64_t>(raw));
}

std::string Currency::ToPlain() const {
  // Integer digits, then the decimals without trailing zeros. The magnitude
  // is unsigned: the most negative amount has no positive counterpart.
  char buf[32];
  char* p = buf;
  if (raw_ < 0) *p++ = '-';
  const std::uint64_t v = magnitude();
  p = std::to_chars(p, buf + sizeof buf, v / kScale).ptr;
  std::uint64_t decimals = v % kScale;
  if (decimals != 0) {
    *p++ = '.';
    for (std::uint64_t unit = kScale / 10; decimals != 0; unit /= 10) {
      *p++ = static_cast<char>('0' + decimals / unit);
      decimals %= unit;
    }
  }
  return std::string(buf, p);
}

std::string PlainDecimal(Currency value) {
  return value.ToPlain();
}

namespace {

// A floating value as printf would write it with the given precision: as
// "%.<digits>g", or as "%.<fixed>f" where that would use an exponent;
// trailing decimal zeros cut. Values from 1e15 up are written whole.
template <typename T>
std::string PlainFloating(T value, int digits, int fixed) {
  char buf[512];
  char* const end = buf + sizeof buf;
  const double d = static_cast<double>(value);
  // A whole number (most units and counts) is its digits, whichever way
  // printf would write it.
  if (std::fabs(d) < 1e15 && d == std::trunc(d)) {
    return std::string(buf, std::to_chars(buf, end, static_cast<long long>(d)).ptr);
  }
  if (std::fabs(value) >= static_cast<T>(1e15)) {
    return std::string(buf, std::to_chars(buf, end, d, std::chars_format::fixed, 0).ptr);
  }
  char* p = std::to_chars(buf, end, d, std::chars_format::general, digits).ptr;
  if (std::find(buf, p, 'e') != p)
    p = std::to_chars(buf, end, d, std::chars_format::fixed, fixed).ptr;
  return TrimZeros(std::string(buf, p));
}

}  // namespace

std::string PlainDecimal(float value) {
  // Seven significant digits, as a single-precision value shows itself.
  return PlainFloating(value, 7, 10);
}

std::string PlainDecimal(double value) {
  return PlainFloating(value, 15, 15);
}

}  // namespace wcomp837
