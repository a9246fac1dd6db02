#include "x12/guide/segment_view.h"

#include <cstring>

#include "x12/guide/tables.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace wcomp837::guide {
namespace {

// Sixteen bytes at a time: the compiler turns the comparisons of these
// vectors into a few SIMD instructions on every target.
using Bytes16 = unsigned char __attribute__((vector_size(16)));

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

// A comparison result (0xFF or 0 per byte) as sixteen bits, bit i for byte i.
inline unsigned Mask(Bytes16 matches) {
#if defined(__SSE2__)
  return static_cast<unsigned>(_mm_movemask_epi8(reinterpret_cast<__m128i>(matches)));
#else
  std::uint64_t half[2];
  std::memcpy(half, &matches, 16);
  constexpr std::uint64_t kHigh = 0x8080808080808080ull, kGather = 0x0002040810204081ull;
  return static_cast<unsigned>(((half[0] & kHigh) * kGather) >> 56) |
         static_cast<unsigned>(((half[1] & kHigh) * kGather) >> 56) << 8;
#endif
}

// PackCode of element 1, taken from the first bytes when it lies there.
inline std::uint64_t QualifierKey(const SegmentView& seg, Bytes16 head) {
  const std::string_view q = seg.at(1);
  const std::size_t offset = static_cast<std::size_t>(q.data() - seg.text.data());
  if (q.empty() || q.size() > 8 || offset + 8 > 16) return PackCode(q);
  std::uint64_t v;
  std::memcpy(&v, reinterpret_cast<const unsigned char*>(&head) + offset, 8);
  return __builtin_bswap64(v) & (~std::uint64_t{0} << (8 * (8 - q.size())));
}

}  // namespace

std::size_t ScanSegment(std::string_view text, const Separators& separators, SegmentView& out) {
  out.components = 0;
  unsigned outside = 0;
  std::size_t n = 0;
  std::size_t start = 0;
  const std::size_t size = text.size();
  const Bytes16 terminator = Splat(separators.terminator);
  const Bytes16 element = Splat(separators.element);
  const Bytes16 component = Splat(separators.component);
  Bytes16 head{};  // the first sixteen bytes, where the qualifier usually is
  for (std::size_t chunk = 0; chunk < size; chunk += 16) {
    const Bytes16 v = Load(text, chunk);
    if (chunk == 0) head = v;
    const unsigned terminators = Mask(reinterpret_cast<Bytes16>(v == terminator));
    const unsigned stop = terminators & (~terminators + 1);
    const unsigned before = stop != 0 ? stop - 1 : 0xFFFFu;
    outside |=
        Mask(reinterpret_cast<Bytes16>(static_cast<Bytes16>(v - Splat(0x20)) > Splat(0x5E))) &
        before;
    const unsigned marks = Mask(reinterpret_cast<Bytes16>(v == element)) & before;
    // A component separator belongs to the element that the element
    // separators before it have reached.
    for (unsigned comps = Mask(reinterpret_cast<Bytes16>(v == component)) & before; comps != 0;
         comps &= comps - 1) {
      std::size_t i = n;
      for (unsigned m = marks & ((comps & (~comps + 1)) - 1); m != 0; m &= m - 1) ++i;
      if (i < 64) out.components |= std::uint64_t{1} << i;
    }
    const bool room = n + 16 <= kMaxElements;
    for (unsigned m = marks; m != 0; m &= m - 1) {
      const std::size_t at = chunk + static_cast<std::size_t>(__builtin_ctz(m));
      if (room || n < kMaxElements) out.el[n] = std::string_view(text.data() + start, at - start);
      ++n;
      start = at + 1;
    }
    if (stop == 0) continue;
    const std::size_t end = chunk + static_cast<std::size_t>(__builtin_ctz(stop));
    if (end >= size) return 0;
    if (n < kMaxElements) out.el[n] = std::string_view(text.data() + start, end - start);
    ++n;
    out.text = text.substr(0, end);
    out.total = n;
    out.count = n < kMaxElements ? n : kMaxElements;
    out.badCharacters = outside != 0;
    out.packedId = PackId(out.el[0]);
    out.key1 = QualifierKey(out, head);
    return end + 1;
  }
  return 0;
}

}  // namespace wcomp837::guide
