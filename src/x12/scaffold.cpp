// Temporary placeholders while the claim file writer is being built; each
// definition is removed when its real implementation lands.
#include "x12/code_tables.h"
#include "x12/envelopes.h"
#include "x12/loops.h"
#include "x12/segments.h"

namespace wcomp837 {
std::int16_t CheckForOtherRecs(Ctx&) { return 0; }
std::int16_t SetUpSUBMITTER(Ctx&) { return 0; }
std::int16_t SetupGROUP(Ctx&) { return 0; }
std::int16_t SetUpBATCH(Ctx&) { return 0; }
std::int16_t WriteClaimTrailer(Ctx&) { return 0; }
std::int16_t WriteBatchTrailer(Ctx&) { return 0; }
std::int16_t WriteGroupTrailer(Ctx&) { return 0; }
std::int16_t WriteFileTrailer(Ctx&) { return 0; }
bool IsCanadianProvince(const std::string&) { return false; }
std::string RelationshipToX12(const std::string&) { return "21"; }
std::string MedicareSecondaryTypeCode(const std::string&) { return ""; }
std::string ServiceAuthExceptionCode(const std::string&) { return ""; }
std::string OtherInsuranceTypeCode(Ctx&, std::int16_t) { return "SP"; }
std::string SpecialProgramCode(const std::string&) { return ""; }
std::string ClaimFilingIndicator(const std::string&) { return "ZZ"; }
std::string PayerProviderIDQualifier(const std::string&) { return ""; }
std::int16_t WriteSubscriber(Ctx&) { return 0; }
std::int16_t WriteSubscriberName(Ctx&) { return 0; }
std::int16_t WritePayer(Ctx&) { return 0; }
std::int16_t WritePatient(Ctx&) { return 0; }
std::int16_t WriteClaimHeader(Ctx&) { return 0; }
std::int16_t WriteOtherInsurances(Ctx&) { return 0; }
std::int16_t DumpThePaymentAdjCodes(Ctx&, const std::string&) { return 0; }
std::int16_t Write_Detail_Records(Ctx&, std::int16_t) { return 0; }
}  // namespace wcomp837
