// The record parsers that their layout describes almost entirely; each adds
// only what a table cannot say.
#include "records/parsers.h"

#include "records/layout.h"
#include "refdata/lookups.h"
#include "state/messages.h"
#include "state/runlog.h"

namespace wcomp837 {
namespace {

struct NoStep {
  std::int16_t operator()() const { return 0; }
};

// Log, split, fill by the layout, run `before` (a non-zero answer ends the
// parse with that result and leaves the record uncleaned), clean, run `after`.
template <std::size_t N, class Before = NoStep, class After = NoStep>
std::int16_t ParseByLayout(Ctx& c, const layout::Layout& l, const std::string& text, Rec<N>& out,
                           Before before = {}, After after = {}) {
  return layout::Guarded(c.g.host, l.errorText, out, [&]() -> std::int16_t {
    const layout::Fields& fields = layout::SplitRecord(c.g.host, l, text, out.members());
    layout::FillFromFields(l, fields, out.members());
    if (std::int16_t result = before(); result != 0) return result;
    layout::CleanMembers(c.g.host, l, out.members());
    return after();
  });
}

// An empty payer identifier takes the one the record carries in its
// split member, unless the caller's switch says otherwise.
template <std::size_t N>
void FallBackPayerId(Rec<N>& rec, std::size_t payerId, std::size_t source, std::int16_t iSwitch) {
  if (iSwitch == 0 && rec[payerId].empty()) rec[payerId] = rec[source];
}

bool EndsWith(const std::string& text, std::string_view tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::int16_t ParsePracticeRec(Ctx& c, const std::string& rec, PracticeRec& out) {
  return ParseByLayout(c, layout::PracticeLayout(), rec, out, [&]() -> std::int16_t {
    CheckForAlternatePracticeName(c, out);
    const std::string& format = c.g.host.gsFormatID;
    const bool usesOriginalAddress = EndsWith(format, "_P5") || EndsWith(format, "_I5");
    if (usesOriginalAddress && !out[27].empty() && !FetchOriginalPracticeAddress(c, out)) {
      AddToMessageArray(c.g.host, kMsgError,
                        " ParsePracticeRec had an error when fetching original practice address" +
                            c.g.host.gsDllName);
      return 3;
    }
    return 0;
  });
}

std::int16_t ParseSubmitterRec(Ctx& c, const std::string& rec, SubmitterRec& out) {
  return ParseByLayout(c, layout::SubmitterLayout(), rec, out);
}

std::int16_t ParseBProviderRec(Ctx& c, const std::string& rec, BProviderRec& out) {
  return ParseByLayout(c, layout::BProviderLayout(), rec, out);
}

std::int16_t ParseInsuranceRec(Ctx& c, const std::string& rec, InsuranceRec& out,
                               std::int16_t iSwitch) {
  auto payerId = [&]() -> std::int16_t {
    FallBackPayerId(out, Insurance::sPayerId, 36, iSwitch);
    return 0;
  };
  // The practice NPI may depend on practice, billing provider and payer together.
  auto practiceNpi = [&]() -> std::int16_t {
    PracticeRec& practice = c.g.g_ThisTop.Practice;
    std::string npi = FetchAlternatePracticeNPIFromDB(
        c, practice[Practice::sPracticeCode], c.g.g_ThisTop.BProvider[BProvider::sProviderCode],
        out[Insurance::sInsuranceCode]);
    practice[Practice::sNPI] = npi.empty() ? practice[Practice::sNPICopy] : npi;
    return 0;
  };
  return ParseByLayout(c, layout::InsuranceLayout(), rec, out, payerId, practiceNpi);
}

std::int16_t ParseCalcPrefRec(Ctx& c, const std::string& rec, CalcPrefRec& out) {
  return ParseByLayout(c, layout::CalcPrefLayout(), rec, out);
}

std::int16_t ParseBreakPrefRec(Ctx& c, const std::string& rec, BreakPrefRec& out) {
  return ParseByLayout(c, layout::BreakPrefLayout(), rec, out);
}

std::int16_t ParsePatientRec(Ctx& c, const std::string& rec, PatientRec& out) {
  return ParseByLayout(c, layout::PatientLayout(), rec, out);
}

std::int16_t ParseSubscriberRec(Ctx& c, const std::string& rec, SubscriberRec& out) {
  return ParseByLayout(c, layout::SubscriberLayout(), rec, out);
}

std::int16_t ParseSProviderRec(Ctx& c, const std::string& rec, SProviderRec& out) {
  return ParseByLayout(c, layout::SProviderLayout(), rec, out);
}

std::int16_t ParseOProviderRec(Ctx& c, const std::string& rec, OProviderRec& out) {
  return ParseByLayout(c, layout::OProviderLayout(), rec, out);
}

std::int16_t ParseReferralRec(Ctx& c, const std::string& rec, ReferralRec& out) {
  return ParseByLayout(c, layout::ReferralLayout(), rec, out);
}

std::int16_t ParseOReferralRec(Ctx& c, const std::string& rec, OReferralRec& out) {
  return ParseByLayout(c, layout::OReferralLayout(), rec, out);
}

std::int16_t ParseFacilityRec(Ctx& c, const std::string& rec, FacilityRec& out) {
  return ParseByLayout(c, layout::FacilityLayout(), rec, out);
}

std::int16_t ParseOInsuranceRec(Ctx& c, const std::string& rec, OInsuranceRec& out,
                                std::int16_t iSwitch) {
  auto payerId = [&]() -> std::int16_t {
    FallBackPayerId(out, OInsurance::sPayerId, 74, iSwitch);
    return 0;
  };
  // An insurance of category "MCA" follows the charge.
  auto followFlag = [&]() -> std::int16_t {
    if (out[OInsurance::sInsuranceCategoryCd] == "MCA") {
      c.g.ThisFollowedCode = c.g.g_ThisGroup.Charge[Charge::sCodePart2];
      c.g.ThisFollowed = true;
      LogLine(c.g.host, "ParseOIns  This-followed is now True");
    }
    return 0;
  };
  return ParseByLayout(c, layout::OInsuranceLayout(), rec, out, payerId, followFlag);
}

std::int16_t ParseAmbulanceRec(Ctx& c, const std::string& rec, AmbulanceRec& out) {
  return ParseByLayout(c, layout::AmbulanceLayout(), rec, out);
}

std::int16_t ParseChiropractorRec(Ctx& c, const std::string& rec, ChiropractorRec& out) {
  return ParseByLayout(c, layout::ChiropractorLayout(), rec, out);
}

}  // namespace wcomp837
