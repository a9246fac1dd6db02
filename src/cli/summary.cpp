#include "cli/summary.h"

#include <charconv>
#include <nlohmann/json.hpp>

#include "cli/driver.h"
#include "cli/message_spool.h"
#include "cli/progress.h"
#include "cli/terminal_text.h"
#include "platform/files.h"

namespace wcomp837::cli {
namespace {

using Json = nlohmann::ordered_json;

// One line of the text summary; the value is shown escaped on a terminal.
std::string Line(const std::string& caption, const std::string& value, bool terminal) {
  std::string text = caption + ":";
  text.resize(std::max<std::size_t>(text.size() + 1, 16), ' ');
  return text + ForOutput(value, terminal) + "\n";
}

std::string FileLine(const std::string& caption, const std::string& path, bool terminal) {
  const std::int64_t length = FileLength(path);
  return Line(caption, path + (length < 0 ? " (not present)" : " (" + Grouped(length) + " bytes)"),
              terminal);
}

// The files of a run in the order the text summary lists them.
std::vector<std::pair<std::string, std::string>> Files(const RunSummary& s) {
  std::vector<std::pair<std::string, std::string>> files = {
      {"claim file", s.claimFile}, {"run log", s.runLog}, {"_NAC.Dat", s.nacFile}};
  for (const std::string& report : s.reportFiles) files.emplace_back("report", report);
  return files;
}

std::string DatabaseText(const RunSummary& s) {
  if (s.database.empty()) return "none";
  if (!s.databaseConnected) return s.database + ", not connected";
  return s.database + ", connected, tables " +
         (s.qualifier.empty() ? std::string("without qualifier")
                              : "as " + s.qualifier + "PRACTICE");
}

// Host texts may hold bytes that are no UTF-8: they become U+FFFD.
std::string Dump(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
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

std::string SendVerdict(const RunSummary& s) {
  if (!s.claimFileFit) return "no: the claim file is incomplete or failed the check";
  if (s.result >= 3) return "no: a call failed, the claim file may lack data";
  if (!s.claims || *s.claims == 0) return "nothing to send: no claim was written";
  return "yes: the claim file is complete and passed the check";
}

std::string SummaryText(const RunSummary& s, bool terminal) {
  std::string text;
  if (s.batchRan) {
    text += Line("claims written", s.claims ? Grouped(*s.claims) : "unknown", false);
    text += Line("charges", Grouped(s.charges), false);
    text += Line("records", Grouped(s.records), false);
  }
  for (const auto& [caption, path] : Files(s)) text += FileLine(caption, path, terminal);
  if (s.batchRan) text += Line("send it", SendVerdict(s), false);
  text += Line("database", DatabaseText(s), terminal);
  text += Line("settings", s.settingsFolder, terminal);
  text += Line("result", std::to_string(s.result) + " (" + ResultMeaning(s.result) + ")", false);
  return text;
}

std::string MessageJson(const std::string& where, std::int64_t lineNumber,
                        const std::string& entry) {
  Json m = {{"call", where},
            {"line", lineNumber > 0 ? Json(lineNumber) : Json()},
            {"type", MessageType(entry)},
            {"text", MessageBody(entry)}};
  return Dump(m);
}

void WriteSummaryJson(std::ostream& out, const RunSummary& s, MessageSpool& messages) {
  Json summary;
  summary["claims"] = s.batchRan && s.claims ? Json(*s.claims) : Json();
  summary["charges"] = s.batchRan ? Json(s.charges) : Json();
  summary["records"] = s.batchRan ? Json(s.records) : Json();
  summary["files"] = Json::array();
  for (const auto& [role, path] : Files(s)) {
    if (path.empty()) continue;
    const std::int64_t length = FileLength(path);
    summary["files"].push_back(
        {{"role", role}, {"path", path}, {"bytes", length < 0 ? Json() : Json(length)}});
  }
  summary["result"] = s.result;
  summary["result_meaning"] = ResultMeaning(s.result);
  summary["claim_file_fit_to_send"] =
      s.batchRan ? Json(s.claims.value_or(0) > 0 && s.claimFileFit && s.result < 3) : Json();
  summary["send_verdict"] = s.batchRan ? Json(SendVerdict(s)) : Json();
  summary["database"] = s.database.empty() ? Json()
                                           : Json{{"connection", s.database},
                                                  {"connected", s.databaseConnected},
                                                  {"qualifier", s.qualifier}};
  summary["settings_folder"] = s.settingsFolder;
  // The messages go last, streamed from the spool into the closing brace.
  std::string head = Dump(summary);
  head.pop_back();
  out << head << ",\"messages\":[";
  messages.WriteList(out);
  out << "]}\n";
}

}  // namespace wcomp837::cli
