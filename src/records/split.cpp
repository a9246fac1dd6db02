#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "platform/failure.h"
#include "records/parsers.h"

namespace wcomp837 {
namespace {

// The field index is 16-bit: a text may hold at most 32767 fields.
constexpr std::size_t kMaxFields = 32767;

// Trailing blanks cut; "." and any longer field that starts and ends with
// "." mean an empty field.
std::string_view CleanField(std::string_view raw) {
  std::size_t end = raw.size();
  while (end > 0 && raw[end - 1] == ' ') --end;
  std::string_view field = raw.substr(0, end);
  if (field == "." || (field.size() > 1 && field.front() == '.' && field.back() == '.')) {
    return field.substr(0, 0);
  }
  return field;
}

// The next delimiter at or after start. The two-byte delimiter every record
// uses ("//") is looked for eight bytes at a time: fields are short, so one
// word test per few bytes beats a library search started for every field,
// and it keeps per-byte compares out of instrumented builds (fuzzing).
std::size_t Find(std::string_view text, std::string_view delimiter, std::size_t start) {
  if (delimiter.size() == 2) {
    static_assert(std::endian::native == std::endian::little);
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighs = 0x8080808080808080u;
    const char a = delimiter[0], b = delimiter[1];
    const std::uint64_t pattern = kOnes * static_cast<unsigned char>(a);
    const char* const begin = text.data();
    const char* const last = begin + text.size() - 1;  // text is never empty here
    const char* at = begin + start;
    // A word whose bytes are all followed by one more byte of the text.
    while (last - at >= 8) {
      std::uint64_t word;
      std::memcpy(&word, at, sizeof word);
      const std::uint64_t x = word ^ pattern;  // a zero byte where a stands
      // Marks every zero byte (and, past the first, possibly others).
      for (std::uint64_t marks = (x - kOnes) & ~x & kHighs; marks != 0; marks &= marks - 1) {
        const char* hit = at + (std::countr_zero(marks) >> 3);
        if (hit[0] == a && hit[1] == b) return static_cast<std::size_t>(hit - begin);
      }
      at += sizeof word;
    }
    for (; at < last; ++at) {
      if (at[0] == a && at[1] == b) return static_cast<std::size_t>(at - begin);
    }
    return std::string_view::npos;
  }
  const char first = delimiter.front();
  const std::size_t rest = delimiter.size() - 1;
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* at = begin + start;
  while (end - at > static_cast<std::ptrdiff_t>(rest)) {
    const void* hit = std::memchr(at, first, static_cast<std::size_t>(end - at) - rest);
    if (hit == nullptr) break;
    at = static_cast<const char*>(hit);
    if (rest == 0 || std::memcmp(at + 1, delimiter.data() + 1, rest) == 0) {
      return static_cast<std::size_t>(at - begin);
    }
    ++at;
  }
  return std::string_view::npos;
}

// Fields already in the vector are overwritten in place (no reallocation per
// record); the vector is cut to the fields found at the end.
template <typename Field, typename Assign>
void Split(std::string_view text, std::vector<Field>& fields, std::string_view delimiter,
           Assign assign) {
  if (delimiter.empty()) return;
  if (text.empty()) {
    // One field; a kept text keeps its old value, a view into an older text
    // would not be safe to keep.
    fields.resize(1);
    if constexpr (!std::is_same_v<Field, std::string>) assign(fields[0], text);
    return;
  }
  const char* const begin = text.data();
  std::size_t start = 0;
  std::size_t count = 0;
  for (;;) {
    if (count == kMaxFields) {
      fields.resize(count);
      Raise(failure::kOverflow);
    }
    const std::size_t found = Find(text, delimiter, start);
    const std::size_t stop = found == std::string_view::npos ? text.size() : found;
    if (count == fields.size()) fields.emplace_back();
    assign(fields[count], CleanField(std::string_view(begin + start, stop - start)));
    ++count;
    if (found == std::string_view::npos) break;
    start = found + delimiter.size();
    if (start >= text.size()) break;  // a trailing delimiter adds no field
  }
  fields.resize(count);
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

void SplitFields(std::string_view text, std::uint32_t base, std::vector<Span>& fields) {
  const char* const begin = text.data();
  Split(text, fields, "//", [begin, base](Span& out, std::string_view f) {
    out = Span{base + static_cast<std::uint32_t>(f.data() - begin),
               static_cast<std::uint32_t>(f.size())};
  });
}

}  // namespace wcomp837
