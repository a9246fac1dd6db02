#include "x12/guide/tables.h"

#include <algorithm>
#include <bit>

namespace wcomp837::guide {

static_assert(std::endian::native == std::endian::little,
              "segments are cut eight bytes at a time on little-endian words");

bool InSortedCodes(const GuideTables& t, std::uint32_t begin, std::uint16_t count,
                   std::uint64_t key) {
  const auto packed = t.packedCodes.subspan(begin, count);
  return std::binary_search(packed.begin(), packed.end(), key);
}

bool InLongCodes(const GuideTables& t, std::uint32_t begin, std::uint16_t count,
                 std::string_view value) {
  const auto codes = t.codes.subspan(begin, count);
  return std::binary_search(codes.begin(), codes.end(), value);
}

}  // namespace wcomp837::guide
