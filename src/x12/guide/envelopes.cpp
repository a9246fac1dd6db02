// The envelopes: interchange (ISA ... IEA), functional group (GS ... GE) and
// transaction set (ST ... SE), their counts and control numbers, and the
// result of each set and group.
#include <fmt/format.h>

#include <string>

#include "x12/guide/checker.h"
#include "x12/guide/element_check.h"

namespace wcomp837::guide {
namespace {

constexpr std::string_view kVersion = "004010X098A1";

std::string Trimmed(std::string_view v) {
  const std::size_t b = v.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return std::string(v.substr(b, v.find_last_not_of(' ') - b + 1));
}

bool CountIs(std::string_view text, std::int64_t n) {
  return text == std::to_string(n);
}

}  // namespace

void Checker::EnvelopeElements(std::uint16_t segment, bool codes) {
  // ISA16 is the component separator itself.
  const char component = segment == t_.isa ? '\0' : sep_.component;
  CheckElements(t_, t_.segments[segment], seg_, {component, codes}, reporter_);
}

void Checker::Mismatch(Rule rule, std::uint16_t segment, std::size_t seq,
                       std::string_view expected) {
  const ElementDef* e = ElementAt(t_, t_.segments[segment], seq);
  Finding f =
      e ? ElementFinding(reporter_, rule, *e, static_cast<std::uint8_t>(seq), 0, seg_.at(seq))
        : reporter_.Here(rule);
  f.expected = expected;
  reporter_.Emit(f);
}

void Checker::Interchange() {
  if (set_.open) CloseSet(false);
  if (group_.open) CloseGroup(false, 0);
  if (interchange_.open) CloseInterchange(false);
  reporter_.At(segment_, 0, "ISA");
  reporter_.InLoop("interchange", {});
  if (totals_.interchanges > 0 && seg_.text.size() + 1 != 106) {
    FileFinding(Rule::kInterchangeHeader, seg_.text.substr(0, 20), "106 characters");
  }
  EnvelopeElements(t_.isa, true);
  interchange_ = {true,
                  Trimmed(seg_.at(5)),
                  Trimmed(seg_.at(6)),
                  Trimmed(seg_.at(7)),
                  Trimmed(seg_.at(8)),
                  std::string(seg_.at(13)),
                  std::string(seg_.at(15)),
                  0};
  ++totals_.interchanges;
  observer_.Interchange({interchange_.senderQualifier, interchange_.sender,
                         interchange_.receiverQualifier, interchange_.receiver,
                         interchange_.control, interchange_.usage});
}

void Checker::InterchangeEnd() {
  reporter_.InLoop("interchange", {});
  if (!interchange_.open) return FileFinding(Rule::kEnvelopeOrder, "IEA", "IEA after an ISA");
  if (set_.open) CloseSet(false);
  if (group_.open) CloseGroup(false, 0);
  reporter_.At(segment_, 0, "IEA");
  reporter_.InLoop("interchange", {});
  EnvelopeElements(t_.iea, true);
  if (!CountIs(seg_.at(1), interchange_.groups)) {
    Mismatch(Rule::kInterchangeTrailer, t_.iea, 1, std::to_string(interchange_.groups));
  }
  if (seg_.at(2) != interchange_.control) {
    Mismatch(Rule::kInterchangeTrailer, t_.iea, 2, interchange_.control);
  }
  CloseInterchange(true);
}

void Checker::Group() {
  if (set_.open) CloseSet(false);
  if (group_.open) CloseGroup(false, 0);
  reporter_.At(segment_, 0, "GS");
  if (!interchange_.open) FileFinding(Rule::kEnvelopeOrder, "GS", "GS inside an interchange");
  reporter_.ResetGroup();
  reporter_.At(segment_, 0, "GS");
  reporter_.InLoop("group", {});
  EnvelopeElements(t_.gs, options_.guide);
  group_ = {true,
            !options_.guide || (seg_.at(1) == "HC" && seg_.at(8) == kVersion),
            std::string(seg_.at(1)),
            std::string(seg_.at(6)),
            0,
            0,
            false};
  ++interchange_.groups;
  ++totals_.groups;
  observer_.GroupStart({seg_.at(1), seg_.at(2), seg_.at(3), seg_.at(6), seg_.at(8)});
}

void Checker::GroupEnd() {
  if (set_.open) CloseSet(false);
  reporter_.At(segment_, 0, "GE");
  reporter_.InLoop("group", {});
  if (!group_.open) return FileFinding(Rule::kEnvelopeOrder, "GE", "GE after a GS");
  EnvelopeElements(t_.ge, true);
  if (!CountIs(seg_.at(1), group_.sets)) {
    Mismatch(Rule::kGroupSetCount, t_.ge, 1, std::to_string(group_.sets));
  }
  if (seg_.at(2) != group_.control) Mismatch(Rule::kGroupControlNumber, t_.ge, 2, group_.control);
  std::int64_t included = group_.sets;
  if (!seg_.at(1).empty() && seg_.at(1).size() < 7 &&
      seg_.at(1).find_first_not_of("0123456789") == std::string_view::npos) {
    included = std::stoll(std::string(seg_.at(1)));
  }
  CloseGroup(true, included);
}

void Checker::SetStart() {
  if (set_.open) CloseSet(false);
  reporter_.At(segment_, 1, "ST");
  if (!group_.open) FileFinding(Rule::kEnvelopeOrder, "ST", "ST inside a functional group");
  set_ = {true,
          options_.guide && group_.supported,
          std::string(seg_.at(1)),
          std::string(seg_.at(2)),
          segment_,
          0,
          rules_.claims()};
  reporter_.ResetSet();
  observer_.SetStart(set_.id, set_.control);
  if (set_.checked) {
    walker_.Start();
    rules_.StartSet(sep_.component);
  } else if (options_.guide) {
    reporter_.At(segment_, 1, "ST");
    reporter_.InLoop("transaction set", {});
    Finding f = reporter_.Here(Rule::kVersion);
    f.value = group_.open ? std::string_view() : std::string_view("no GS");
    f.expected = "a functional group GS*HC ... 004010X098A1";
    reporter_.Emit(f);
  }
  InSet();
}

void Checker::SetEnd() {
  if (!set_.open) {
    reporter_.At(segment_, 0, "SE");
    return FileFinding(Rule::kEnvelopeOrder, "SE", "SE after an ST");
  }
  InSet();
  if (!CountIs(seg_.at(1), set_.count)) {
    Mismatch(Rule::kSegmentCount, t_.se, 1, std::to_string(set_.count));
  }
  if (seg_.at(2) != set_.control) Mismatch(Rule::kSetControlNumber, t_.se, 2, set_.control);
  CloseSet(true);
}

// A segment of the open transaction set.
void Checker::InSet() {
  if (!set_.open) {
    reporter_.InLoop(group_.open ? "group" : "interchange", {});
    Finding f = reporter_.Here(Rule::kOutsideEnvelope);
    f.expected = "segments between ST and SE";
    return reporter_.Emit(f);
  }
  reporter_.At(segment_, ++set_.count, seg_.id());
  if (!set_.checked) {
    if (seg_.badCharacters) {
      Finding f = reporter_.Here(Rule::kBadCharacter);
      f.expected = "letters, digits, blanks and printable punctuation";
      reporter_.Emit(f);
    }
    return;
  }
  const SegmentDef* def = walker_.Place(seg_, reporter_);
  if (!def) return;
  rules_.BeginSegment(seg_, reporter_);
  CheckElements(t_, *def, seg_, {sep_.component, true}, reporter_);
  rules_.Segment(seg_, *def, reporter_);
}

void Checker::CloseSet(bool trailerSeen) {
  if (!trailerSeen) {
    reporter_.At(segment_, set_.count, {});
    reporter_.InLoop("transaction set", {});
    Finding f = reporter_.Here(Rule::kSetTrailer);
    f.segmentId = "SE";
    f.value = set_.control;
    f.expected = "SE closing the transaction set";
    reporter_.Emit(f);
  }
  if (set_.checked) {
    walker_.Finish(reporter_, trailerSeen);
    rules_.EndSet(reporter_);
  } else {
    reporter_.LeaveClaims();
  }
  SetResult result;
  result.setId = set_.id;
  result.control = set_.control;
  result.firstSegment = set_.first;
  result.lastSegment = segment_;
  result.claims = rules_.claims() - set_.claimsBefore;
  result.errors = reporter_.setErrors();
  result.warnings = reporter_.setWarnings();
  result.codes = reporter_.setCodes();
  result.verdict = result.errors > 0 || (options_.guide && !set_.checked) ? Verdict::kRejected
                   : result.warnings > 0 ? Verdict::kAcceptedWithErrors
                                         : Verdict::kAccepted;
  if (result.verdict == Verdict::kRejected && result.codes.count == 0) result.codes.Add(5);
  set_.open = false;
  ++totals_.sets;
  ++totals_.setsBy[static_cast<std::size_t>(result.verdict)];
  ++group_.sets;
  if (result.verdict != Verdict::kRejected) ++group_.accepted;
  if (result.verdict == Verdict::kAcceptedWithErrors) group_.errorsNoted = true;
  observer_.SetEnd(result);
}

void Checker::CloseGroup(bool trailerSeen, std::int64_t included) {
  if (!trailerSeen) {
    reporter_.At(segment_, 0, "GE");
    reporter_.InLoop("group", {});
    Finding f = reporter_.Here(Rule::kGroupTrailer);
    f.value = group_.control;
    f.expected = "GE closing the functional group";
    reporter_.Emit(f);
    included = group_.sets;
  }
  GroupResult result;
  result.functionalId = group_.functionalId;
  result.control = group_.control;
  result.setsIncluded = included;
  result.setsReceived = group_.sets;
  result.setsAccepted = group_.accepted;
  result.rejected = reporter_.groupErrors() > 0 || group_.accepted == 0;
  result.errorsNoted = group_.errorsNoted;
  result.codes = reporter_.groupCodes();
  group_.open = false;
  observer_.GroupEnd(result);
}

void Checker::CloseInterchange(bool trailerSeen) {
  if (!trailerSeen) FileFinding(Rule::kInterchangeTrailer, {}, "IEA closing the interchange");
  interchange_.open = false;
}

}  // namespace wcomp837::guide
