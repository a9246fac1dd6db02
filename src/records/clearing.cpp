// Clearing the record structures and the this/last generations.
#include <algorithm>
#include <span>
#include <utility>

#include "records/parsers.h"
#include "state/runlog.h"

namespace wcomp837 {
namespace {

// Empties every member except the ones listed, which keep their values
// from one charge to the next.
template <std::size_t N>
void ClearExcept(Rec<N>& rec, std::span<const std::size_t> kept) {
  rec.ClearExcept(kept);
}

// Hands a record over: the receiver takes the whole record and the giver
// keeps its kept members (its other members are cleared with the group).
// Cheaper than a copy: only the kept members are copied. A giver that holds
// nothing but its kept members (no record arrived for this charge) is
// simply copied, and an empty one leaves the receiver empty.
template <std::size_t N>
void HandOver(Rec<N>& to, Rec<N>& from, std::span<const std::size_t> kept) {
  if (from.buffer().empty()) {
    to.Clear();
    return;
  }
  if (from.HoldsOnly(kept)) {
    to = from;
    return;
  }
  swap(to, from);
  from.Clear();
  for (std::size_t m : kept) from[m] = to[m];
}

// Members each record keeps from one charge to the next.
constexpr std::size_t kChargeKept[] = {Charge::sRecordTagPart3};
constexpr std::size_t kSProviderKept[] = {32, 33, SProvider::sNPI};
constexpr std::size_t kOReferralKept[] = {38};
constexpr std::size_t kFacilityKept[] = {Facility::sNPI};
constexpr std::size_t kOInsuranceKept[] = {70,
                                           71,
                                           OInsurance::sMedigap,
                                           OInsurance::sAmtDeductible,
                                           OInsurance::sLastPaymentDate,
                                           OInsurance::sPaymentAdjCodes,
                                           OInsurance::sCountry,
                                           OInsurance::sCountry2};

void EmptyTop(TopRecords& top) {
  top.Practice[0].clear();
  top.Submitter[0].clear();
  top.BProvider[0].clear();
  top.Insurance[0].clear();
  top.CalcPref[0].clear();
  top.BreakPref[0].clear();
  top.Patient[0].clear();
  top.Subscriber[0].clear();
  for (ExtDataRec& ext : top.ExtData) ClearExtDataRec(ext);
}

void EmptyGroup(const RecordCtx& c, ChargeGroup& group) {
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
  // A fresh list per charge would cost a 100-position allocation each time;
  // the group points to the shared empty one until an answer arrives.
  group.CustomForms = NoCustomForms();
}

}  // namespace

const std::shared_ptr<CCFormInfoArray>& NoCustomForms() {
  static const std::shared_ptr<CCFormInfoArray> empty = std::make_shared<CCFormInfoArray>();
  return empty;
}

void ClearChargeRec(ChargeRec& r) {
  ClearExcept(r, kChargeKept);
}
void ClearAmbulanceRec(AmbulanceRec& r) {
  ClearExcept(r, {});
}
void ClearChiropractorRec(ChiropractorRec& r) {
  ClearExcept(r, {});
}
void ClearSProviderRec(SProviderRec& r) {
  ClearExcept(r, kSProviderKept);
}
void ClearOProviderRec(OProviderRec& r) {
  ClearExcept(r, {});
}
void ClearOReferralRec(OReferralRec& r) {
  ClearExcept(r, kOReferralKept);
}
void ClearFacilityRec(FacilityRec& r) {
  ClearExcept(r, kFacilityKept);
}
void ClearOInsuranceRec(OInsuranceRec& r) {
  ClearExcept(r, kOInsuranceKept);
}

void HandOverSProviderRec(SProviderRec& to, SProviderRec& from) {
  HandOver(to, from, kSProviderKept);
}
void HandOverOReferralRec(OReferralRec& to, OReferralRec& from) {
  HandOver(to, from, kOReferralKept);
}
void HandOverFacilityRec(FacilityRec& to, FacilityRec& from) {
  HandOver(to, from, kFacilityKept);
}
void HandOverOInsuranceRec(OInsuranceRec& to, OInsuranceRec& from) {
  HandOver(to, from, kOInsuranceKept);
}
void ClearExtDataRec(ExtDataRec& r) {
  ClearExcept(r, {});
}

void ClearReferralStruct(const RecordCtx& c, ReferralRec& r) {
  ClearExcept(r, {});
  LogLine(c.host, ">> ClearReferralStruct()   Referral is now empty");
}

void EmptyThisTop(const RecordCtx& c) {
  LogLine(c.host, "EmptyThisTop()");
  EmptyTop(c.records.g_ThisTop);
}

void EmptyLastTop(const RecordCtx& c) {
  LogLine(c.host, "EmptyLastTop()");
  EmptyTop(c.records.g_LastTop);
}

void EmptyThisGroup(const RecordCtx& c) {
  LogLine(c.host, "EmptyThisGroup()");
  EmptyGroup(c, c.records.g_ThisGroup);
}

void EmptyLastGroup(const RecordCtx& c, ChargeGroup& lastGroup) {
  LogLine(c.host, "EmptyLastGroup()");
  EmptyGroup(c, lastGroup);
}

}  // namespace wcomp837
