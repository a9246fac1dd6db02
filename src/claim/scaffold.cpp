// Temporary placeholders while claim assembly is being built; each
// definition is removed when its real implementation lands.
#include "claim/generations.h"
#include "claim/tables.h"

namespace wcomp837 {
void CopyThisTopToLast(Ctx&) {}
void CopyThisGroupToLast(Ctx&) {}
std::int16_t CheckBreak(Ctx&) { return 0; }
bool CheckChargeBreak(Ctx&) { return false; }
std::int16_t WriteClaim(Ctx&) { return 0; }
void InitializeClaimTables(Ctx&) {}
void ResetClaimTables(Ctx&) {}
void ClearClaimRecord(Ctx&) {}
std::int16_t DealWithLastGroup(Ctx&) { return 0; }
std::int16_t GetNextDetailIndex(Ctx&) { return 1; }
void Redim_DETAILArray(Ctx&, bool) {}
std::int16_t FillDetailArrayElement(Ctx&, DetailLine&) { return 0; }
bool GetExtDataValue(Ctx&, std::int16_t, const std::string&, std::string&) { return false; }
bool FindExtDataValue(const std::string&, const std::string&, std::string&) { return false; }
bool NumberToBase(std::string&, double, std::int16_t, std::int16_t) { return false; }
std::int16_t AddToDiagnosisArray(Ctx&, std::int16_t&) { return 0; }
bool DoesDiagnosisCauseOverflow(Ctx&, std::int16_t&) { return false; }
std::int16_t GetIndexForDiagnosis(Ctx&, const std::string&) { return 0; }
std::int16_t FillDetailInsInfo(Ctx&, DetailLine&) { return 0; }
void ExtractNDCFromNarrative(Ctx&, DetailLine&) {}
void InsInfo::EmptyMe() {}
InsInfoArray::InsInfoArray() {}
void InsInfoArray::Empty_Me() {}
InsInfo& InsInfoArray::GetInsInfo(std::int16_t n) { return items_[static_cast<std::size_t>(n - 1)]; }
const InsInfo& InsInfoArray::GetInsInfo(std::int16_t n) const { return items_[static_cast<std::size_t>(n - 1)]; }
bool InsInfoArray::IsPreviousInsuranceMedicare(std::int16_t) const { return false; }
void InsInfoArray::AddToMe(const InsInfoArray&) {}
void InsInfoArray::AddThePaymentAdjCodes(std::string&, const std::string&) {}
std::vector<PaymentAdjStruct> InsInfoArray::ParsePaymentAdjCodes(const std::string&) { return {}; }
void InsInfoArray::SortPaymentAdjCodes(std::vector<PaymentAdjStruct>&) {}
void NDCInfo::EmptyMe() {}
void NDCInfoArray::Empty_Me() {}
NDCInfo& NDCInfoArray::GetNDCInfo(std::int16_t n) { return items_[static_cast<std::size_t>(n - 1)]; }
const NDCInfo& NDCInfoArray::GetNDCInfo(std::int16_t n) const { return items_[static_cast<std::size_t>(n - 1)]; }
void NDCInfoArray::Fill_Me(const std::string&) {}
}  // namespace wcomp837
