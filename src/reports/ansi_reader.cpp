#include "reports/ansi_reader.h"

#include <cstring>

#include "reports/print_routines.h"

namespace wcomp837 {
namespace {

// Removes the line breaks from text. The runs between them are found by
// strcspn, which also stops at an embedded NUL (kept) and at the end.
void EraseLineBreaks(std::string& text) {
  char* data = text.data();
  const std::size_t size = text.size();
  std::size_t kept = 0;
  std::size_t at = 0;
  while (at < size) {
    const std::size_t run = std::strcspn(data + at, "\r\n");
    if (kept != at) std::memmove(data + kept, data + at, run);
    kept += run;
    at += run;
    if (at < size) {
      if (data[at] == '\0') data[kept++] = '\0';
      ++at;
    }
  }
  text.resize(kept);
}

}  // namespace

std::int16_t ReadNextANSIRecord(const PrintCtx& c, ByteReader& reader, std::string& segment) {
  try {
    segment.clear();
    bool closed = reader.AppendUntil('~', segment, kMaxSegmentBytes);
    EraseLineBreaks(segment);
    // A file that ends without a closing "~" still gives its last segment.
    if (closed || !segment.empty()) segment += '*';
    return 0;
  } catch (...) {
    AddReportFailure(c.host, "ReadNextANSIRecord()  Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t ParseANSIRecord(const PrintCtx& c, std::string_view segment,
                             SegmentElements& elements) {
  try {
    elements.clear();
    if (segment.empty()) return 0;
    // Every segment text ends with the "*" that replaced its "~", so the
    // last element is complete and nothing follows it.
    if (segment.back() == '*') segment.remove_suffix(1);
    std::size_t start = 0;
    while (start <= segment.size() && elements.size() < kMaxSegmentElements) {
      std::size_t end = segment.find('*', start);
      if (end == std::string_view::npos) end = segment.size();
      elements.push_back(segment.substr(start, end - start));
      start = end + 1;
    }
    return 0;
  } catch (...) {
    AddReportFailure(c.host, "ParseANSIRecord()  Error: ", std::current_exception());
    return 3;
  }
}

std::string_view ComponentAt(std::string_view element, std::size_t i) {
  if (element.empty() || i >= kMaxSegmentElements) return {};
  std::size_t start = 0;
  for (; i > 0; --i) {
    const std::size_t end = element.find(':', start);
    if (end == std::string_view::npos) return {};
    start = end + 1;
  }
  return element.substr(start, element.find(':', start) - start);
}

std::string_view ElementAt(const SegmentElements& elements, std::size_t i) {
  return i < elements.size() ? elements[i] : std::string_view();
}

}  // namespace wcomp837
