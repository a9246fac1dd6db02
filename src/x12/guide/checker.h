// The check of one file: reads it as a stream of segments (separators from
// its ISA, line breaks after terminators skipped), follows the envelopes
// and hands each transaction set's segments to the loop walker, the element
// checks and the claim rules.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "x12/guide/check.h"
#include "x12/guide/claim_rules.h"
#include "x12/guide/loop_walker.h"
#include "x12/guide/reporter.h"
#include "x12/guide/segment_view.h"
#include "x12/guide/tables.h"

namespace wcomp837::guide {

class Checker {
 public:
  Checker(CheckObserver& observer, CheckOptions options);
  void Feed(std::string_view bytes);
  CheckTotals Finish();

 private:
  // Reading (check.cpp).
  void Head(std::string_view bytes);
  bool ReadHeader();
  void Body(std::string_view bytes);
  void Segment();  // the segment in seg_
  void FileFinding(Rule rule, std::string_view value, std::string_view expected);

  // Envelopes (envelopes.cpp).
  void Interchange();
  void InterchangeEnd();
  void Group();
  void GroupEnd();
  void SetStart();
  void SetEnd();
  void InSet();
  void CloseSet(bool trailerSeen);
  void CloseGroup(bool trailerSeen, std::int64_t included);
  void CloseInterchange(bool trailerSeen);
  void EnvelopeElements(std::uint16_t segment, bool codes);
  void Mismatch(Rule rule, std::uint16_t segment, std::size_t seq, std::string_view expected);

  struct InterchangeState {
    bool open = false;
    std::string senderQualifier, sender, receiverQualifier, receiver, control, usage;
    std::int64_t groups = 0;
  };
  struct GroupState {
    bool open = false;
    bool supported = true;
    std::string functionalId, control;
    std::int64_t sets = 0, accepted = 0;
    bool errorsNoted = false;
  };
  struct SetState {
    bool open = false;
    bool checked = true;  // walked against the guide
    std::string id, control;
    std::int64_t first = 0, count = 0, claimsBefore = 0;
  };

  CheckObserver& observer_;
  CheckOptions options_;
  const GuideTables& t_;
  Reporter reporter_;
  LoopWalker walker_;
  ClaimRules rules_;

  Separators sep_;
  enum class Phase { kHead, kBody, kStopped } phase_ = Phase::kHead;
  std::string head_;   // the first bytes, until the ISA header can be read
  std::string carry_;  // a segment cut by the end of a block
  bool overlong_ = false;
  bool afterTerminator_ = false;
  SegmentView seg_;
  std::int64_t segment_ = 0;

  InterchangeState interchange_;
  GroupState group_;
  SetState set_;
  CheckTotals totals_;
};

}  // namespace wcomp837::guide
