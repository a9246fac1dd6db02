#include "x12/guide/reporter.h"

#include "x12/guide/departures.h"

namespace wcomp837::guide {
namespace {

// Findings held back for one claim's levels at most; more go out without
// their claim.
constexpr std::size_t kMaxWaiting = 64;
// A value is quoted up to the length an acknowledgment can carry.
constexpr std::size_t kMaxValue = 99;

// The texts of a finding that is held back are copied.
constexpr std::string_view Finding::*kTextMembers[] = {
    &Finding::segmentId, &Finding::loop,        &Finding::loopId,
    &Finding::element,   &Finding::dataElement, &Finding::value,
    &Finding::expected,  &Finding::key,         &Finding::reason};
constexpr std::size_t kTexts = std::size(kTextMembers);

// Findings in the subscriber and patient levels and below belong to a
// claim; those of the header, the submitter and receiver and the billing
// provider level do not.
bool InClaimLevels(std::string_view loopId) {
  return loopId.size() >= 4 && loopId[0] == '2' && loopId != "2000A" &&
         loopId.substr(0, 5) != "2010A";
}

}  // namespace

void Reporter::Emit(Finding f) {
  const RuleInfo& info = InfoOf(f.rule);
  f.severity = Severity::kError;
  f.key = info.name;
  if (f.value.size() > kMaxValue) f.value = f.value.substr(0, kMaxValue);
  const Departure* d =
      FindDeparture(f.loop, f.element.empty() ? f.segmentId : f.element, f.rule, f.value);
  if (d) {
    f.severity = Severity::kWarning;
    f.key = d->key;
    f.reason = d->reason;
  }
  const bool error = f.severity == Severity::kError;
  (error ? errors_ : warnings_) += 1;
  if (info.level == Level::kSegment || info.level == Level::kSet) {
    (error ? setErrors_ : setWarnings_) += 1;
  } else if (info.level == Level::kGroup && error) {
    ++groupErrors_;
  }
  if (error && info.setCode) setCodes_.Add(info.setCode);
  if (error && info.groupCode) groupCodes_.Add(info.groupCode);

  const bool claimLevel = info.level == Level::kSegment && InClaimLevels(f.loopId);
  if (!f.claim.empty() || !claimLevel || !waiting_) {
    if (f.claim.empty() && claimLevel) f.claim = claim_;
    Deliver(f);
    return;
  }
  if (waitingCount_ == kMaxWaiting) HandOver({});
  if (waitingCount_ == waitingList_.size()) waitingList_.emplace_back();
  Waiting& w = waitingList_[waitingCount_++];
  w.finding = f;
  for (std::size_t i = 0; i < kTexts; ++i) w.texts[i].assign(f.*kTextMembers[i]);
}

void Reporter::Deliver(const Finding& f) {
  observer_.Found(f);
}

void Reporter::HandOver(std::string_view claim) {
  for (std::size_t n = 0; n < waitingCount_; ++n) {
    Waiting& w = waitingList_[n];
    for (std::size_t i = 0; i < kTexts; ++i) w.finding.*kTextMembers[i] = w.texts[i];
    w.finding.claim = claim;
    Deliver(w.finding);
  }
  waitingCount_ = 0;
}

void Reporter::BeginLevel() {
  claim_.clear();
  waiting_ = true;
}

void Reporter::BeginClaim(std::string_view claim) {
  claim_.assign(claim);
  HandOver(claim_);
  waiting_ = false;
}

void Reporter::LeaveClaims() {
  HandOver({});
  claim_.clear();
  waiting_ = false;
}

}  // namespace wcomp837::guide
