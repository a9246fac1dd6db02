#include "records/punctuation.h"

#include "records/layout.h"

namespace wcomp837 {

std::int16_t DealWithPunctuation_Practice(HostState& h, PracticeRec& rec) {
  return layout::CleanMembers(h, layout::PracticeLayout(), rec.members());
}
std::int16_t DealWithPunctuation_Submitter(HostState& h, SubmitterRec& rec) {
  return layout::CleanMembers(h, layout::SubmitterLayout(), rec.members());
}
std::int16_t DealWithPunctuation_BProvider(HostState& h, BProviderRec& rec) {
  return layout::CleanMembers(h, layout::BProviderLayout(), rec.members());
}
std::int16_t DealWithPunctuation_Insurance(HostState& h, InsuranceRec& rec) {
  return layout::CleanMembers(h, layout::InsuranceLayout(), rec.members());
}
std::int16_t DealWithPunctuation_CalcPref(HostState& h, CalcPrefRec& rec) {
  return layout::CleanMembers(h, layout::CalcPrefLayout(), rec.members());
}
std::int16_t DealWithPunctuation_BreakPref(HostState& h, BreakPrefRec& rec) {
  return layout::CleanMembers(h, layout::BreakPrefLayout(), rec.members());
}
std::int16_t DealWithPunctuation_Patient(HostState& h, PatientRec& rec) {
  return layout::CleanMembers(h, layout::PatientLayout(), rec.members());
}
std::int16_t DealWithPunctuation_Subscriber(HostState& h, SubscriberRec& rec) {
  return layout::CleanMembers(h, layout::SubscriberLayout(), rec.members());
}
std::int16_t DealWithPunctuation_Charge(HostState& h, ChargeRec& rec) {
  return layout::CleanMembers(h, layout::ChargeLayout(), rec.members());
}
std::int16_t DealWithPunctuation_SProvider(HostState& h, SProviderRec& rec) {
  return layout::CleanMembers(h, layout::SProviderLayout(), rec.members());
}
std::int16_t DealWithPunctuation_OProvider(HostState& h, OProviderRec& rec) {
  return layout::CleanMembers(h, layout::OProviderLayout(), rec.members());
}
std::int16_t DealWithPunctuation_Referral(HostState& h, ReferralRec& rec) {
  return layout::CleanMembers(h, layout::ReferralLayout(), rec.members());
}
std::int16_t DealWithPunctuation_OReferral(HostState& h, OReferralRec& rec) {
  return layout::CleanMembers(h, layout::OReferralLayout(), rec.members());
}
std::int16_t DealWithPunctuation_Facility(HostState& h, FacilityRec& rec) {
  return layout::CleanMembers(h, layout::FacilityLayout(), rec.members());
}
std::int16_t DealWithPunctuation_OInsurance(HostState& h, OInsuranceRec& rec) {
  return layout::CleanMembers(h, layout::OInsuranceLayout(), rec.members());
}
std::int16_t DealWithPunctuation_Ambulance(HostState& h, AmbulanceRec& rec) {
  return layout::CleanMembers(h, layout::AmbulanceLayout(), rec.members());
}
std::int16_t DealWithPunctuation_Chiropractor(HostState& h, ChiropractorRec& rec) {
  return layout::CleanMembers(h, layout::ChiropractorLayout(), rec.members());
}

}  // namespace wcomp837
