// Checks a segment's elements against its definition in the guide: usage,
// element and component counts, characters, types, lengths, code values and
// the segment's syntax rules.
#pragma once

#include "x12/guide/reporter.h"
#include "x12/guide/segment_view.h"
#include "x12/guide/tables.h"

namespace wcomp837::guide {

struct ElementCheckOptions {
  char componentSeparator = ':';
  bool codes = true;  // false: code lists are not applied (envelopes of other files)
};

void CheckElements(const GuideTables& t, const SegmentDef& def, const SegmentView& seg,
                   const ElementCheckOptions& options, Reporter& r);

// What a finding about one element looks like before it is emitted.
Finding ElementFinding(Reporter& r, Rule rule, const ElementDef& e, std::uint8_t position,
                       std::uint8_t component, std::string_view value);

// The element of a segment definition at a position, or nullptr.
const ElementDef* ElementAt(const GuideTables& t, const SegmentDef& def, std::size_t seq);

}  // namespace wcomp837::guide
