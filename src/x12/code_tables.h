// Translations of the host's codes into X12 code values.
#pragma once

#include <cstdint>
#include <string>

#include "host/state.h"

namespace wcomp837 {

bool IsCanadianProvince(const std::string& state);
std::string RelationshipToX12(const std::string& relationship);
std::string MedicareSecondaryTypeCode(const std::string& claimExtKeys);
std::string ServiceAuthExceptionCode(const std::string& indicatorKeys);
std::string OtherInsuranceTypeCode(Ctx& c, std::int16_t n);
std::string SpecialProgramCode(const std::string& keys);
std::string ClaimFilingIndicator(const std::string& category);
std::string PayerProviderIDQualifier(const std::string& category);

}  // namespace wcomp837
