#include "records/text.h"

#include <array>
#include <cstdlib>

#include "platform/failure.h"
#include "state/messages.h"

namespace wcomp837 {
namespace {

// Lengths of texts handled by the padding and cleaning routines are 16-bit:
// this is the longest they accept.
constexpr std::size_t kMaxLength16 = 32767;

void CheckLength16(std::size_t length) {
  if (length > kMaxLength16) Raise(failure::kOverflow);
}

bool IsBlank(char ch) {
  return ch == ' ';
}

}  // namespace

std::string_view RTrimView(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return text.substr(0, end);
}

std::string_view LTrimView(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size() && IsBlank(text[begin])) ++begin;
  return text.substr(begin);
}

std::string_view TrimView(std::string_view text) {
  return LTrimView(RTrimView(text));
}

std::string Trim(std::string_view text) {
  return std::string(TrimView(text));
}

std::string RTrim(std::string_view text) {
  return std::string(RTrimView(text));
}

std::string LTrim(std::string_view text) {
  return std::string(LTrimView(text));
}

void SplitAt(std::string_view text, char sep, std::vector<std::string_view>& parts) {
  parts.clear();
  if (text.empty()) return;
  std::size_t start = 0;
  for (std::size_t pos; (pos = text.find(sep, start)) != std::string_view::npos; start = pos + 1) {
    parts.push_back(text.substr(start, pos - start));
  }
  parts.push_back(text.substr(start));
}

std::string Left(std::string_view text, std::size_t n) {
  return std::string(text.substr(0, n));
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return out;
}

std::string SquashAllPunctuation(HostState& h, std::string_view text, bool bSquashSpaces,
                                 bool bSquashDots, std::string_view keepList) {
  std::string out;
  SquashAllPunctuationInto(h, out, text, bSquashSpaces, bSquashDots, keepList);
  return out;
}

namespace {

// What each byte becomes when it is not on the keep list: letters as
// capitals, digits as they are, blanks and dots unless squashed; 0 drops it.
struct SquashTable {
  std::array<char, 256> to{};
};

constexpr SquashTable MakeSquashTable(bool squashSpaces, bool squashDots) {
  SquashTable t;
  for (int b = 0; b < 256; ++b) {
    const char ch = static_cast<char>(b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b);
    const bool kept = (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') ||
                      (ch == ' ' && !squashSpaces) || (ch == '.' && !squashDots);
    t.to[static_cast<std::size_t>(b)] = kept ? ch : '\0';
  }
  return t;
}

constexpr SquashTable kSquashTables[4] = {
    MakeSquashTable(false, false), MakeSquashTable(false, true), MakeSquashTable(true, false),
    MakeSquashTable(true, true)};

// The bytes the first table keeps as they are (a dropped byte maps to NUL,
// so NUL itself is never kept): one load per byte of a text already clean.
constexpr std::array<bool, 256> kKeptAsIs = [] {
  std::array<bool, 256> kept{};
  for (std::size_t b = 1; b < 256; ++b) {
    kept[b] = kSquashTables[0].to[b] == static_cast<char>(b);
  }
  return kept;
}();

}  // namespace

bool SquashedAlready(std::string_view text) {
  if (text.size() > kMaxLength16) return false;
  bool same = true;
  for (const char raw : text) same &= kKeptAsIs[static_cast<unsigned char>(raw)];
  return same;
}

void SquashAllPunctuationInto(HostState& h, std::string& out, std::string_view text,
                              bool bSquashSpaces, bool bSquashDots, std::string_view keepList) {
  out.clear();
  try {
    CheckLength16(text.size());
    const SquashTable& table = kSquashTables[(bSquashSpaces ? 2 : 0) + (bSquashDots ? 1 : 0)];
    out.resize(text.size());
    char* next = out.data();
    for (const char raw : text) {
      const unsigned char byte = static_cast<unsigned char>(raw);
      // Lower-case letters are kept as capitals rather than lost.
      const char ch = (raw >= 'a' && raw <= 'z') ? static_cast<char>(raw - 'a' + 'A') : raw;
      if (!keepList.empty() && keepList.find(ch) != std::string_view::npos) {
        *next++ = ch;
      } else if (const char to = table.to[byte]; to != '\0') {
        *next++ = to;
      }
    }
    out.resize(static_cast<std::size_t>(next - out.data()));
  } catch (...) {
    AddFailureMessage(h, " SquashAllPunctuation()", std::current_exception());
  }
}

std::string GetCountryCode(std::string_view text) {
  struct CountryRow {
    std::string_view name;
    std::string_view code;
  };
  static constexpr CountryRow kCountries[] = {
      {"1.0", ""}, {"USA", ""}, {"US", ""}, {"2.0", "CA"}, {"CANADA", "CA"}, {"GERMANY", "DE"},
  };
  for (const CountryRow& row : kCountries) {
    if (text == row.name) return std::string(row.code);
  }
  return "";
}

std::string PadWithChar(std::string_view text, std::int16_t width, std::string_view pad,
                        bool bLeftJustify) {
  CheckLength16(text.size());
  if (static_cast<int>(text.size()) >= width) return std::string(text);
  if (pad.empty()) Raise(failure::kInvalidCall);
  std::string out(static_cast<std::size_t>(width), pad[0]);
  const std::size_t at = bLeftJustify ? 0 : out.size() - text.size();
  out.replace(at, text.size(), text);
  return out;
}

std::string PadWithSpaces(std::string_view text, std::int16_t width, bool bLeftJustify) {
  return PadWithChar(text, width, " ", bLeftJustify);
}

void SplitAtChar(std::string_view text, std::string_view sep, std::string& left,
                 std::string& right) {
  // text may stand in left or right.
  std::string copy(text);
  left = Trim(copy);
  right.clear();
  if (sep.size() != 1) return;
  const std::size_t pos = copy.find(sep[0]);
  if (pos == std::string::npos) return;
  copy[pos] = ' ';
  left = Trim(std::string_view(copy).substr(0, pos + 1));
  right = Trim(std::string_view(copy).substr(pos));
}

std::string StripMidStringFromWholeString(HostState& h, std::string_view part,
                                          std::string_view whole) {
  try {
    if (part.empty()) return std::string(whole);
    const std::size_t pos = whole.find(part);
    if (pos == std::string_view::npos) return std::string(whole);
    std::string out(whole.substr(0, pos));
    out.append(whole.substr(pos + part.size()));
    return out;
  } catch (...) {
    AddFailureMessage(h, " StripMidStringFromWholeString() Error: ", std::current_exception());
    return std::string(whole);
  }
}

std::string Strip19FromNarrative(HostState& h, std::string_view narrative) {
  try {
    if (!narrative.starts_with("19-")) return std::string(narrative);
    std::string rest(narrative.substr(3));
    const std::size_t semi = rest.find(';');
    if (semi != std::string::npos) rest[semi] = ' ';
    return rest;
  } catch (...) {
    AddFailureMessage(h, " Strip19FromNarrative() Error: ", std::current_exception());
    return std::string(narrative);
  }
}

namespace {

std::uint64_t Magnitude(std::int64_t value) {
  return value < 0 ? static_cast<std::uint64_t>(-(value + 1)) + 1
                   : static_cast<std::uint64_t>(value);
}

std::uint64_t PowerOfTen(int n) {
  std::uint64_t p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

// A four-decimal raw amount as a sign and a magnitude scaled to `decimals`
// places, halves rounded away from zero.
struct Scaled {
  bool negative = false;
  std::uint64_t magnitude = 0;
};

Scaled RoundAmount(std::int64_t raw, int decimals) {
  const std::uint64_t divisor = PowerOfTen(4 - decimals);
  const std::uint64_t m = Magnitude(raw);
  std::uint64_t q = m / divisor;
  if ((m % divisor) * 2 >= divisor) ++q;
  return Scaled{raw < 0 && q != 0, q};
}

// Renders a scaled amount as "whole.fraction". A zero whole part is left out
// when leadingZero is false; trailing fraction zeros are cut when
// trimFraction is set.
std::string RenderScaled(Scaled value, int decimals, bool leadingZero, bool trimFraction) {
  std::string out = value.negative ? "-" : "";
  if (decimals == 0) return out + std::to_string(value.magnitude);
  const std::uint64_t divisor = PowerOfTen(decimals);
  const std::uint64_t whole = value.magnitude / divisor;
  std::string fraction = std::to_string(value.magnitude % divisor);
  fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
  if (trimFraction) {
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  }
  if (whole != 0 || leadingZero) out += std::to_string(whole);
  return out + "." + fraction;
}

}  // namespace

std::string FormatAmount(Currency amount, std::int32_t style) {
  switch (style) {
    case 2:  // "#.00"
      return RenderScaled(RoundAmount(amount.raw(), 2), 2, false, false);
    case 3:  // "0"
      return RenderScaled(RoundAmount(amount.raw(), 0), 0, true, false);
    case 4:  // "0.00"
      return RenderScaled(RoundAmount(amount.raw(), 2), 2, true, false);
    case 5: {  // cents, rounded down
      const std::int64_t per_cent = Currency::kScale / 100;
      std::int64_t cents = amount.raw() / per_cent;
      if (amount.raw() % per_cent != 0 && amount.raw() < 0) --cents;
      return std::to_string(cents);
    }
    default: {  // "#.##" without a trailing "."
      std::string out = RenderScaled(RoundAmount(amount.raw(), 2), 2, false, true);
      if (!out.empty() && out.back() == '.') out.pop_back();
      return out;
    }
  }
}

}  // namespace wcomp837
