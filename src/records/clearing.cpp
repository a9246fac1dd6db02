// Clearing the record structures and the this/last generations.
#include <algorithm>
#include <initializer_list>

#include "host/runlog.h"
#include "records/parsers.h"

namespace wcomp837 {
namespace {

// Empties every member except the ones listed, which keep their values
// from one charge to the next.
template <std::size_t N>
void ClearExcept(Rec<N>& rec, std::initializer_list<std::size_t> kept) {
  for (std::size_t m = 0; m < N; ++m) {
    if (std::find(kept.begin(), kept.end(), m) == kept.end()) rec[m].clear();
  }
}

void EmptyTop(TopRecords& top) {
  for (std::string* tag :
       {&top.Practice[0], &top.Submitter[0], &top.BProvider[0], &top.Insurance[0], &top.CalcPref[0],
        &top.BreakPref[0], &top.Patient[0], &top.Subscriber[0]}) {
    tag->clear();
  }
  for (ExtDataRec& ext : top.ExtData) ClearExtDataRec(ext);
}

void EmptyGroup(Ctx& c, ChargeGroup& group) {
  group.Charge[Charge::sRecordTag].clear();
  for (ExtDataRec& ext : group.ExtData) ClearExtDataRec(ext);
  ClearAmbulanceRec(group.Ambulance);
  ClearChiropractorRec(group.Chiropractor);
  ClearSProviderRec(group.SProvider);
  ClearOProviderRec(group.OProvider);
  ClearReferralStruct(c, group.Referral);
  ClearOReferralRec(group.OReferral);
  ClearFacilityRec(group.Facility);
  for (std::size_t k = 1; k <= 4; ++k) ClearOInsuranceRec(group.OIns[k]);
  group.CustomForms = std::make_shared<CCFormInfoArray>();
}

}  // namespace

void ClearChargeRec(ChargeRec& r) {
  ClearExcept(r, {Charge::sRecordTagPart3});
}
void ClearAmbulanceRec(AmbulanceRec& r) {
  ClearExcept(r, {});
}
void ClearChiropractorRec(ChiropractorRec& r) {
  ClearExcept(r, {});
}
void ClearSProviderRec(SProviderRec& r) {
  ClearExcept(r, {32, 33, SProvider::sNPI});
}
void ClearOProviderRec(OProviderRec& r) {
  ClearExcept(r, {});
}
void ClearOReferralRec(OReferralRec& r) {
  ClearExcept(r, {38});
}
void ClearFacilityRec(FacilityRec& r) {
  ClearExcept(r, {Facility::sNPI});
}
void ClearOInsuranceRec(OInsuranceRec& r) {
  ClearExcept(
      r, {70, 71, OInsurance::sMedigap, OInsurance::sAmtDeductible, OInsurance::sLastPaymentDate,
          OInsurance::sPaymentAdjCodes, OInsurance::sCountry, OInsurance::sCountry2});
}
void ClearExtDataRec(ExtDataRec& r) {
  ClearExcept(r, {});
}

void ClearReferralStruct(Ctx& c, ReferralRec& r) {
  ClearExcept(r, {});
  LogLine(c.g.host, ">> ClearReferralStruct()   Referral is now empty");
}

void EmptyThisTop(Ctx& c) {
  LogLine(c.g.host, "EmptyThisTop()");
  EmptyTop(c.g.g_ThisTop);
}

void EmptyLastTop(Ctx& c) {
  LogLine(c.g.host, "EmptyLastTop()");
  EmptyTop(c.g.g_LastTop);
}

void EmptyThisGroup(Ctx& c) {
  LogLine(c.g.host, "EmptyThisGroup()");
  EmptyGroup(c, c.g.g_ThisGroup);
}

void EmptyLastGroup(Ctx& c) {
  LogLine(c.g.host, "EmptyLastGroup()");
  EmptyGroup(c, c.g.g_LastGroup);
}

}  // namespace wcomp837
