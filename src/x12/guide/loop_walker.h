// Follows a transaction set through the guide's loops: finds the position
// of each segment (the loop it opens or belongs to), and reports segments
// out of place, repeats beyond the guide's limits and required segments and
// loops that never came.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "x12/guide/reporter.h"
#include "x12/guide/segment_view.h"
#include "x12/guide/tables.h"

namespace wcomp837::guide {

class LoopWalker {
 public:
  explicit LoopWalker(const GuideTables& tables) : t_(tables) {}

  // A transaction set begins (before its ST is placed).
  void Start();
  // Places the segment and tells the reporter its loop; the segment's
  // definition, or nullptr when it has no place here.
  const SegmentDef* Place(const SegmentView& seg, Reporter& r);
  // The set ends: closes every open loop. Without its SE the transaction
  // set's own requirements are not reported again.
  void Finish(Reporter& r, bool trailerSeen);

 private:
  struct Frame {
    std::uint16_t loop;
    std::uint16_t index;        // the child placed last
    std::uint16_t from;         // where a search in this loop starts: index's group
    std::uint16_t checkedTo;    // required children before this were looked for
    std::uint64_t seen;         // bit j: child j came
    std::uint64_t idsFromHere;  // the identifiers that can open a child from there
    std::string_view loopId;    // the innermost numbered loop at this depth
    std::array<std::uint16_t, kMaxLoopChildren> counts;
  };

  const LoopDef& LoopOf(const Frame& f) const { return t_.loops[f.loop]; }
  const ChildRef& ChildOf(const Frame& f, std::size_t j) const {
    return t_.children[LoopOf(f).childrenBegin + j];
  }
  // The segment has the identifier of def and, when strict, a qualifier
  // among def's (positions that share an identifier are told apart by it).
  bool Fits(const SegmentDef& def, const SegmentView& seg, bool strict) const {
    return def.packedId == seg.packedId &&
           (!strict || Qualified(def.qualifierSeq, def.qualifierBegin, def.qualifierCount, seg));
  }
  bool Qualified(std::uint8_t seq, std::uint32_t begin, std::uint16_t count,
                 const SegmentView& seg) const {
    if (count == 0) return true;
    const std::string_view value = seg.at(seq);
    return InCodes(t_, begin, count, value, seq == 1 ? seg.key1 : PackCode(value));
  }
  const SegmentDef* Search(const SegmentView& seg, bool strict, Reporter& r);
  const SegmentDef* Earlier(const SegmentView& seg, Reporter& r);
  const SegmentDef* Enter(std::uint16_t loop, Reporter& r);
  void Count(Frame& f, std::size_t j, Reporter& r);
  // Reports the required children from checkedTo up to end that never came.
  void Missing(const Frame& f, std::size_t end, Reporter& r) {
    const std::uint64_t below = end >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << end) - 1;
    const std::uint64_t passed = below & ~((std::uint64_t{1} << f.checkedTo) - 1);
    if (const std::uint64_t missing = LoopOf(f).required & passed & ~f.seen) {
      ReportMissing(f, missing, r);
    }
  }
  void ReportMissing(const Frame& f, std::uint64_t missing, Reporter& r);
  void Close(Reporter& r, bool checkRequired = true);
  void Tell(Reporter& r) const;

  const GuideTables& t_;
  std::array<Frame, kMaxLoopDepth> stack_{};
  std::size_t depth_ = 0;
};

}  // namespace wcomp837::guide
