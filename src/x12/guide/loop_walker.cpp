#include "x12/guide/loop_walker.h"

#include <algorithm>
#include <string>

namespace wcomp837::guide {
void LoopWalker::Start() {
  depth_ = 1;
  Frame& f = stack_[0];
  f.loop = t_.transactionLoop;
  f.index = 0;
  f.from = 0;
  f.checkedTo = 0;
  f.seen = 0;
  f.idsFromHere = ChildOf(f, 0).idsFromHere;
  f.loopId = {};
  std::fill_n(f.counts.begin(), LoopOf(f).childrenCount, 0);
}

void LoopWalker::Tell(Reporter& r) const {
  const Frame& f = stack_[depth_ - 1];
  r.InLoop(LoopOf(f).label, f.loopId);
}

const SegmentDef* LoopWalker::Place(const SegmentView& seg, Reporter& r) {
  if (const SegmentDef* d = Search(seg, true, r)) return d;
  if (const SegmentDef* d = Earlier(seg, r)) return d;
  if (const SegmentDef* d = Search(seg, false, r)) return d;
  Tell(r);
  const bool known = std::any_of(t_.segments.begin(), t_.segments.end(),
                                 [&](const SegmentDef& d) { return d.packedId == seg.packedId; });
  Finding f = r.Here(known ? Rule::kUnexpectedSegment : Rule::kUnknownSegment);
  f.expected = "a segment of the guide in its loop and order";
  r.Emit(f);
  return nullptr;
}

// Looks for the segment's position from the innermost loop outwards, in
// each loop from its current position on (positions that share a position
// number may come in any order). A loop's first segment met again begins the
// loop's next occurrence, found in the loop around it, even right after
// itself (two drug identifications in a row).
const SegmentDef* LoopWalker::Search(const SegmentView& seg, bool strict, Reporter& r) {
  const unsigned bitIndex = IdBitIndex(seg.packedId);
  const std::uint64_t bit = std::uint64_t{1} << bitIndex;
  for (std::size_t depth = depth_; depth > 0; --depth) {
    const Frame& f = stack_[depth - 1];
    if ((f.idsFromHere & bit) == 0) continue;
    const std::size_t slot = t_.openerSlots[std::size_t{f.loop} * 64 + bitIndex];
    if (slot == 0xFF) continue;
    const LoopDef& loop = LoopOf(f);
    const Opener* it = t_.openers.data() + loop.openersBegin + slot;
    const Opener* const end = t_.openers.data() + loop.openersBegin + loop.openersCount;
    for (; it != end && IdBitIndex(it->packedId) == bitIndex; ++it) {
      const std::size_t j = it->child;
      if (it->packedId != seg.packedId || j < f.from || (j == 0 && depth > 1) ||
          (strict && !Qualified(it->qualifierSeq, it->qualifierBegin, it->qualifierCount, seg))) {
        continue;
      }
      const ChildRef& child = ChildOf(f, j);
      while (depth_ > depth) Close(r);
      Count(stack_[depth - 1], j, r);
      if (child.isLoop) return Enter(child.index, r);
      Tell(r);
      const SegmentDef& def = t_.segments[child.index];
      if (def.usage == 'N') r.Emit(r.Here(Rule::kSegmentNotUsed));
      return &def;
    }
  }
  return nullptr;
}

// A segment whose position the innermost loop has already passed is out of
// order; it is checked there without moving back.
const SegmentDef* LoopWalker::Earlier(const SegmentView& seg, Reporter& r) {
  const Frame& f = stack_[depth_ - 1];
  for (std::size_t j = 0; j < f.from; ++j) {
    const ChildRef& child = ChildOf(f, j);
    if (child.isLoop || !Fits(t_.segments[child.index], seg, true)) continue;
    Tell(r);
    Finding finding = r.Here(Rule::kOutOfOrder);
    finding.expected = "the guide's segment order in the loop";
    r.Emit(finding);
    return &t_.segments[child.index];
  }
  return nullptr;
}

const SegmentDef* LoopWalker::Enter(std::uint16_t loop, Reporter& r) {
  Frame& f = stack_[depth_++];
  f.loop = loop;
  f.index = 0;
  f.checkedTo = 0;
  f.seen = 0;
  f.loopId = LoopOf(f).numbered ? LoopOf(f).id : stack_[depth_ - 2].loopId;
  std::fill_n(f.counts.begin(), LoopOf(f).childrenCount, 0);
  if (LoopOf(f).usage == 'N') {
    Tell(r);
    r.Emit(r.Here(Rule::kSegmentNotUsed));
  }
  Count(f, 0, r);
  const ChildRef& first = ChildOf(f, 0);
  if (first.isLoop) return Enter(first.index, r);
  Tell(r);
  return &t_.segments[first.index];
}

void LoopWalker::Count(Frame& f, std::size_t j, Reporter& r) {
  f.index = static_cast<std::uint16_t>(j);
  f.from = ChildOf(f, j).groupStart;
  f.idsFromHere = ChildOf(f, f.from).idsFromHere;
  if (f.from > f.checkedTo) {
    Missing(f, f.from, r);
    f.checkedTo = f.from;
  }
  f.seen |= std::uint64_t{1} << j;
  std::uint16_t& count = f.counts[j];
  if (count < 0xFFFF) ++count;
  const ChildRef& child = ChildOf(f, j);
  const std::uint16_t limit = child.limit;
  if (limit == 0 || count != limit + 1) return;
  Finding finding = r.Here(child.isLoop ? Rule::kLoopRepeat : Rule::kSegmentRepeat);
  const LoopDef& where = child.isLoop ? t_.loops[child.index] : LoopOf(f);
  finding.loop = where.label;
  finding.loopId = where.numbered ? where.id : std::string_view();
  const std::string expected = "at most " + std::to_string(limit);
  finding.expected = expected;
  r.Emit(finding);
}

void LoopWalker::ReportMissing(const Frame& f, std::uint64_t missing, Reporter& r) {
  const LoopDef& loop = LoopOf(f);
  for (; missing != 0; missing &= missing - 1) {
    const std::size_t j = static_cast<std::size_t>(__builtin_ctzll(missing));
    const ChildRef& child = ChildOf(f, j);
    const LoopDef& childLoop = t_.loops[child.isLoop ? child.index : 0];
    Finding finding = r.Here(child.isLoop ? Rule::kMissingLoop : Rule::kMissingSegment);
    const LoopDef& where = child.isLoop ? childLoop : loop;
    const SegmentDef& missed = t_.segments[child.isLoop ? childLoop.firstSegment : child.index];
    finding.segmentId = missed.id;
    finding.loop = where.label;
    finding.loopId = where.numbered ? where.id : std::string_view();
    finding.expected = missed.name;
    r.Emit(finding);
  }
}

void LoopWalker::Close(Reporter& r, bool checkRequired) {
  const Frame& f = stack_[depth_ - 1];
  if (checkRequired) Missing(f, LoopOf(f).childrenCount, r);
  --depth_;
}

void LoopWalker::Finish(Reporter& r, bool trailerSeen) {
  while (depth_ > 1) Close(r);
  if (depth_ == 1) Close(r, trailerSeen);
}

}  // namespace wcomp837::guide
