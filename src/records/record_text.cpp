#include "records/record_text.h"

#include <limits>

#include "platform/failure.h"

namespace wcomp837::record_text {
namespace {

// A buffer is compacted only past this size, and only when the texts no
// member uses make up more than half of it.
constexpr std::size_t kCompactAt = 4096;

std::uint32_t Offset(std::size_t n) {
  if (n > std::numeric_limits<std::uint32_t>::max()) Raise(failure::kOverflow);
  return static_cast<std::uint32_t>(n);
}

void Compact(std::string& buf, std::span<Span> spans) {
  if (buf.size() <= kCompactAt) return;
  std::size_t live = 0;
  for (const Span& s : spans) live += s.len;
  if (2 * live >= buf.size()) return;
  // The live texts go to a spare buffer and back, so that every record keeps
  // its own buffer (and the capacity it grew to) for good.
  thread_local std::string spare;
  spare.clear();
  for (Span& s : spans) {
    if (s.len == 0) {
      s = Span{};
      continue;
    }
    const std::size_t off = spare.size();
    spare.append(buf, s.off, s.len);
    s.off = static_cast<std::uint32_t>(off);
  }
  buf.assign(spare);
}

}  // namespace

void Store(std::string& buf, Span& span, std::string_view v) {
  if (v.empty()) {
    span = Span{};
    return;
  }
  const char* base = buf.data();
  if (v.data() >= base && v.data() + v.size() <= base + buf.size()) {
    span = Span{static_cast<std::uint32_t>(v.data() - base), static_cast<std::uint32_t>(v.size())};
    return;
  }
  const std::uint32_t off = Offset(buf.size());
  const std::uint32_t len = Offset(v.size());
  Offset(std::size_t{off} + len);
  buf.append(v);
  span = Span{off, len};
}

std::uint32_t AppendText(std::string& buf, std::span<Span> spans, std::string_view text) {
  Compact(buf, spans);
  const std::uint32_t off = Offset(buf.size());
  Offset(buf.size() + text.size());
  buf.append(text);
  return off;
}

}  // namespace wcomp837::record_text
