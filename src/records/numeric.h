// Numbers in texts: the numeric value of a text, the 16- and 32-bit
// conversions, the signed text form and plain decimal rendering.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "state/signed_text.h"
#include "wcomp837/currency.h"

namespace wcomp837 {

// The number the text begins with (leading blanks skipped; sign, digits,
// decimal point); 0 when it begins with no number.
double NumericValue(std::string_view text);

// Rounds half to even; a value outside the range raises the overflow failure.
std::int16_t ToInt16(double value);
std::int32_t ToInt32(double value);
// Single precision (units); a value beyond its range raises the overflow
// failure.
float ToSingle(double value);
// The numeric value of a text converted to 16 or 32 bits or to single
// precision.
inline std::int16_t TextToInt16(std::string_view text) {
  return ToInt16(NumericValue(text));
}
inline std::int32_t TextToInt32(std::string_view text) {
  return ToInt32(NumericValue(text));
}
inline float TextToSingle(std::string_view text) {
  return ToSingle(NumericValue(text));
}

// Plain decimal text of a currency, single or double value: no grouping,
// "." as the decimal point, no trailing zeros (150.5, 100, 0.5).
std::string PlainDecimal(Currency value);
std::string PlainDecimal(float value);
std::string PlainDecimal(double value);

}  // namespace wcomp837
