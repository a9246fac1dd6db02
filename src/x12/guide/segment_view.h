// One segment of a claim file cut into its elements, without copying.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace wcomp837::guide {

struct Separators {
  char element = '*';
  char component = ':';
  char terminator = '~';
};

// More elements than any segment of the guide has; the rest are counted only.
inline constexpr std::size_t kMaxElements = 40;

struct SegmentView {
  std::string_view text;
  std::uint32_t packedId = 0;  // PackId of element 0
  std::array<std::string_view, kMaxElements> el;
  std::size_t count = 0;         // elements kept, the identifier included
  std::size_t total = 0;         // elements in the segment, the identifier included
  bool badCharacters = false;    // a byte outside the X12 character sets somewhere
  std::uint64_t components = 0;  // bit i: element i holds a component separator
  std::uint64_t key1 = 0;        // PackCode of element 1, the usual qualifier

  std::string_view id() const { return el[0]; }
  // Element i (1-based), empty when the segment has fewer.
  std::string_view at(std::size_t i) const { return i < count ? el[i] : std::string_view(); }
  bool HasComponents(std::size_t i) const { return i < 64 && (components >> i & 1) != 0; }
};

// Cuts the segment at the start of text, up to its terminator, into out:
// its elements, the elements that hold the component separator, and whether
// it holds a byte outside the character sets. Answers the bytes it takes,
// the terminator included, or 0 when text holds no terminator (out is then
// undefined).
std::size_t ScanSegment(std::string_view text, const Separators& separators, SegmentView& out);

// True for a byte of the X12 basic or extended character sets (the printable
// ASCII characters).
constexpr bool IsX12Character(char ch) {
  const auto byte = static_cast<unsigned char>(ch);
  return byte >= 0x20 && byte <= 0x7E;
}

}  // namespace wcomp837::guide
