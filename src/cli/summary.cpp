#include "cli/summary.h"

#include <charconv>

#include "cli/progress.h"
#include "platform/files.h"

namespace wcomp837::cli {
namespace {

std::string Line(const std::string& caption, const std::string& value) {
  std::string text = caption + ":";
  text.resize(std::max<std::size_t>(text.size() + 1, 16), ' ');
  return text + value + "\n";
}

std::string FileLine(const std::string& caption, const std::string& path) {
  const std::int64_t length = FileLength(path);
  return Line(caption, path + (length < 0 ? " (not present)" : " (" + Grouped(length) + " bytes)"));
}

}  // namespace

std::optional<std::int64_t> ClaimsFromAnswer(const std::string& body) {
  const std::string prefix = "TOTALCLAIMS//";
  if (body.rfind(prefix, 0) != 0) return std::nullopt;
  const char* first = body.data() + prefix.size();
  const char* last = body.data() + body.size();
  std::int64_t n = 0;
  const auto [end, ec] = std::from_chars(first, last, n);
  if (ec != std::errc() || end == first) return std::nullopt;
  return n;
}

std::string ResultMeaning(int result) {
  switch (result) {
    case 0:
      return "done";
    case 1:
      return "messages waiting";
    default:
      return "error";
  }
}

std::string SummaryText(const RunSummary& s) {
  std::string text;
  if (s.batchRan) {
    text += Line("claims written", s.claims ? Grouped(*s.claims) : "unknown");
    text += Line("charges", Grouped(s.charges));
    text += Line("records", Grouped(s.records));
  }
  text += FileLine("claim file", s.claimFile);
  text += FileLine("run log", s.runLog);
  text += FileLine("_NAC.Dat", s.nacFile);
  for (const std::string& report : s.reportFiles) text += FileLine("report", report);
  text += Line("result", std::to_string(s.result) + " (" + ResultMeaning(s.result) + ")");
  return text;
}

}  // namespace wcomp837::cli
