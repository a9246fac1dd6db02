// Translations of the host's codes into X12 code values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "x12/writer_ctx.h"

namespace wcomp837 {

bool IsCanadianProvince(std::string_view state);
Text RelationshipToX12(std::string_view relationship);
Text MedicareSecondaryTypeCode(std::string_view claimExtKeys);
Text ServiceAuthExceptionCode(std::string_view indicatorKeys);
Text OtherInsuranceTypeCode(const WriterCtx& c, std::int16_t n);
Text SpecialProgramCode(std::string_view keys);
Text ClaimFilingIndicator(std::string_view category);
Text PayerProviderIDQualifier(std::string_view category);

}  // namespace wcomp837
