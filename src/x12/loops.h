// The claim loops: subscriber, payer, patient, claim header, claim
// providers, other insurances and service lines.
#pragma once

#include <cstdint>
#include <string>

#include "x12/writer_ctx.h"

namespace wcomp837 {

std::int16_t WriteSubscriber(const WriterCtx& c);
std::int16_t WriteSubscriberName(const WriterCtx& c);
std::int16_t WritePayer(const WriterCtx& c);
std::int16_t WritePatient(const WriterCtx& c);
std::int16_t WriteClaimHeader(const WriterCtx& c);
std::int16_t WriteOtherInsurances(const WriterCtx& c);
std::int16_t DumpThePaymentAdjCodes(const WriterCtx& c, const std::string& codes);
std::int16_t Write_Detail_Records(const WriterCtx& c, std::int16_t iIndex);

}  // namespace wcomp837
