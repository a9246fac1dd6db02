#include "x12/guide/claim_rules.h"

#include <fmt/format.h>

#include <charconv>

#include "x12/guide/element_check.h"
#include "x12/guide/values.h"

namespace wcomp837::guide {
namespace {

// The level code an HL's parent must have (HL03 -> parent HL03); a billing
// provider level has no parent.
constexpr std::pair<std::string_view, std::string_view> kParentLevel[] = {
    {"20", ""}, {"22", "20"}, {"23", "22"}};

std::optional<std::int64_t> WholeNumber(std::string_view v) {
  std::int64_t n = 0;
  if (v.empty() || v.size() > 12) return std::nullopt;
  const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (ec != std::errc() || end != v.data() + v.size() || n < 0) return std::nullopt;
  return n;
}

}  // namespace

void ClaimRules::StartSet(char componentSeparator) {
  component_ = componentSeparator;
  nextHL_ = 1;
  depth_ = 0;
  claim_.open = false;
}

Finding ClaimRules::AtElement(Reporter& r, Rule rule, const SegmentDef& def, std::size_t seq,
                              std::uint8_t component, std::string_view value) const {
  const ElementDef* e = ElementAt(t_, def, seq);
  if (e && component > 0 && component <= e->partsCount) {
    e = &t_.elements[e->partsBegin + component - 1];
  }
  if (!e) {
    Finding f = r.Here(rule);
    f.value = value;
    return f;
  }
  return ElementFinding(r, rule, *e, static_cast<std::uint8_t>(seq), component, value);
}

void ClaimRules::BeginSegment(const SegmentView& seg, Reporter& r) {
  if (seg.packedId != PackId("HL")) return;
  CloseClaim(r);
  // The subscriber and patient levels belong to the claim that follows;
  // the billing provider level to none.
  if (seg.at(3) == "20") {
    r.LeaveClaims();
  } else {
    r.BeginLevel();
  }
}

void ClaimRules::Segment(const SegmentView& seg, const SegmentDef& def, Reporter& r) {
  switch (seg.packedId) {
    case PackId("HL"):
      Hierarchy(seg, def, r);
      break;
    case PackId("CLM"):
      CloseClaim(r);
      OpenClaim(seg, def, r);
      break;
    case PackId("HI"):
      if (claim_.open) {
        claim_.diagnoses = 0;
        for (std::size_t i = 1; i < seg.count; ++i) claim_.diagnoses += !seg.at(i).empty();
      }
      break;
    case PackId("SV1"):
      ServiceLine(seg, def, r);
      break;
    case PackId("DTP"):
      Date(seg, def, 2, r);
      break;
    case PackId("DMG"):
      Date(seg, def, 1, r);
      break;
    case PackId("PRV"):
      Taxonomy(seg, def, r);
      break;
    case PackId("SE"):
      CloseClaim(r);
      break;
    default:
      break;
  }
}

void ClaimRules::EndSet(Reporter& r) {
  CloseClaim(r);
  while (depth_ > 0) CloseLevel(r);
  r.LeaveClaims();
}

// HL01 counts from 1; HL02 names an open level of the right kind; HL04 "1"
// promises a child level, "0" none.
void ClaimRules::Hierarchy(const SegmentView& seg, const SegmentDef& def, Reporter& r) {
  const std::string_view number = seg.at(1), parent = seg.at(2), code = seg.at(3);
  const std::optional<std::int64_t> n = WholeNumber(number);
  if (!n || *n != nextHL_) {
    Finding f = AtElement(r, Rule::kHierarchy, def, 1, 0, number);
    const std::string expected = std::to_string(nextHL_);
    f.expected = expected;
    r.Emit(f);
  }
  nextHL_ = (n ? *n : nextHL_) + 1;

  bool known = false;
  std::string_view parentCode;
  for (const auto& [child, up] : kParentLevel) {
    if (child == code) known = true, parentCode = up;
  }
  // Levels end where the parent is found; a parent that is not open
  // changes nothing.
  std::size_t keep = 0;
  bool found = parent.empty();
  if (const std::optional<std::int64_t> p = WholeNumber(parent)) {
    for (std::size_t i = depth_; i-- > 0 && !found;) {
      if (levels_[i].number == *p) found = true, keep = i + 1;
    }
  }
  if (!found) keep = depth_;
  while (depth_ > keep) CloseLevel(r);
  const std::string_view upCode =
      found && depth_ > 0 ? std::string_view(levels_[depth_ - 1].code, 2) : std::string_view();
  if (!found || (known && upCode != parentCode)) {
    Finding f = AtElement(r, Rule::kHierarchy, def, 2, 0, parent);
    const std::string expected =
        parentCode.empty()
            ? fmt::format("no parent for level code {}", code)
            : fmt::format("the number of the open level {} above this level {}", parentCode, code);
    f.expected = expected;
    r.Emit(f);
  }
  if (found && depth_ > 0) {
    Level& up = levels_[depth_ - 1];
    up.childSeen = true;
    if (up.childCode == '0') {
      Finding f = AtElement(r, Rule::kHierarchy, def, 4, 0, "0");
      up.where.Put(f);
      const std::string expected = fmt::format("1: HL {} follows as its child", number);
      f.expected = expected;
      r.Emit(f);
    }
  }
  if (depth_ == levels_.size()) CloseLevel(r);
  Level& l = levels_[depth_++];
  l.number = n.value_or(-1);
  l.code[0] = code.size() > 0 ? code[0] : ' ';
  l.code[1] = code.size() > 1 ? code[1] : ' ';
  l.childCode = seg.at(4).size() == 1 ? seg.at(4)[0] : ' ';
  l.childSeen = false;
  l.where.Take(r.Here(Rule::kHierarchy), "HL");
  l.hl04 = ElementAt(t_, def, 4);
}

void ClaimRules::CloseLevel(Reporter& r) {
  const Level& l = levels_[--depth_];
  if (l.childCode != '1' || l.childSeen || !l.hl04) return;
  Finding f = ElementFinding(r, Rule::kHierarchy, *l.hl04, 4, 0, "1");
  l.where.Put(f);
  f.expected = "0: no child level follows";
  r.Emit(f);
}

void ClaimRules::OpenClaim(const SegmentView& seg, const SegmentDef& def, Reporter& r) {
  ++claims_;
  claim_.open = true;
  claim_.id.assign(seg.at(1));
  claim_.total.assign(seg.at(2));
  claim_.totalMillionths = Millionths(seg.at(2));
  claim_.lineMillionths = 0;
  claim_.linesComparable = true;
  claim_.lines = 0;
  claim_.diagnoses = -1;
  claim_.where.Take(r.Here(Rule::kClaimBalance), "CLM");
  claim_.clm02 = ElementAt(t_, def, 2);
  r.BeginClaim(claim_.id);
}

// CLM02 must equal the sum of the claim's SV102 charges.
void ClaimRules::CloseClaim(Reporter& r) {
  if (!claim_.open) return;
  claim_.open = false;
  if (!claim_.totalMillionths || !claim_.linesComparable || claim_.lines == 0 || !claim_.clm02 ||
      *claim_.totalMillionths == claim_.lineMillionths) {
    return;
  }
  Finding f = ElementFinding(r, Rule::kClaimBalance, *claim_.clm02, 2, 0, claim_.total);
  claim_.where.Put(f);
  f.claim = claim_.id;
  const std::int64_t sum = claim_.lineMillionths;
  std::string text = fmt::format("{}{}.{:06}", sum < 0 ? "-" : "", (sum < 0 ? -sum : sum) / 1000000,
                                 (sum < 0 ? -sum : sum) % 1000000);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  const std::string expected =
      fmt::format("{}, the sum of its {} service line charges", text, claim_.lines);
  f.expected = expected;
  r.Emit(f);
}

// SV102 adds to the claim's line total; every SV107 pointer must name one
// of the diagnoses of the claim's HI.
void ClaimRules::ServiceLine(const SegmentView& seg, const SegmentDef& def, Reporter& r) {
  ++serviceLines_;
  if (!claim_.open) return;
  ++claim_.lines;
  const std::optional<std::int64_t> charge = Millionths(seg.at(2));
  if (charge) {
    claim_.lineMillionths += *charge;
  } else {
    claim_.linesComparable = false;
  }
  std::string_view pointers = seg.at(7);
  const int diagnoses = claim_.diagnoses < 0 ? 0 : claim_.diagnoses;
  for (std::uint8_t k = 1; !pointers.empty(); ++k) {
    const std::size_t cut = pointers.find(component_);
    const std::string_view pointer = pointers.substr(0, cut);
    const std::optional<std::int64_t> p = WholeNumber(pointer);
    if (p && *p > diagnoses) {
      Finding f = AtElement(r, Rule::kDiagnosisPointer, def, 7, k, pointer);
      const std::string expected =
          diagnoses == 0
              ? std::string("no pointer: the claim has no diagnosis")
              : fmt::format("1 to {}: the claim's HI holds {} diagnoses", diagnoses, diagnoses);
      f.expected = expected;
      r.Emit(f);
    }
    if (cut == std::string_view::npos) break;
    pointers.remove_prefix(cut + 1);
  }
}

// DTP02 (or DMG01) "D8" needs a calendar date CCYYMMDD in the next element,
// "RD8" two of them in order.
void ClaimRules::Date(const SegmentView& seg, const SegmentDef& def, std::size_t format,
                      Reporter& r) {
  const std::string_view kind = seg.at(format), value = seg.at(format + 1);
  if (value.empty()) return;
  bool ok = true;
  std::string_view expected = "a date CCYYMMDD";
  if (kind == "D8") {
    ok = value.size() == 8 && IsDate(value);
  } else if (kind == "RD8") {
    expected = "a date range CCYYMMDD-CCYYMMDD";
    ok = value.size() == 17 && value[8] == '-' && IsDate(value.substr(0, 8)) &&
         IsDate(value.substr(9)) && value.substr(0, 8) <= value.substr(9);
  }
  if (ok) return;
  Finding f = AtElement(r, Rule::kBadDate, def, format + 1, 0, value);
  f.expected = expected;
  r.Emit(f);
}

void ClaimRules::Taxonomy(const SegmentView& seg, const SegmentDef& def, Reporter& r) {
  if (seg.at(2) != "ZZ" || seg.at(3).empty() || IsTaxonomyCode(seg.at(3))) return;
  Finding f = AtElement(r, Rule::kTaxonomy, def, 3, 0, seg.at(3));
  f.expected = "a provider taxonomy code such as 207Q00000X";
  r.Emit(f);
}

}  // namespace wcomp837::guide
