// The claim dates of loop 2300: seventeen rules, each a qualifier and the
// date it carries (no date, no segment).
#include <array>
#include <string_view>

#include "x12/loops_claim.h"
#include "x12/segments.h"

namespace wcomp837 {
namespace {

using DateSource = std::string (*)(const WriterCtx&);

struct ClaimDateRule {
  std::string_view qualifier;
  DateSource date;
};

const ChargeRec& LastCharge(const WriterCtx& c) {
  return c.g_LastGroup().Charge;
}
const ChiropractorRec& Chiro(const WriterCtx& c) {
  return c.g_LastGroup().Chiropractor;
}

// The onset date when the onset type is `type`.
std::string OnsetDateOfType(const WriterCtx& c, std::string_view type) {
  return LastCharge(c)[Charge::sOnsetType] == type ? LastCharge(c)[Charge::sOnsetDate] : Text();
}

// The date of the first service line's own copy of the charge.
std::string FirstLineOnsetDate(const WriterCtx& c) {
  const auto& lines = c.claim.DETAILArray;
  return lines.size() > 1 ? std::string(lines[1].Charge()[Charge::sOnsetDate]) : std::string();
}

std::string PrescriptionDate(const WriterCtx& c) {
  const Text procedure = LastCharge(c)[Charge::sProcedureCode];
  if (procedure.empty() || (procedure[0] != 'V' && procedure[0] != 'Y')) return {};
  return ExtValue(c, 1, "10006");
}

template <std::size_t kMember>
std::string ChargeDate(const WriterCtx& c) {
  return LastCharge(c)[kMember];
}

const std::array<ClaimDateRule, 17> kClaimDates = {{
    {"454",
     [](const WriterCtx& c) -> std::string {
       return Received(Chiro(c)) ? Chiro(c)[Chiropractor::sInitialTreatmentDate] : Text();
     }},
    {"439",
     [](const WriterCtx& c) -> std::string {
       return c.claim.mClaim.sRelatedCause == "AA" ? LastCharge(c)[Charge::sOnsetDate] : Text();
     }},
    {"431", FirstLineOnsetDate},
    {"453",
     [](const WriterCtx& c) -> std::string {
       return Chiro(c)[Chiropractor::sAcuteManifestationDate];
     }},
    {"438", [](const WriterCtx& c) -> std::string { return OnsetDateOfType(c, "ILL"); }},
    {"439", [](const WriterCtx& c) -> std::string { return OnsetDateOfType(c, "ACC"); }},
    {"484", [](const WriterCtx& c) -> std::string { return OnsetDateOfType(c, "LMP"); }},
    {"455",
     [](const WriterCtx& c) -> std::string { return Chiro(c)[Chiropractor::sLastXRayDate]; }},
    {"471", PrescriptionDate},
    {"360", ChargeDate<Charge::sDisabilityFromDate>},
    {"361", ChargeDate<Charge::sDisabilityToDate>},
    {"297", ChargeDate<Charge::sLastWorkedDate>},
    {"296", ChargeDate<Charge::sReturnToWorkDate>},
    {"435", ChargeDate<Charge::sAdmissionDate>},
    {"096", ChargeDate<Charge::sDischargeDate>},
    {"090", [](const WriterCtx& c) -> std::string { return ExtValue(c, 1, "10009"); }},
    {"091", [](const WriterCtx& c) -> std::string { return ExtValue(c, 1, "10010"); }},
}};

}  // namespace

void PutClaimDates(const WriterCtx& c, LoopWriter& out) {
  for (const ClaimDateRule& rule : kClaimDates) {
    std::string date = rule.date(c);
    if (date.empty()) continue;
    out.Put(SegmentText("DTP").Add(rule.qualifier).Add("D8").Add(DateToCCYYMMDD(date)));
  }
}

}  // namespace wcomp837
