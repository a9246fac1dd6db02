// The record parsers that their layout describes almost entirely; each adds
// only what a table cannot say.
#include "records/parsers.h"

#include "records/layout.h"
#include "state/messages.h"
#include "state/runlog.h"

namespace wcomp837 {

std::int16_t ParseSubmitterRec(const RecordCtx& c, const std::string& rec, SubmitterRec& out) {
  return layout::ParseByLayout(c.host, layout::SubmitterLayout(), rec, out);
}

std::int16_t ParseBProviderRec(const RecordCtx& c, const std::string& rec, BProviderRec& out) {
  return layout::ParseByLayout(c.host, layout::BProviderLayout(), rec, out);
}

std::int16_t ParseCalcPrefRec(const RecordCtx& c, const std::string& rec, CalcPrefRec& out) {
  return layout::ParseByLayout(c.host, layout::CalcPrefLayout(), rec, out);
}

std::int16_t ParseBreakPrefRec(const RecordCtx& c, const std::string& rec, BreakPrefRec& out) {
  return layout::ParseByLayout(c.host, layout::BreakPrefLayout(), rec, out);
}

std::int16_t ParsePatientRec(const RecordCtx& c, const std::string& rec, PatientRec& out) {
  return layout::ParseByLayout(c.host, layout::PatientLayout(), rec, out);
}

std::int16_t ParseSubscriberRec(const RecordCtx& c, const std::string& rec, SubscriberRec& out) {
  return layout::ParseByLayout(c.host, layout::SubscriberLayout(), rec, out);
}

std::int16_t ParseSProviderRec(const RecordCtx& c, const std::string& rec, SProviderRec& out) {
  return layout::ParseByLayout(c.host, layout::SProviderLayout(), rec, out);
}

std::int16_t ParseOProviderRec(const RecordCtx& c, const std::string& rec, OProviderRec& out) {
  return layout::ParseByLayout(c.host, layout::OProviderLayout(), rec, out);
}

std::int16_t ParseReferralRec(const RecordCtx& c, const std::string& rec, ReferralRec& out) {
  return layout::ParseByLayout(c.host, layout::ReferralLayout(), rec, out);
}

std::int16_t ParseOReferralRec(const RecordCtx& c, const std::string& rec, OReferralRec& out) {
  return layout::ParseByLayout(c.host, layout::OReferralLayout(), rec, out);
}

std::int16_t ParseFacilityRec(const RecordCtx& c, const std::string& rec, FacilityRec& out) {
  return layout::ParseByLayout(c.host, layout::FacilityLayout(), rec, out);
}

std::int16_t ParseOInsuranceRec(const RecordCtx& c, const std::string& rec, OInsuranceRec& out,
                                std::int16_t iSwitch) {
  auto payerId = [&]() -> std::int16_t {
    layout::FallBackPayerId(out, OInsurance::sPayerId, 74, iSwitch);
    return 0;
  };
  // An insurance of category "MCA" follows the charge.
  auto followFlag = [&]() -> std::int16_t {
    if (out[OInsurance::sInsuranceCategoryCd] == "MCA") {
      c.records.ThisFollowedCode = c.records.g_ThisGroup.Charge[Charge::sCodePart2];
      c.records.ThisFollowed = true;
      LogLine(c.host, "ParseOIns  This-followed is now True");
    }
    return 0;
  };
  return layout::ParseByLayout(c.host, layout::OInsuranceLayout(), rec, out, payerId, followFlag);
}

std::int16_t ParseAmbulanceRec(const RecordCtx& c, const std::string& rec, AmbulanceRec& out) {
  return layout::ParseByLayout(c.host, layout::AmbulanceLayout(), rec, out);
}

std::int16_t ParseChiropractorRec(const RecordCtx& c, const std::string& rec,
                                  ChiropractorRec& out) {
  return layout::ParseByLayout(c.host, layout::ChiropractorLayout(), rec, out);
}

}  // namespace wcomp837
