#include "platform/failure.h"
#include "records/parsers.h"

namespace wcomp837 {
namespace {

// The field index is 16-bit: a text may hold at most 32767 fields.
constexpr std::size_t kMaxFields = 32767;

// Trailing blanks cut; "." and any longer field that starts and ends with
// "." mean an empty field. Assigned into the caller's string so that its
// buffer is reused from one record to the next.
void AssignCleanField(std::string& out, std::string_view raw) {
  std::size_t end = raw.size();
  while (end > 0 && raw[end - 1] == ' ') --end;
  std::string_view field = raw.substr(0, end);
  if (field == "." || (field.size() > 1 && field.front() == '.' && field.back() == '.')) {
    out.clear();
  } else {
    out.assign(field);
  }
}

}  // namespace

void SplitFields(std::string_view text, std::vector<std::string>& fields,
                 std::string_view delimiter) {
  if (delimiter.empty()) return;
  if (text.empty()) {
    fields.resize(1);
    return;
  }
  // Fields already in the vector are overwritten in place (no reallocation
  // per record); the vector is cut to the fields found at the end.
  std::size_t start = 0;
  std::size_t count = 0;
  while (start < text.size()) {
    if (count == kMaxFields) {
      fields.resize(count);
      Raise(failure::kOverflow);
    }
    const std::size_t found = text.find(delimiter, start);
    std::string_view raw =
        found == std::string_view::npos ? text.substr(start) : text.substr(start, found - start);
    if (count == fields.size()) fields.emplace_back();
    AssignCleanField(fields[count], raw);
    ++count;
    if (found == std::string_view::npos) break;
    start = found + delimiter.size();
  }
  fields.resize(count);
}

}  // namespace wcomp837
