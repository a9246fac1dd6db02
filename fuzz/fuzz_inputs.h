// What one input does in each fuzz target; shared by the fuzzers and by the
// test that replays fuzz/regressions/<target>/. Every runner answers "" when
// each call answered within the protocol, else the first problem.
//
//   records   a host script (host_script.h) through claim assembly and the
//             claim file writer, without reports
//   settings  the two settings files beside the component
//   summary   the bytes as a finished claim file, read back by the summary
//             report and printed to a surface that keeps nothing
//   guide     the bytes as a claim file read by the implementation-guide
//             check, which writes the functional acknowledgment (997) of
//             what it read; the acknowledgment must pass the check itself,
//             and the check of the bytes fed in pieces must find what the
//             check of them whole finds
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "claim/state.h"
#include "host_script.h"
#include "platform/files.h"
#include "platform/printing.h"
#include "refdata/lookups.h"
#include "refdata/settings_file.h"
#include "state/messages.h"
#include "wcomp837/format_class.h"
#include "x12/guide/ack997.h"
#include "x12/guide/check.h"
#include "x12/guide/checker.h"

namespace wcomp837::fuzzing {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
}

inline std::string RunRecordsInput(const std::string& outFolder, std::string_view data) {
  HostScript host(outFolder, /*reports=*/false);
  return host.Run(data) ? std::string() : host.problem();
}

// The bytes before the first form feed are the alternate practice names, the
// rest the NPI legacy dates. The lookups ask for values the files hold, so
// that matching entries are found too.
inline std::string RunSettingsInput(const std::string& componentFolder, std::string_view data) {
  const std::size_t cut = data.find('\f');
  const std::string_view names = data.substr(0, cut);
  const std::string_view dates = cut == std::string_view::npos ? "" : data.substr(cut + 1);
  WriteBytes(componentFolder + "/QBEX_ALT_PRACTICENAME.DAT", names);
  WriteBytes(componentFolder + "/QBEX_CFG_NPICMS.DAT", dates);

  // One working state serves every input: the lookups use only the
  // reference-data state and the message list, emptied here.
  thread_local const auto shared = std::make_unique<SharedState>();
  shared->ref = RefState{};
  ClearMessageArray(shared->host);
  ObjectState object;
  Ctx c{*shared, object};
  PracticeRec practice{};
  practice[Practice::sRecordTag] = "1000";
  practice[Practice::sName] = "PRACTICE";
  const std::vector<std::string> first =
      SplitSettingsLine(std::string(names.substr(0, names.find('\n'))));
  practice[Practice::sPracticeCode] = first.empty() ? std::string() : first[0];
  CheckForAlternatePracticeName(c, practice);

  NPILegacyDate(c, "", "");
  const auto entries = c.g.ref.NPILegacyDates;
  for (std::size_t i = 0; i < entries.size() && i < 8; ++i) {
    NPILegacyDate(c, entries[i].sValue + "9", entries[i].sValue);
  }
  for (std::size_t i = 1; i < c.g.host.gMessageArray.size(); ++i) {
    const std::int16_t type = c.g.host.gMessageArray[i].iMsgType;
    if (type == 0) break;
    if (type != 3) return "a settings lookup left a message of type " + std::to_string(type);
  }
  return {};
}

// fc has its output folder, claim file name (claimFile) and printer set.
inline std::string RunSummaryInput(Format_Class& fc, const std::string& claimFile,
                                   std::string_view data) {
  WriteBytes(claimFile, data);
  SetNullPrintingForTesting(true);
  const std::int16_t result = fc.HereIsAMessage("9", "1");
  SetNullPrintingForTesting(false);
  if (result != 0 && result != 1 && result != 3) {
    return "report 1 answered " + std::to_string(result);
  }
  for (std::int32_t i = 1;; ++i) {
    if (fc.GetAMessage(i) == "END") break;
    if (i == 10'000'000) return "report 1 left a message list without end";
  }
  if (FileExists(claimFile + "_Summary.pdf")) return "report 1 wrote a document";
  return {};
}

// Every finding (its rule, severity, place, value and claim), and the
// totals; each finding is passed on to the next observer.
struct EveryFinding : guide::CheckObserver {
  explicit EveryFinding(guide::CheckObserver* next = nullptr) : next(next) {}
  guide::CheckObserver* next;
  std::string seen;
  void Interchange(const guide::InterchangeInfo& i) override {
    if (next) next->Interchange(i);
  }
  void GroupStart(const guide::GroupInfo& g) override {
    if (next) next->GroupStart(g);
  }
  void SetStart(std::string_view id, std::string_view control) override {
    if (next) next->SetStart(id, control);
  }
  void SetEnd(const guide::SetResult& r) override {
    if (next) next->SetEnd(r);
  }
  void GroupEnd(const guide::GroupResult& r) override {
    if (next) next->GroupEnd(r);
  }
  void Found(const guide::Finding& f) override {
    if (next) next->Found(f);
    for (std::int64_t n :
         {std::int64_t{static_cast<std::uint8_t>(f.rule)},
          std::int64_t{static_cast<std::uint8_t>(f.severity)}, f.segment, f.setPosition,
          std::int64_t{f.elementPosition}, std::int64_t{f.componentPosition}}) {
      seen += std::to_string(n) + " ";
    }
    seen.append(f.value).append(" ").append(f.claim).append("\n");
  }
  void Add(const guide::CheckTotals& t) {
    for (std::int64_t n :
         {t.bytes, t.segments, t.interchanges, t.groups, t.sets, t.setsBy[0], t.setsBy[1],
          t.setsBy[2], t.claims, t.serviceLines, t.errors, t.warnings}) {
      seen += std::to_string(n) + " ";
    }
  }
};

// A file is read, or followed while it is written, in blocks that end
// anywhere: the bytes fed in pieces of 1 to 300 bytes must give what the
// check of them whole gave (whole).
inline std::string CompareGuidePieces(std::string_view data, const EveryFinding& whole) {
  EveryFinding pieces;
  guide::Checker checker(pieces, {});
  std::uint32_t state = static_cast<std::uint32_t>(data.size()) * 2654435761u + 1;
  for (std::size_t at = 0; at < data.size();) {
    state = state * 1664525u + 1013904223u;
    const std::size_t piece = 1 + (state >> 16) % 300;
    checker.Feed(data.substr(at, piece));
    at += piece;
  }
  pieces.Add(checker.Finish());
  if (pieces.seen == whole.seen) return {};
  return "the check in pieces found otherwise than the check of the whole:\n" + pieces.seen +
         "\n---\n" + whole.seen;
}

// The acknowledgment is written to ackFile.
inline std::string RunGuideInput(const std::string& ackFile, std::string_view data) {
  struct FirstError : guide::CheckObserver {
    std::string problem;
    void Found(const guide::Finding& f) override {
      if (f.severity == guide::Severity::kError && problem.empty()) {
        problem = "the acknowledgment is in error: " + guide::Describe(f);
      }
    }
  };
  std::filesystem::remove(ackFile);
  guide::AckWriter ack(ackFile);
  EveryFinding whole(&ack);
  whole.Add(guide::CheckText(data, whole));
  if (std::string problem = CompareGuidePieces(data, whole); !problem.empty()) return problem;
  if (!ack.Close()) return {};  // no functional group read: nothing to acknowledge
  std::ifstream in(ackFile, std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  FirstError errors;
  guide::CheckText(written, errors, {.guide = false});
  return errors.problem;
}

}  // namespace wcomp837::fuzzing
