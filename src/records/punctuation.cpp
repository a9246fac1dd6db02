#include "records/punctuation.h"

#include "records/layout.h"

namespace wcomp837 {

std::int16_t DealWithPunctuation_Practice(HostState& h, PracticeRec& rec) {
  return layout::CleanMembers(h, layout::PracticeLayout(), rec);
}
std::int16_t DealWithPunctuation_Submitter(HostState& h, SubmitterRec& rec) {
  return layout::CleanMembers(h, layout::SubmitterLayout(), rec);
}
std::int16_t DealWithPunctuation_BProvider(HostState& h, BProviderRec& rec) {
  return layout::CleanMembers(h, layout::BProviderLayout(), rec);
}
std::int16_t DealWithPunctuation_Insurance(HostState& h, InsuranceRec& rec) {
  return layout::CleanMembers(h, layout::InsuranceLayout(), rec);
}
std::int16_t DealWithPunctuation_CalcPref(HostState& h, CalcPrefRec& rec) {
  return layout::CleanMembers(h, layout::CalcPrefLayout(), rec);
}
std::int16_t DealWithPunctuation_BreakPref(HostState& h, BreakPrefRec& rec) {
  return layout::CleanMembers(h, layout::BreakPrefLayout(), rec);
}
std::int16_t DealWithPunctuation_Patient(HostState& h, PatientRec& rec) {
  return layout::CleanMembers(h, layout::PatientLayout(), rec);
}
std::int16_t DealWithPunctuation_Subscriber(HostState& h, SubscriberRec& rec) {
  return layout::CleanMembers(h, layout::SubscriberLayout(), rec);
}
std::int16_t DealWithPunctuation_Charge(HostState& h, ChargeRec& rec) {
  return layout::CleanMembers(h, layout::ChargeLayout(), rec);
}
std::int16_t DealWithPunctuation_SProvider(HostState& h, SProviderRec& rec) {
  return layout::CleanMembers(h, layout::SProviderLayout(), rec);
}
std::int16_t DealWithPunctuation_OProvider(HostState& h, OProviderRec& rec) {
  return layout::CleanMembers(h, layout::OProviderLayout(), rec);
}
std::int16_t DealWithPunctuation_Referral(HostState& h, ReferralRec& rec) {
  return layout::CleanMembers(h, layout::ReferralLayout(), rec);
}
std::int16_t DealWithPunctuation_OReferral(HostState& h, OReferralRec& rec) {
  return layout::CleanMembers(h, layout::OReferralLayout(), rec);
}
std::int16_t DealWithPunctuation_Facility(HostState& h, FacilityRec& rec) {
  return layout::CleanMembers(h, layout::FacilityLayout(), rec);
}
std::int16_t DealWithPunctuation_OInsurance(HostState& h, OInsuranceRec& rec) {
  return layout::CleanMembers(h, layout::OInsuranceLayout(), rec);
}
std::int16_t DealWithPunctuation_Ambulance(HostState& h, AmbulanceRec& rec) {
  return layout::CleanMembers(h, layout::AmbulanceLayout(), rec);
}
std::int16_t DealWithPunctuation_Chiropractor(HostState& h, ChiropractorRec& rec) {
  return layout::CleanMembers(h, layout::ChiropractorLayout(), rec);
}

}  // namespace wcomp837
