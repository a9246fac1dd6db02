#include "platform/failure.h"
#include "records/parsers.h"

namespace wcomp837 {
namespace {

// The field index is 16-bit: a text may hold at most 32767 fields.
constexpr std::size_t kMaxFields = 32767;

// Trailing blanks cut; "." and any longer field that starts and ends with
// "." mean an empty field.
std::string CleanField(std::string_view raw) {
  std::size_t end = raw.size();
  while (end > 0 && raw[end - 1] == ' ') --end;
  std::string_view field = raw.substr(0, end);
  if (field == "." || (field.size() > 1 && field.front() == '.' && field.back() == '.')) return "";
  return std::string(field);
}

}  // namespace

void SplitFields(std::string_view text, std::vector<std::string>& fields,
                 std::string_view delimiter) {
  if (delimiter.empty()) return;
  fields.resize(1);
  if (text.empty()) return;
  std::size_t start = 0;
  std::size_t count = 0;
  while (start < text.size()) {
    if (count == kMaxFields) Raise(failure::kOverflow);
    const std::size_t found = text.find(delimiter, start);
    std::string_view raw =
        found == std::string_view::npos ? text.substr(start) : text.substr(start, found - start);
    if (count < fields.size()) {
      fields[count] = CleanField(raw);
    } else {
      fields.push_back(CleanField(raw));
    }
    ++count;
    if (found == std::string_view::npos) break;
    start = found + delimiter.size();
  }
}

}  // namespace wcomp837
