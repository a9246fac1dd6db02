#include "x12/guide/segment_view.h"

#include <cstring>

#include "x12/guide/tables.h"

namespace wcomp837::guide {
namespace {

// Sixteen bytes at a time: the compiler turns the comparisons of these
// vectors into a few SIMD instructions on every target.
using Bytes16 = unsigned char __attribute__((vector_size(16)));

constexpr std::uint64_t kHigh = 0x8080808080808080ull;

Bytes16 Splat(char ch) {
  return Bytes16{} + static_cast<unsigned char>(ch);
}

// The sixteen bytes from base; past the end of the text, blanks (none is a
// separator or outside the character sets). Only bytes of the text are read.
inline Bytes16 Load(std::string_view text, std::size_t base) {
  Bytes16 v;
  const std::size_t left = text.size() - base;
  if (left >= 16) {
    std::memcpy(&v, text.data() + base, 16);
    return v;
  }
  v = Splat(' ');
  std::memcpy(&v, text.data() + base, left);
  return v;
}

// A comparison result (0xFF or 0 per byte) as two masks with the high bit
// of each matching byte set.
struct Marks {
  std::uint64_t half[2];
};

inline Marks MarksOf(Bytes16 matches) {
  Marks m;
  std::memcpy(m.half, &matches, 16);
  m.half[0] &= kHigh;
  m.half[1] &= kHigh;
  return m;
}

}  // namespace

std::size_t ScanSegment(std::string_view text, const Separators& separators, SegmentView& out) {
  out.components = 0;
  std::uint64_t outside = 0;
  std::size_t n = 0;
  std::size_t start = 0;
  const std::size_t size = text.size();
  const Bytes16 terminator = Splat(separators.terminator);
  const Bytes16 element = Splat(separators.element);
  const Bytes16 component = Splat(separators.component);
  for (std::size_t chunk = 0; chunk < size; chunk += 16) {
    const Bytes16 v = Load(text, chunk);
    const Marks terminators = MarksOf(reinterpret_cast<Bytes16>(v == terminator));
    const Marks elements = MarksOf(reinterpret_cast<Bytes16>(v == element));
    const Marks components = MarksOf(reinterpret_cast<Bytes16>(v == component));
    const Marks bad =
        MarksOf(reinterpret_cast<Bytes16>(static_cast<Bytes16>(v - Splat(0x20)) > Splat(0x5E)));
    for (std::size_t h = 0; h < 2; ++h) {
      const std::size_t base = chunk + 8 * h;
      const std::uint64_t stop = terminators.half[h] & (~terminators.half[h] + 1);
      const std::uint64_t before = stop != 0 ? stop - 1 : ~std::uint64_t{0};
      outside |= bad.half[h] & before;
      const std::uint64_t marks = elements.half[h] & before;
      // A component separator belongs to the element that the element
      // separators before it have reached.
      for (std::uint64_t comps = components.half[h] & before; comps != 0; comps &= comps - 1) {
        std::size_t i = n;
        for (std::uint64_t m = marks & ((comps & (~comps + 1)) - 1); m != 0; m &= m - 1) ++i;
        if (i < 64) out.components |= std::uint64_t{1} << i;
      }
      const bool room = n + 8 <= kMaxElements;
      for (std::uint64_t m = marks; m != 0; m &= m - 1) {
        const std::size_t at = base + static_cast<std::size_t>(__builtin_ctzll(m)) / 8;
        if (room || n < kMaxElements) {
          out.el[n] = std::string_view(text.data() + start, at - start);
        }
        ++n;
        start = at + 1;
      }
      if (stop == 0) continue;
      const std::size_t end = base + static_cast<std::size_t>(__builtin_ctzll(stop)) / 8;
      if (end >= size) return 0;
      if (n < kMaxElements) out.el[n] = std::string_view(text.data() + start, end - start);
      ++n;
      out.text = text.substr(0, end);
      out.total = n;
      out.count = n < kMaxElements ? n : kMaxElements;
      out.badCharacters = outside != 0;
      out.packedId = PackId(out.el[0]);
      out.key1 = PackCode(out.at(1));
      return end + 1;
    }
  }
  return 0;
}

}  // namespace wcomp837::guide
