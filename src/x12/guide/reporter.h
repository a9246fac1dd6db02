// Turns what the check parts find into findings: fills in where it was
// found and the claim it belongs to, makes documented departures warnings,
// counts them and hands them to the observer in file order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "x12/guide/check.h"

namespace wcomp837::guide {

class Reporter {
 public:
  explicit Reporter(CheckObserver& observer) : observer_(observer) {}

  // Where the check stands: the segment being read and its loop.
  void At(std::int64_t segment, std::int64_t setPosition, std::string_view segmentId) {
    here_.segment = segment;
    here_.setPosition = setPosition;
    here_.segmentId = segmentId;
  }
  void InLoop(std::string_view label, std::string_view loopId) {
    here_.loop = label;
    here_.loopId = loopId;
  }
  // A finding about the current segment, to be completed and emitted.
  Finding Here(Rule rule) const {
    Finding f = here_;
    f.rule = rule;
    return f;
  }
  void Emit(Finding f);

  // A hierarchical level begins: its findings wait for the claim (CLM01)
  // that follows it. BeginClaim names that claim; LeaveClaims hands over
  // what waits without a claim (end of a transaction set).
  void BeginLevel();
  void BeginClaim(std::string_view claim);
  void LeaveClaims();
  std::string_view claim() const { return claim_; }

  // Counts and acknowledgment codes of the errors since the last reset.
  void ResetSet() {
    setErrors_ = setWarnings_ = 0;
    setCodes_ = {};
  }
  std::int64_t setErrors() const { return setErrors_; }
  std::int64_t setWarnings() const { return setWarnings_; }
  const AckCodes& setCodes() const { return setCodes_; }
  void ResetGroup() {
    groupErrors_ = 0;
    groupCodes_ = {};
  }
  std::int64_t groupErrors() const { return groupErrors_; }
  const AckCodes& groupCodes() const { return groupCodes_; }
  std::int64_t errors() const { return errors_; }
  std::int64_t warnings() const { return warnings_; }
  // Room for a text a finding points to until it is emitted; kept between
  // findings, so that building one allocates nothing once it has grown.
  std::string& scratch() { return scratch_; }

 private:
  // A finding that waits for its claim, with its texts copied.
  struct Waiting {
    Finding finding;
    std::string texts[9];
  };
  void Deliver(const Finding& f);
  void HandOver(std::string_view claim);

  CheckObserver& observer_;
  Finding here_;
  std::string claim_;
  bool waiting_ = false;
  // The first waitingCount_ entries wait; the others keep their texts'
  // room for the next ones.
  std::vector<Waiting> waitingList_;
  std::size_t waitingCount_ = 0;
  std::string scratch_;
  std::string value_;
  std::int64_t setErrors_ = 0, setWarnings_ = 0, groupErrors_ = 0, errors_ = 0, warnings_ = 0;
  AckCodes setCodes_, groupCodes_;
};

}  // namespace wcomp837::guide
