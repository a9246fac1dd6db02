// Checks a claim file as a payer's front end reads it: envelopes, separators
// and character sets, then every transaction set against the 837
// Professional 004010X098A1 implementation guide (loops, segment order,
// usage, repeats, element types, lengths, codes and syntax rules, HL
// numbering, claim totals, diagnosis pointers, dates). The file is read as
// a stream: memory holds one segment and the loop stack, whatever its size.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "x12/guide/findings.h"

namespace wcomp837::guide {

// A transaction set's outcome, in the words of a payer's acknowledgment.
enum class Verdict : std::uint8_t { kAccepted, kAcceptedWithErrors, kRejected };
// "accepted", "accepted with errors", "rejected".
std::string_view VerdictText(Verdict verdict);

// Acknowledgment codes (AK502 ... or AK905 ...), at most five.
struct AckCodes {
  std::array<std::uint8_t, 5> codes{};
  std::uint8_t count = 0;
  void Add(std::uint8_t code);
};

struct InterchangeInfo {
  std::string_view senderQualifier, sender;      // ISA05, ISA06
  std::string_view receiverQualifier, receiver;  // ISA07, ISA08
  std::string_view control;                      // ISA13
  std::string_view usage;                        // ISA15
};

struct GroupInfo {
  std::string_view functionalId;  // GS01
  std::string_view sender;        // GS02
  std::string_view receiver;      // GS03
  std::string_view control;       // GS06
  std::string_view version;       // GS08
};

struct SetResult {
  std::string_view setId;    // ST01
  std::string_view control;  // ST02
  std::int64_t firstSegment = 0;
  std::int64_t lastSegment = 0;
  std::int64_t claims = 0;
  std::int64_t errors = 0;
  std::int64_t warnings = 0;
  Verdict verdict = Verdict::kAccepted;
  AckCodes codes;  // why it was rejected
};

struct GroupResult {
  std::string_view functionalId;
  std::string_view control;
  std::int64_t setsIncluded = 0;  // as GE01 says, or as counted when it cannot be read
  std::int64_t setsReceived = 0;
  std::int64_t setsAccepted = 0;  // accepted, with or without errors
  bool rejected = false;          // the group as a whole (its envelope is in error)
  bool errorsNoted = false;       // some set was accepted with errors
  AckCodes codes;
};

// Receives what the check finds, in file order.
class CheckObserver {
 public:
  virtual ~CheckObserver() = default;
  virtual void Interchange(const InterchangeInfo&) {}
  virtual void GroupStart(const GroupInfo&) {}
  virtual void SetStart(std::string_view /*setId*/, std::string_view /*control*/) {}
  virtual void Found(const Finding&) {}
  virtual void SetEnd(const SetResult&) {}
  virtual void GroupEnd(const GroupResult&) {}
};

struct CheckTotals {
  std::int64_t bytes = 0;
  std::int64_t segments = 0;
  std::int64_t interchanges = 0;
  std::int64_t groups = 0;
  std::int64_t sets = 0;
  std::array<std::int64_t, 3> setsBy{};  // by Verdict
  std::int64_t claims = 0;
  std::int64_t serviceLines = 0;
  std::int64_t errors = 0;
  std::int64_t warnings = 0;
  bool ok() const { return errors == 0; }
};

struct CheckOptions {
  // false: envelopes, counts, separators and characters only, for files
  // that are not 837 claims (the functional acknowledgment).
  bool guide = true;
};

// Checks the file at path; raises Failure when it cannot be read.
CheckTotals CheckFile(const std::string& path, CheckObserver& observer, CheckOptions options = {});
// Checks content held in memory.
CheckTotals CheckText(std::string_view text, CheckObserver& observer, CheckOptions options = {});

// One line for a finding: "segment 27, 2300 CLM05-1, claim N30001: code value
// not in the guide's list: "99"; expected ...".
std::string Describe(const Finding& finding);

// Keeps the first `limit` findings of one severity as text and counts the
// rest: what a caller turns into messages.
class FindingList : public CheckObserver {
 public:
  explicit FindingList(std::size_t limit = 100, Severity severity = Severity::kError)
      : limit_(limit), severity_(severity) {}
  void Found(const Finding& finding) override;

  struct Kept {
    Rule rule;
    std::int64_t segment;
    std::string key;
    std::string text;  // Describe()
  };
  const std::vector<Kept>& kept() const { return kept_; }
  std::int64_t notKept() const { return notKept_; }

 private:
  std::size_t limit_;
  Severity severity_;
  std::vector<Kept> kept_;
  std::int64_t notKept_ = 0;
};

}  // namespace wcomp837::guide
