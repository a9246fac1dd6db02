// Money as fixed point with four decimals in 64 bits, never a binary float.
#pragma once

#include <cstdint>
#include <string>

#include "wcomp837/export.h"

namespace wcomp837 {

// Every amount lies in the range of the raw value, -922337203685477.5808 to
// 922337203685477.5807; a conversion or a sum that would leave it throws the
// overflow failure (wcomp837::Failure, number 6) instead of wrapping.
class WCOMP837_API Currency {
 public:
  static constexpr std::int64_t kScale = 10000;
  constexpr Currency() = default;
  static constexpr Currency FromRaw(std::int64_t raw) {
    Currency c;
    c.raw_ = raw;
    return c;
  }
  // Whole units (dollars).
  static constexpr Currency FromUnits(std::int64_t units) {
    Currency c;
    if (__builtin_mul_overflow(units, kScale, &c.raw_)) Overflow();
    return c;
  }
  // Rounds to four decimals, halves to even.
  static Currency FromDouble(double value);
  // The numeric value of a text (the number it begins with, 0 when none),
  // read exactly to four decimals (the fifth rounds, halves to even).
  static Currency FromText(const std::string& text);

  constexpr std::int64_t raw() const { return raw_; }
  // The raw value without its sign (exact for the most negative amount too).
  constexpr std::uint64_t magnitude() const {
    return raw_ < 0 ? static_cast<std::uint64_t>(-(raw_ + 1)) + 1
                    : static_cast<std::uint64_t>(raw_);
  }
  double ToDouble() const { return static_cast<double>(raw_) / kScale; }
  // Plain decimal text: no grouping, "." as the decimal point, no trailing
  // zeros ("150.5", "100", "0.5", "-3.25").
  std::string ToPlain() const;

  constexpr bool IsZero() const { return raw_ == 0; }
  Currency& operator+=(Currency o) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(raw_, o.raw_, &sum)) Overflow();
    raw_ = sum;
    return *this;
  }
  Currency& operator-=(Currency o) {
    std::int64_t difference = 0;
    if (__builtin_sub_overflow(raw_, o.raw_, &difference)) Overflow();
    raw_ = difference;
    return *this;
  }
  friend Currency operator+(Currency a, Currency b) { return a += b; }
  friend Currency operator-(Currency a, Currency b) { return a -= b; }
  friend constexpr bool operator==(Currency a, Currency b) { return a.raw_ == b.raw_; }
  friend constexpr auto operator<=>(Currency a, Currency b) { return a.raw_ <=> b.raw_; }

 private:
  // Throws the overflow failure.
  [[noreturn]] static void Overflow();
  std::int64_t raw_ = 0;
};

}  // namespace wcomp837
