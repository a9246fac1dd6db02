// Money as fixed point with four decimals in 64 bits, never a binary float.
#pragma once

#include <cstdint>
#include <string>

#include "wcomp837/export.h"

namespace wcomp837 {

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
  static constexpr Currency FromUnits(std::int64_t units) { return FromRaw(units * kScale); }
  // Rounds to four decimals, halves to even.
  static Currency FromDouble(double value);
  // The numeric value of a text (the number it begins with, 0 when none),
  // read exactly to four decimals (the fifth rounds, halves to even).
  static Currency FromText(const std::string& text);

  constexpr std::int64_t raw() const { return raw_; }
  double ToDouble() const { return static_cast<double>(raw_) / kScale; }
  // Plain decimal text: no grouping, "." as the decimal point, no trailing
  // zeros ("150.5", "100", "0.5", "-3.25").
  std::string ToPlain() const;

  constexpr bool IsZero() const { return raw_ == 0; }
  Currency& operator+=(Currency o) {
    raw_ += o.raw_;
    return *this;
  }
  Currency& operator-=(Currency o) {
    raw_ -= o.raw_;
    return *this;
  }
  friend Currency operator+(Currency a, Currency b) { return a += b; }
  friend Currency operator-(Currency a, Currency b) { return a -= b; }
  friend constexpr bool operator==(Currency a, Currency b) { return a.raw_ == b.raw_; }
  friend constexpr auto operator<=>(Currency a, Currency b) { return a.raw_ <=> b.raw_; }

 private:
  std::int64_t raw_ = 0;
};

}  // namespace wcomp837
