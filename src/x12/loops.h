// The claim loops: subscriber, payer, patient, claim header, claim
// providers, other insurances and service lines.
#pragma once

#include <cstdint>
#include <string>

#include "host/state.h"

namespace wcomp837 {

std::int16_t WriteSubscriber(Ctx& c);
std::int16_t WriteSubscriberName(Ctx& c);
std::int16_t WritePayer(Ctx& c);
std::int16_t WritePatient(Ctx& c);
std::int16_t WriteClaimHeader(Ctx& c);
std::int16_t WriteOtherInsurances(Ctx& c);
std::int16_t DumpThePaymentAdjCodes(Ctx& c, const std::string& codes);
std::int16_t Write_Detail_Records(Ctx& c, std::int16_t iIndex);

}  // namespace wcomp837
