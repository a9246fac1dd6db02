#include <array>
#include <cstddef>

#include "x12/guide/findings.h"

namespace wcomp837::guide {
namespace {

constexpr Level kFile = Level::kFile;
constexpr Level kGroup = Level::kGroup;
constexpr Level kSet = Level::kSet;
constexpr Level kSeg = Level::kSegment;

// In the order of Rule. Codes: segment (AK304), element (AK403), set (AK502),
// group (AK905).
constexpr RuleInfo kRules[] = {
    {"no-interchange", "the file holds no interchange", kFile, 0, 0, 0, 0},
    {"interchange-header", "the interchange header is not a fixed-width ISA", kFile, 0, 0, 0, 0},
    {"unterminated-segment", "the last segment has no segment terminator", kFile, 0, 0, 0, 0},
    {"overlong-segment", "segment longer than 65536 bytes (a missing terminator?)", kFile, 0, 0, 0,
     0},
    {"outside-envelope", "segment outside a transaction set", kFile, 0, 0, 0, 0},
    {"envelope-order", "envelope segment out of order", kFile, 0, 0, 0, 0},
    {"interchange-trailer", "the interchange trailer does not close the ISA", kFile, 0, 0, 0, 0},
    {"group-trailer-missing", "functional group without its trailer GE", kGroup, 0, 0, 0, 3},
    {"group-control-number", "GE02 does not repeat GS06", kGroup, 0, 0, 0, 4},
    {"group-set-count", "GE01 does not count the transaction sets of the group", kGroup, 0, 0, 0,
     5},
    {"version", "only 004010X098A1 claim files are checked", kSet, 0, 0, 1, 2},
    {"set-trailer-missing", "transaction set without its trailer SE", kSet, 0, 0, 2, 0},
    {"segment-count", "SE01 does not count the segments from ST to SE", kSet, 0, 0, 4, 0},
    {"set-control-number", "SE02 does not repeat ST02", kSet, 0, 0, 3, 0},
    {"empty-segment", "empty segment", kSeg, 1, 0, 5, 0},
    {"unknown-segment", "segment identifier unknown to the guide", kSeg, 1, 0, 5, 0},
    {"unexpected-segment", "segment not expected here", kSeg, 2, 0, 5, 0},
    {"out-of-order", "segment out of order", kSeg, 7, 0, 5, 0},
    {"missing-segment", "required segment missing", kSeg, 3, 0, 5, 0},
    {"missing-loop", "required loop missing", kSeg, 3, 0, 5, 0},
    {"segment-repeat", "segment repeated more often than the guide allows", kSeg, 5, 0, 5, 0},
    {"loop-repeat", "loop repeated more often than the guide allows", kSeg, 4, 0, 5, 0},
    {"segment-not-used", "segment the guide does not use", kSeg, 2, 0, 5, 0},
    {"required-element", "required element missing", kSeg, 8, 1, 5, 0},
    {"element-not-used", "element the guide does not use", kSeg, 8, 10, 5, 0},
    {"too-many-elements", "more elements than the segment has", kSeg, 8, 3, 5, 0},
    {"too-many-components", "more components than the element has", kSeg, 8, 3, 5, 0},
    {"trailing-separator", "empty element at the end of the segment", kSeg, 8, 3, 5, 0},
    {"too-short", "value too short", kSeg, 8, 4, 5, 0},
    {"too-long", "value too long", kSeg, 8, 5, 5, 0},
    {"bad-character", "character outside the X12 basic and extended character sets", kSeg, 8, 6, 5,
     0},
    {"separator-in-value", "component separator inside a simple element", kSeg, 8, 6, 5, 0},
    {"not-a-number", "not a number", kSeg, 8, 6, 5, 0},
    {"code-value", "code value not in the guide's list", kSeg, 8, 7, 5, 0},
    {"bad-date", "not a calendar date", kSeg, 8, 8, 5, 0},
    {"bad-time", "not a time of day", kSeg, 8, 9, 5, 0},
    {"syntax-required", "element required by the segment's syntax rule missing", kSeg, 8, 2, 5, 0},
    {"syntax-exclusion", "element excluded by the segment's syntax rule", kSeg, 8, 10, 5, 0},
    {"hierarchy", "hierarchical level out of line", kSeg, 8, 7, 5, 0},
    {"claim-balance", "claim total is not the sum of its service lines", kSeg, 8, 7, 5, 0},
    {"diagnosis-pointer", "diagnosis pointer past the claim's diagnoses", kSeg, 8, 7, 5, 0},
    {"taxonomy", "not a provider taxonomy code", kSeg, 8, 7, 5, 0},
};

static_assert(std::size(kRules) == static_cast<std::size_t>(Rule::kTaxonomy) + 1);

}  // namespace

const RuleInfo& InfoOf(Rule rule) {
  return kRules[static_cast<std::size_t>(rule)];
}

}  // namespace wcomp837::guide
