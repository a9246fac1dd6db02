// The charge record: its layout plus the members derived from other members
// (indicator keys, record tag part, code parts, modifiers, "BP:" text,
// narrative).
#include <utility>

#include "records/layout.h"
#include "records/parsers.h"
#include "records/text.h"
#include "state/runlog.h"

namespace wcomp837 {
namespace {

constexpr std::size_t kModifierWords = 3;

MemberRef ModifierWord(ChargeRec& charge, std::size_t k) {
  return charge[Charge::asModifierWord1 + k];
}

// The third comma-separated part of the record tag ("" when there is none).
std::string_view RecordTagPart3(std::string_view tag) {
  const std::size_t first = tag.find(',');
  if (first == std::string_view::npos) return {};
  const std::size_t second = tag.find(',', first + 1);
  if (second == std::string_view::npos) return {};
  const std::size_t third = tag.find(',', second + 1);
  return tag.substr(second + 1,
                    third == std::string_view::npos ? std::string_view::npos : third - second - 1);
}

// A narrative that contains the procedure description is dropped whole.
void ApplyNarrativeRule(HostState& h, ChargeRec& charge) {
  if (charge[Charge::sDropDescFromNarrative] != "1") return;
  MemberRef narrative = charge[Charge::sNarrative];
  if (StripMidStringFromWholeString(h, charge[Charge::sProcedureDesc], narrative) != narrative) {
    narrative.clear();
  }
}

}  // namespace

std::string PopModifierWord(ChargeRec& charge) {
  std::string word = ModifierWord(charge, 0);
  if (word.empty()) return word;
  for (std::size_t k = 0; k + 1 < kModifierWords; ++k) {
    ModifierWord(charge, k) = ModifierWord(charge, k + 1);
  }
  ModifierWord(charge, kModifierWords - 1).clear();
  return word;
}

void FillModifiersFromList(ChargeRec& charge) {
  for (std::size_t k = 0; k < kModifierWords; ++k) ModifierWord(charge, k).clear();
  // The words stay where they stand in the record's text.
  std::string_view rest = TrimView(std::as_const(charge)[Charge::sModifierList]);
  std::size_t k = 0;
  while (!rest.empty() && ModifierWord(charge, kModifierWords - 1).empty() && k < kModifierWords) {
    const std::size_t blank = rest.find(' ');
    if (blank == std::string_view::npos) {
      ModifierWord(charge, k) = rest;
      rest = {};
    } else {
      ModifierWord(charge, k) = TrimView(rest.substr(0, blank));
      rest = TrimView(rest.substr(blank));
    }
    ++k;
  }
  for (std::size_t m :
       {Charge::sModifier1, Charge::sModifier2, Charge::sModifier3, Charge::sModifier4}) {
    if (charge[m].empty()) charge[m] = PopModifierWord(charge);
  }
}

void SplitBPPrefix(ChargeRec& charge) {
  MemberRef desc = charge[Charge::sProcedureDesc];
  if (!desc.starts_with("BP:")) return;
  charge[Charge::sBPText] = TrimView(desc.substr(3));
  desc = charge[Charge::sProcedureDescAlt];
  charge[Charge::sProcedureDescAlt].clear();
}

std::int16_t ParseChargeRec(const RecordCtx& c, const std::string& rec, ChargeRec& out) {
  const layout::Layout& l = layout::ChargeLayout();
  return layout::Guarded(c.host, l.errorText, out, [&]() -> std::int16_t {
    LogLine(c.host, l.entryLog);
    c.records.ThisFollowed = false;
    c.records.ThisFollowedCode.clear();
    LogLine(c.host, "** ParseChargeRec  This-followed is now false");
    const layout::Fields fields = layout::SplitInto(rec, out.members());

    if (!layout::CopyMandatory(l, fields, out.members())) {
      return layout::MissingField(c.host, l.errorText, out);
    }
    out[Charge::sIndicatorKeys] = "~" + out[Charge::sIndicatorKeys] + "~";
    if (!layout::CopyOptional(l, fields, out.members())) {
      return layout::MissingField(c.host, l.errorText, out);
    }
    out[Charge::sRecordTagPart3] = RecordTagPart3(out[Charge::sRecordTag]);
    layout::ApplySplits(l, out.members());
    out[Charge::sCodePart1] = PadWithChar(out[Charge::sCodePart1], 4, "0", false);
    FillModifiersFromList(out);
    SplitBPPrefix(out);
    layout::CleanMembers(c.host, l, out.members());
    ApplyNarrativeRule(c.host, out);
    return 0;
  });
}

}  // namespace wcomp837
