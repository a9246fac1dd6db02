// The rules that span segments of a transaction set: HL numbering, parent
// links and child codes; a claim's total against its lines' charges; the
// lines' diagnosis pointers against the claim's diagnoses; and the forms of
// dates and provider taxonomy codes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "x12/guide/reporter.h"
#include "x12/guide/segment_view.h"
#include "x12/guide/tables.h"

namespace wcomp837::guide {

class ClaimRules {
 public:
  explicit ClaimRules(const GuideTables& tables) : t_(tables) {}

  void StartSet(char componentSeparator);
  // Before a placed segment's own checks: an HL closes the claim before it
  // and starts its level, so that the HL's findings name the claim that
  // follows it, not the one before.
  void BeginSegment(const SegmentView& seg, Reporter& r);
  // A segment the loop walker placed; def is its place in the guide.
  void Segment(const SegmentView& seg, const SegmentDef& def, Reporter& r);
  void EndSet(Reporter& r);

  std::int64_t claims() const { return claims_; }
  std::int64_t serviceLines() const { return serviceLines_; }

 private:
  // Where a segment stood, for a finding about it raised later.
  struct Where {
    std::int64_t segment = 0, setPosition = 0;
    std::string_view segmentId, loop, loopId;
    // id: the segment's identifier as a text that outlives the segment.
    void Take(const Finding& here, std::string_view id) {
      segment = here.segment;
      setPosition = here.setPosition;
      segmentId = id;
      loop = here.loop;
      loopId = here.loopId;
    }
    void Put(Finding& f) const {
      f.segment = segment;
      f.setPosition = setPosition;
      f.segmentId = segmentId;
      f.loop = loop;
      f.loopId = loopId;
    }
  };
  // An HL whose children may still follow.
  struct Level {
    std::int64_t number;
    char code[2];    // HL03
    char childCode;  // HL04
    bool childSeen;
    Where where;
    const ElementDef* hl04;
  };
  // The claim being read.
  struct Claim {
    bool open = false;
    std::string id;     // CLM01
    std::string total;  // CLM02
    std::optional<std::int64_t> totalMillionths;
    std::int64_t lineMillionths = 0;
    bool linesComparable = true;
    std::int64_t lines = 0;
    int diagnoses = -1;  // codes in HI; -1 before the HI
    Where where;
    const ElementDef* clm02 = nullptr;
  };

  void Hierarchy(const SegmentView& seg, const SegmentDef& def, Reporter& r);
  void CloseLevel(Reporter& r);
  void OpenClaim(const SegmentView& seg, const SegmentDef& def, Reporter& r);
  void CloseClaim(Reporter& r);
  void ServiceLine(const SegmentView& seg, const SegmentDef& def, Reporter& r);
  void Date(const SegmentView& seg, const SegmentDef& def, std::size_t format, Reporter& r);
  void Taxonomy(const SegmentView& seg, const SegmentDef& def, Reporter& r);
  Finding AtElement(Reporter& r, Rule rule, const SegmentDef& def, std::size_t seq,
                    std::uint8_t component, std::string_view value) const;

  const GuideTables& t_;
  char component_ = ':';
  std::int64_t nextHL_ = 1;
  std::array<Level, 8> levels_{};
  std::size_t depth_ = 0;
  Claim claim_;
  std::int64_t claims_ = 0;
  std::int64_t serviceLines_ = 0;
};

}  // namespace wcomp837::guide
