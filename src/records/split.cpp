#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/failure.h"
#include "records/parsers.h"

namespace wcomp837 {
namespace {

// The field index is 16-bit: a text may hold at most 32767 fields.
constexpr std::size_t kMaxFields = 32767;

// Trailing blanks cut; "." and any longer field that starts and ends with
// "." mean an empty field.
inline std::string_view CleanField(std::string_view raw) {
  // Nearly every field ends in neither a blank nor a ".": one test for those.
  if (raw.empty() || (raw.back() != ' ' && raw.back() != '.')) return raw;
  std::size_t end = raw.size();
  while (end > 0 && raw[end - 1] == ' ') --end;
  std::string_view field = raw.substr(0, end);
  if (field == "." || (field.size() > 1 && field.front() == '.' && field.back() == '.')) {
    return field.substr(0, 0);
  }
  return field;
}

// The bytes of a word that are zero: the high bit of each such byte set,
// every other bit clear (exact, with no carry from one byte to the next).
constexpr std::uint64_t ZeroBytes(std::uint64_t x) {
  constexpr std::uint64_t kLows = 0x7f7f7f7f7f7f7f7fu;
  return ~(((x & kLows) + kLows) | x | kLows);
}

// Calls take(field) for each field of a non-empty text cut at the two-byte
// delimiter every record uses ("//"), left to right, each delimiter taken
// where it first begins ("///" is a delimiter and a "/"). The text is read
// sixteen bytes at a time (vector compares) and eight (word tests) for the
// rest: two tests mark every byte where a delimiter begins, so each
// delimiter costs one step whatever the bytes around it, and no per-byte
// compares reach instrumented builds (fuzzing).
template <typename Take>
void CutAtPairs(std::string_view text, char a, char b, Take take) {
  static_assert(std::endian::native == std::endian::little);
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  const std::uint64_t patternA = kOnes * static_cast<unsigned char>(a);
  const std::uint64_t patternB = kOnes * static_cast<unsigned char>(b);
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* const last = end - 1;  // a delimiter begins before the last byte
  const char* field = begin;         // where the current field begins
  const char* at = begin;
  // A hit in a delimiter already taken is the second byte of "///".
  const auto found = [&](const char* hit) {
    if (hit < field) return;
    take(std::string_view(field, static_cast<std::size_t>(hit - field)));
    field = hit + 2;
  };
#if defined(__SSE2__)
  // Sixteen bytes at a time where the machine has the vector compares; the
  // words below take what remains.
  const __m128i vectorA = _mm_set1_epi8(a);
  const __m128i vectorB = _mm_set1_epi8(b);
  for (; last - at >= 16; at += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 1));
    auto starts = static_cast<std::uint32_t>(_mm_movemask_epi8(
        _mm_and_si128(_mm_cmpeq_epi8(bytes, vectorA), _mm_cmpeq_epi8(next, vectorB))));
    while (starts != 0) {
      found(at + std::countr_zero(starts));
      starts &= starts - 1;
    }
  }
#endif
  // Words whose bytes are all followed by one more byte of the text.
  for (; last - at >= 8; at += 8) {
    std::uint64_t word;
    std::uint64_t next;  // the word one byte on
    std::memcpy(&word, at, sizeof word);
    std::memcpy(&next, at + 1, sizeof next);
    std::uint64_t starts = ZeroBytes(word ^ patternA) & ZeroBytes(next ^ patternB);
    while (starts != 0) {
      found(at + (std::countr_zero(starts) >> 3));
      starts &= starts - 1;
    }
  }
  for (at = std::max(at, field); at < last; ++at) {
    if (at[0] != a || at[1] != b) continue;
    take(std::string_view(field, static_cast<std::size_t>(at - field)));
    field = at + 2;
    ++at;
  }
  if (field < end) take(std::string_view(field, static_cast<std::size_t>(end - field)));
}

// The same for any other delimiter.
template <typename Take>
void CutAt(std::string_view text, std::string_view delimiter, Take take) {
  const char first = delimiter.front();
  const std::size_t rest = delimiter.size() - 1;
  const char* const end = text.data() + text.size();
  const char* field = text.data();
  const char* at = field;
  while (end - at > static_cast<std::ptrdiff_t>(rest)) {
    const void* hit = std::memchr(at, first, static_cast<std::size_t>(end - at) - rest);
    if (hit == nullptr) break;
    at = static_cast<const char*>(hit);
    if (rest == 0 || std::memcmp(at + 1, delimiter.data() + 1, rest) == 0) {
      take(std::string_view(field, static_cast<std::size_t>(at - field)));
      at += delimiter.size();
      field = at;
    } else {
      ++at;
    }
  }
  if (field < end) take(std::string_view(field, static_cast<std::size_t>(end - field)));
}

// Fields already in the vector are overwritten in place (no reallocation per
// record); answers how many fields the text holds, the first ones of the
// vector. The vector may hold more: views and spans keep the room the
// longest text needed. A delimiter at the end of the text adds no field.
template <typename Field, typename Assign>
std::size_t SplitKeepingRoom(std::string_view text, std::vector<Field>& fields,
                             std::string_view delimiter, Assign assign) {
  if (delimiter.empty()) return fields.size();
  if (text.empty()) {
    // One field; a kept text keeps its old value, a view into an older text
    // would not be safe to keep.
    if (fields.empty()) fields.resize(1);
    if constexpr (!std::is_same_v<Field, std::string>) assign(fields[0], text);
    return 1;
  }
  // Views and spans: a text of n bytes holds at most n / d + 1 fields
  // (d the delimiter's length), so room for all of them is made first and
  // kept by the vector; a field is then a single store.
  constexpr bool kRoomFirst = std::is_trivially_copyable_v<Field>;
  if constexpr (kRoomFirst) {
    const std::size_t most = std::min(text.size() / delimiter.size() + 1, kMaxFields);
    if (fields.size() < most) fields.resize(most);
  }
  std::size_t count = 0;
  const auto cut = [&](auto take) {
    if (delimiter.size() == 2) {
      CutAtPairs(text, delimiter[0], delimiter[1], take);
    } else {
      CutAt(text, delimiter, take);
    }
  };
  const auto store = [&](std::string_view raw) {
    if constexpr (!kRoomFirst) {
      if (count == fields.size()) fields.emplace_back();
    }
    assign(fields[count], CleanField(raw));
    ++count;
  };
  // Only a text long enough to hold more fields than the index allows needs
  // the count checked field by field.
  if (text.size() / delimiter.size() + 1 > kMaxFields) {
    cut([&](std::string_view raw) {
      if (count == kMaxFields) {
        fields.resize(count);
        Raise(failure::kOverflow);
      }
      store(raw);
    });
  } else {
    cut(store);
  }
  return count;
}

// The same with the vector cut to the fields found.
template <typename Field, typename Assign>
void Split(std::string_view text, std::vector<Field>& fields, std::string_view delimiter,
           Assign assign) {
  fields.resize(SplitKeepingRoom(text, fields, delimiter, assign));
}

}  // namespace

void SplitFields(std::string_view text, std::vector<std::string>& fields,
                 std::string_view delimiter) {
  Split(text, fields, delimiter, [](std::string& out, std::string_view f) { out.assign(f); });
}

void SplitFields(std::string_view text, std::vector<std::string_view>& fields,
                 std::string_view delimiter) {
  Split(text, fields, delimiter, [](std::string_view& out, std::string_view f) { out = f; });
}

std::span<const std::string_view> SplitFieldViews(std::string_view text,
                                                  std::vector<std::string_view>& room) {
  const std::size_t count = SplitKeepingRoom(
      text, room, "//", [](std::string_view& out, std::string_view f) { out = f; });
  return std::span<const std::string_view>(room.data(), count);
}

bool StoreKey(KeyFields& keys, std::string_view key, std::vector<std::string_view>& room) {
  const std::string_view leading = keys.Leading();
  if (!leading.empty() && key.size() > leading.size() && key.starts_with(leading)) {
    // The leading fields end with a delimiter taken where it began, so the
    // rest is cut the same whatever stood before it.
    keys.StoreRest(key, SplitFieldViews(key.substr(leading.size()), room));
    return true;
  }
  const std::span<const std::string_view> fields = SplitFieldViews(key, room);
  keys.Store(key, fields);
  return fields.size() >= KeyFields::kCount;
}

std::span<const Span> SplitFields(std::string_view text, std::uint32_t base,
                                  std::vector<Span>& room) {
  const char* const begin = text.data();
  const std::size_t count =
      SplitKeepingRoom(text, room, "//", [begin, base](Span& out, std::string_view f) {
        out = Span{base + static_cast<std::uint32_t>(f.data() - begin),
                   static_cast<std::uint32_t>(f.size())};
      });
  return std::span<const Span>(room.data(), count);
}

}  // namespace wcomp837
