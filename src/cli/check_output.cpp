#include "cli/check_output.h"

#include <nlohmann/json.hpp>

#include "cli/progress.h"

namespace wcomp837::cli {
namespace {

using guide::Severity;
using guide::Verdict;
using nlohmann::json;

std::string Counted(std::int64_t n, const char* one, const char* many) {
  return Grouped(n) + " " + (n == 1 ? one : many);
}

// "3 transaction sets: 1 accepted, 1 accepted with errors, 1 rejected; 5
// claims, 7 service lines; 2 errors, 1 warning".
std::string Summary(const guide::CheckTotals& t) {
  return Counted(t.sets, "transaction set", "transaction sets") + ": " + Grouped(t.setsBy[0]) +
         " accepted, " + Grouped(t.setsBy[1]) + " accepted with errors, " + Grouped(t.setsBy[2]) +
         " rejected; " + Counted(t.claims, "claim", "claims") + ", " +
         Counted(t.serviceLines, "service line", "service lines") + "; " +
         Counted(t.errors, "error", "errors") + ", " + Counted(t.warnings, "warning", "warnings");
}

json TotalsJson(const guide::CheckTotals& t) {
  return {{"bytes", t.bytes},
          {"segments", t.segments},
          {"interchanges", t.interchanges},
          {"groups", t.groups},
          {"transaction_sets", t.sets},
          {"accepted", t.setsBy[0]},
          {"accepted_with_errors", t.setsBy[1]},
          {"rejected", t.setsBy[2]},
          {"claims", t.claims},
          {"service_lines", t.serviceLines},
          {"errors", t.errors},
          {"warnings", t.warnings}};
}

}  // namespace

void CheckRun::Add(const guide::CheckTotals& t) {
  totals.bytes += t.bytes;
  totals.segments += t.segments;
  totals.interchanges += t.interchanges;
  totals.groups += t.groups;
  totals.sets += t.sets;
  for (std::size_t i = 0; i < t.setsBy.size(); ++i) totals.setsBy[i] += t.setsBy[i];
  totals.claims += t.claims;
  totals.serviceLines += t.serviceLines;
  totals.errors += t.errors;
  totals.warnings += t.warnings;
}

void CheckOutput::Interchange(const guide::InterchangeInfo& info) {
  if (next_) next_->Interchange(info);
}

void CheckOutput::GroupStart(const guide::GroupInfo& group) {
  if (next_) next_->GroupStart(group);
}

void CheckOutput::SetStart(std::string_view setId, std::string_view control) {
  if (next_) next_->SetStart(setId, control);
}

void CheckOutput::GroupEnd(const guide::GroupResult& result) {
  if (next_) next_->GroupEnd(result);
}

void CheckOutput::Found(const guide::Finding& f) {
  if (next_) next_->Found(f);
  const bool error = f.severity == Severity::kError;
  if (quiet_ && !error) return;
  if (!json_) {
    out_ << path_ << ": " << (error ? "error: " : "warning: ") << guide::Describe(f) << "\n";
    return;
  }
  out_ << json{{"type", "finding"},
               {"file", path_},
               {"severity", error ? "error" : "warning"},
               {"rule", guide::InfoOf(f.rule).name},
               {"key", f.key},
               {"segment", f.segment},
               {"set_position", f.setPosition},
               {"segment_id", f.segmentId},
               {"loop", f.loop},
               {"element", f.element},
               {"value", f.value},
               {"expected", f.expected},
               {"claim", f.claim},
               {"reason", f.reason},
               {"text", guide::Describe(f)}}
              .dump(-1, ' ', false, json::error_handler_t::replace)
       << "\n";
}

void CheckOutput::SetEnd(const guide::SetResult& r) {
  if (next_) next_->SetEnd(r);
  if (quiet_) return;
  if (json_) {
    out_ << json{{"type", "transaction_set"},
                 {"file", path_},
                 {"set_id", r.setId},
                 {"control_number", r.control},
                 {"first_segment", r.firstSegment},
                 {"last_segment", r.lastSegment},
                 {"verdict", guide::VerdictText(r.verdict)},
                 {"claims", r.claims},
                 {"errors", r.errors},
                 {"warnings", r.warnings}}
                .dump(-1, ' ', false, json::error_handler_t::replace)
         << "\n";
    return;
  }
  out_ << path_ << ": transaction set " << r.control << " (segments " << r.firstSegment << "-"
       << r.lastSegment << "): " << guide::VerdictText(r.verdict) << ", "
       << Counted(r.claims, "claim", "claims");
  if (r.errors > 0 || r.warnings > 0) {
    out_ << " (" << Counted(r.errors, "error", "errors") << ", "
         << Counted(r.warnings, "warning", "warnings") << ")";
  }
  out_ << "\n";
}

void CheckOutput::FileDone(const guide::CheckTotals& totals) {
  if (quiet_) return;
  if (json_) {
    json line = TotalsJson(totals);
    line["type"] = "file";
    line["file"] = path_;
    line["readable"] = true;
    out_ << line.dump(-1, ' ', false, json::error_handler_t::replace) << "\n";
    return;
  }
  out_ << path_ << ": " << Summary(totals) << "\n";
}

void CheckOutput::FileUnreadable(const std::string& problem) {
  if (json_) {
    out_ << json{{"type", "file"}, {"file", path_}, {"readable", false}, {"problem", problem}}.dump(
                -1, ' ', false, json::error_handler_t::replace)
         << "\n";
  }
  err_ << path_ << ": cannot read the file: " << problem << "\n";
}

void CheckOutput::RunDone(const CheckRun& run, int status) {
  if (quiet_) return;
  if (json_) {
    json line = TotalsJson(run.totals);
    line["type"] = "total";
    line["files"] = run.files;
    line["unreadable_files"] = run.unreadable;
    line["exit_status"] = status;
    out_ << line.dump(-1, ' ', false, json::error_handler_t::replace) << "\n";
    return;
  }
  if (run.files < 2) return;
  out_ << "total: " << Counted(run.files, "file", "files");
  if (run.unreadable > 0) out_ << " (" << Grouped(run.unreadable) << " unreadable)";
  out_ << ", " << Summary(run.totals) << "\n";
}

}  // namespace wcomp837::cli
