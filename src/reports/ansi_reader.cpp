#include "reports/ansi_reader.h"

#include <string_view>

#include "reports/print_routines.h"

namespace wcomp837 {
namespace {

// Splits text on separator into parts (at most limit), reusing the
// strings parts already holds.
void SplitInto(std::string_view text, char separator, std::size_t limit, SegmentElements& parts) {
  std::size_t count = 0;
  std::size_t start = 0;
  while (start <= text.size() && count < limit) {
    std::size_t end = text.find(separator, start);
    if (end == std::string_view::npos) end = text.size();
    if (count == parts.size()) parts.emplace_back();
    parts[count++].assign(text.substr(start, end - start));
    start = end + 1;
  }
  parts.resize(count);
}

}  // namespace

std::int16_t ReadNextANSIRecord(Ctx& c, ByteReader& reader, std::string& segment) {
  try {
    segment.clear();
    bool closed = reader.AppendUntil('~', segment);
    std::erase_if(segment, [](char ch) { return ch == '\r' || ch == '\n'; });
    // A file that ends without a closing "~" still gives its last segment.
    if (closed || !segment.empty()) segment += '*';
    return 0;
  } catch (...) {
    AddReportFailure(c.g.host, "ReadNextANSIRecord()  Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t ParseANSIRecord(Ctx& c, const std::string& segment, SegmentElements& elements) {
  try {
    if (segment.empty()) {
      elements.clear();
      return 0;
    }
    // Every segment text ends with the "*" that replaced its "~", so the
    // last element is complete and nothing follows it.
    std::string_view body(segment);
    if (body.back() == '*') body.remove_suffix(1);
    SplitInto(body, '*', kMaxSegmentElements, elements);
    return 0;
  } catch (...) {
    AddReportFailure(c.g.host, "ParseANSIRecord()  Error: ", std::current_exception());
    return 3;
  }
}

SegmentElements SplitComposite(const std::string& element) {
  SegmentElements parts;
  if (!element.empty()) SplitInto(element, ':', kMaxSegmentElements, parts);
  return parts;
}

const std::string& ElementAt(const SegmentElements& elements, std::size_t i) {
  static const std::string kEmpty;
  return i < elements.size() ? elements[i] : kEmpty;
}

}  // namespace wcomp837
