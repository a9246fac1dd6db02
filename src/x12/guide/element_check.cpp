#include "x12/guide/element_check.h"

#include <fmt/format.h>

#include <algorithm>
#include <iterator>

#include "x12/guide/values.h"

namespace wcomp837::guide {
namespace {

// Code lists up to this size are spelled out in findings.
constexpr std::size_t kCodesShown = 12;

class ElementChecker {
 public:
  ElementChecker(const GuideTables& t, const SegmentView& seg, const ElementCheckOptions& o,
                 Reporter& r)
      : t_(t), seg_(seg), o_(o), r_(r) {}

  void Value(const ElementDef& e, std::string_view v, std::uint8_t position,
             std::uint8_t component) {
    Rule rule;
    // The common cases first: sound text, a listed code.
    if (e.kind != ElementDef::kOther && !v.empty() && v.size() >= e.minLen &&
        v.size() <= e.maxLen && !seg_.badCharacters &&
        (component != 0 || !seg_.HasComponents(position)) &&
        (e.kind == ElementDef::kText || !o_.codes || InCodes(t_, e.codesBegin, e.codesCount, v))) {
      return;
    }
    if (v.empty()) {
      if (e.usage == 'R') Report(Rule::kRequiredElement, e, position, component, v);
    } else if (e.partsCount > 0 && e.usage != 'N') {
      Composite(e, v, position);
    } else if (Fault(e, v, position, component, rule)) {
      Report(rule, e, position, component, v);
    }
  }

  void Syntax(const SegmentDef& def) {
    for (const SyntaxRule& rule : t_.syntax.subspan(def.syntaxBegin, def.syntaxCount)) {
      std::size_t present = 0;
      int firstMissing = -1;
      int secondPresent = -1;
      for (std::size_t i = 0; i < rule.count; ++i) {
        if (!seg_.at(rule.seqs[i]).empty()) {
          if (++present == 2) secondPresent = static_cast<int>(i);
        } else if (firstMissing < 0) {
          firstMissing = static_cast<int>(i);
        }
      }
      const bool first = !seg_.at(rule.seqs[0]).empty();
      int at = -1;
      Rule broken = Rule::kSyntaxRequired;
      switch (rule.kind) {
        case 'P':
          if (present != 0 && present != rule.count) at = firstMissing;
          break;
        case 'R':
          if (present == 0) at = 0;
          break;
        case 'E':
          if (present > 1) at = secondPresent, broken = Rule::kSyntaxExclusion;
          break;
        case 'C':
          if (first && present != rule.count) at = firstMissing;
          break;
        case 'L':
          if (first && present < 2) at = 1;
          break;
        default:
          break;
      }
      if (at < 0) continue;
      const ElementDef* e = ElementAt(t_, def, rule.seqs[at]);
      if (!e) continue;
      Report(broken, *e, rule.seqs[at], 0, seg_.at(rule.seqs[at]), RuleText(def, rule));
    }
  }

 private:
  // The first fault of a value that is not empty; false when it is sound.
  bool Fault(const ElementDef& e, std::string_view v, std::uint8_t position, std::uint8_t component,
             Rule& rule) const {
    if (e.usage == 'N') return rule = Rule::kElementNotUsed, true;
    if (seg_.badCharacters &&
        std::any_of(v.begin(), v.end(), [](char c) { return !IsX12Character(c); })) {
      return rule = Rule::kBadCharacter, true;
    }
    if (component == 0 && o_.componentSeparator != '\0' && seg_.HasComponents(position)) {
      return rule = Rule::kSeparatorInValue, true;
    }
    std::size_t length = v.size();
    switch (e.type) {
      case DataType::kR:
        if (!IsDecimal(v, length)) return rule = Rule::kNotANumber, true;
        break;
      case DataType::kN:
        if (!IsInteger(v, length)) return rule = Rule::kNotANumber, true;
        break;
      case DataType::kDT:
        if (!IsDate(v)) return rule = Rule::kBadDate, true;
        break;
      case DataType::kTM:
        if (!IsTime(v)) return rule = Rule::kBadTime, true;
        break;
      case DataType::kAN:
      case DataType::kID:
        break;
    }
    if (e.maxLen > 0 && length < e.minLen) return rule = Rule::kTooShort, true;
    if (e.maxLen > 0 && length > e.maxLen) return rule = Rule::kTooLong, true;
    if (o_.codes && e.codesCount > 0 && !InCodes(t_, e.codesBegin, e.codesCount, v)) {
      return rule = Rule::kCodeValue, true;
    }
    return false;
  }

  // What the guide expects of the element, for a finding; a text that is
  // built is built in the reporter's scratch text.
  [[gnu::cold]] std::string_view Expected(Rule rule, const ElementDef& e) const {
    const auto codes = CodesOf(t_, e.codesBegin, e.codesCount);
    std::string& text = r_.scratch();
    text.clear();
    const auto out = std::back_inserter(text);
    switch (rule) {
      case Rule::kRequiredElement:
        return TextOf(t_, e).name;
      case Rule::kElementNotUsed:
        return "no value";
      case Rule::kBadCharacter:
        return "letters, digits, blanks and printable punctuation";
      case Rule::kSeparatorInValue:
        fmt::format_to(out, "a simple element without \"{}\"", o_.componentSeparator);
        return text;
      case Rule::kNotANumber:
        return e.type == DataType::kR ? "a decimal number" : "a whole number";
      case Rule::kBadDate:
        return e.maxLen == 6 ? "a date YYMMDD" : "a date CCYYMMDD";
      case Rule::kBadTime:
        return "a time HHMM";
      case Rule::kTooShort:
      case Rule::kTooLong:
        if (e.minLen == e.maxLen) {
          fmt::format_to(out, "exactly {} characters", e.maxLen);
        } else {
          fmt::format_to(out, "{} to {} characters", e.minLen, e.maxLen);
        }
        return text;
      case Rule::kCodeValue:
        if (codes.size() <= kCodesShown) {
          fmt::format_to(out, "one of {}", fmt::join(codes, ", "));
        } else {
          fmt::format_to(out, "one of the {} codes of {}", codes.size(), TextOf(t_, e).name);
        }
        return text;
      default:
        return {};
    }
  }

  void Composite(const ElementDef& e, std::string_view v, std::uint8_t position) {
    std::size_t n = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= v.size(); ++i) {
      if (i < v.size() && v[i] != o_.componentSeparator) continue;
      const std::string_view part = v.substr(start, i - start);
      if (n == e.partsCount) {
        Report(Rule::kTooManyComponents, e, position, static_cast<std::uint8_t>(n + 1), part,
               fmt::format("at most {} components", e.partsCount));
        return;
      }
      Value(t_.elements[e.partsBegin + n], part, position, static_cast<std::uint8_t>(n + 1));
      ++n;
      start = i + 1;
    }
    // Components after the last one given matter only when required.
    for (; n < e.partsRequired; ++n) {
      Value(t_.elements[e.partsBegin + n], {}, position, static_cast<std::uint8_t>(n + 1));
    }
  }

  std::string RuleText(const SegmentDef& def, const SyntaxRule& rule) const {
    std::string refs;
    for (std::size_t i = 0; i < rule.count; ++i) {
      if (i > 0) refs += i + 1 == rule.count ? " and " : ", ";
      refs += fmt::format("{}{:02}", def.id, rule.seqs[i]);
    }
    switch (rule.kind) {
      case 'P':
        return "all or none of " + refs;
      case 'R':
        return "at least one of " + refs;
      case 'E':
        return "at most one of " + refs;
      case 'C':
        return fmt::format("with {}{:02} also the others of {}", def.id, rule.seqs[0], refs);
      default:
        return fmt::format("with {}{:02} at least one other of {}", def.id, rule.seqs[0], refs);
    }
  }

  [[gnu::cold]] void Report(Rule rule, const ElementDef& e, std::uint8_t position,
                            std::uint8_t component, std::string_view value,
                            std::string_view expected) {
    Finding f = ElementFinding(r_, rule, e, position, component, value);
    f.expected = expected;
    r_.Emit(f);
  }
  [[gnu::cold]] void Report(Rule rule, const ElementDef& e, std::uint8_t position,
                            std::uint8_t component, std::string_view value) {
    Report(rule, e, position, component, value, Expected(rule, e));
  }

  const GuideTables& t_;
  const SegmentView& seg_;
  const ElementCheckOptions& o_;
  Reporter& r_;
};

}  // namespace

Finding ElementFinding(Reporter& r, Rule rule, const ElementDef& e, std::uint8_t position,
                       std::uint8_t component, std::string_view value) {
  Finding f = r.Here(rule);
  const ElementText& text = TextOf(Tables(), e);
  f.element = text.ref;
  f.dataElement = text.dataElement;
  f.elementPosition = position;
  f.componentPosition = component;
  f.value = value;
  return f;
}

const ElementDef* ElementAt(const GuideTables& t, const SegmentDef& def, std::size_t seq) {
  for (const ElementDef& e : t.elements.subspan(def.elementsBegin, def.elementsCount)) {
    if (e.seq == seq) return &e;
  }
  return nullptr;
}

void CheckElements(const GuideTables& t, const SegmentDef& def, const SegmentView& seg,
                   const ElementCheckOptions& options, Reporter& r) {
  ElementChecker check(t, seg, options, r);
  if (seg.total > 1 && seg.el[seg.count - 1].empty() && seg.total == seg.count) {
    Finding f = r.Here(Rule::kTrailingSeparator);
    f.elementPosition = static_cast<std::uint8_t>(seg.total - 1);
    f.expected = "no separator after the last element";
    r.Emit(f);
  }
  if (seg.total - 1 > def.lastSeq) {
    Finding f = r.Here(Rule::kTooManyElements);
    f.elementPosition = static_cast<std::uint8_t>(std::min<std::size_t>(def.lastSeq + 1, 255));
    f.value = seg.at(def.lastSeq + 1u);
    const std::string expected = fmt::format("at most {} elements", def.lastSeq);
    f.expected = expected;
    r.Emit(f);
  }
  // Elements past the end of the segment matter only when required.
  const std::size_t stop = std::max<std::size_t>(seg.count, def.lastRequired + 1u);
  for (const ElementDef& e : t.elements.subspan(def.elementsBegin, def.elementsCount)) {
    if (e.seq >= stop) break;
    check.Value(e, seg.at(e.seq), e.seq, 0);
  }
  check.Syntax(def);
}

}  // namespace wcomp837::guide
