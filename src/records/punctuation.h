// The per-record punctuation routines: each passes the members its layout
// lists through SquashAllPunctuation, in member order. All answer 0.
#pragma once

#include <cstdint>

#include "records/records.h"
#include "state/host_state.h"

namespace wcomp837 {

std::int16_t DealWithPunctuation_Practice(HostState& h, PracticeRec& rec);
std::int16_t DealWithPunctuation_Submitter(HostState& h, SubmitterRec& rec);
std::int16_t DealWithPunctuation_BProvider(HostState& h, BProviderRec& rec);
std::int16_t DealWithPunctuation_Insurance(HostState& h, InsuranceRec& rec);
std::int16_t DealWithPunctuation_CalcPref(HostState& h, CalcPrefRec& rec);
std::int16_t DealWithPunctuation_BreakPref(HostState& h, BreakPrefRec& rec);
std::int16_t DealWithPunctuation_Patient(HostState& h, PatientRec& rec);
std::int16_t DealWithPunctuation_Subscriber(HostState& h, SubscriberRec& rec);
std::int16_t DealWithPunctuation_Charge(HostState& h, ChargeRec& rec);
std::int16_t DealWithPunctuation_SProvider(HostState& h, SProviderRec& rec);
std::int16_t DealWithPunctuation_OProvider(HostState& h, OProviderRec& rec);
std::int16_t DealWithPunctuation_Referral(HostState& h, ReferralRec& rec);
std::int16_t DealWithPunctuation_OReferral(HostState& h, OReferralRec& rec);
std::int16_t DealWithPunctuation_Facility(HostState& h, FacilityRec& rec);
std::int16_t DealWithPunctuation_OInsurance(HostState& h, OInsuranceRec& rec);
std::int16_t DealWithPunctuation_Ambulance(HostState& h, AmbulanceRec& rec);
std::int16_t DealWithPunctuation_Chiropractor(HostState& h, ChiropractorRec& rec);

}  // namespace wcomp837
