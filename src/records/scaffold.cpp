// Temporary placeholders while the record parsers are being built; each
// definition is removed when its real implementation lands.
#include "records/parsers.h"
#include "records/text.h"

namespace wcomp837 {
void SplitFields(std::string_view, std::vector<std::string>& fields, std::string_view) { fields.assign(1, ""); }
std::int16_t ParsePracticeRec(Ctx&, const std::string&, PracticeRec&) { return 0; }
std::int16_t ParseSubmitterRec(Ctx&, const std::string&, SubmitterRec&) { return 0; }
std::int16_t ParseBProviderRec(Ctx&, const std::string&, BProviderRec&) { return 0; }
std::int16_t ParseInsuranceRec(Ctx&, const std::string&, InsuranceRec&, std::int16_t) { return 0; }
std::int16_t ParseCalcPrefRec(Ctx&, const std::string&, CalcPrefRec&) { return 0; }
std::int16_t ParseBreakPrefRec(Ctx&, const std::string&, BreakPrefRec&) { return 0; }
std::int16_t ParsePatientRec(Ctx&, const std::string&, PatientRec&) { return 0; }
std::int16_t ParseSubscriberRec(Ctx&, const std::string&, SubscriberRec&) { return 0; }
std::int16_t ParseExtDataRec(Ctx&, const std::string&, ExtDataRec&) { return 0; }
std::int16_t ParseChargeRec(Ctx&, const std::string&, ChargeRec&) { return 0; }
std::int16_t ParseCCFormRec(Ctx&, const std::string&, ChargeGroup&) { return 0; }
std::int16_t ParseAmbulanceRec(Ctx&, const std::string&, AmbulanceRec&) { return 0; }
std::int16_t ParseChiropractorRec(Ctx&, const std::string&, ChiropractorRec&) { return 0; }
std::int16_t ParseSProviderRec(Ctx&, const std::string&, SProviderRec&) { return 0; }
std::int16_t ParseOProviderRec(Ctx&, const std::string&, OProviderRec&) { return 0; }
std::int16_t ParseReferralRec(Ctx&, const std::string&, ReferralRec&) { return 0; }
std::int16_t ParseOReferralRec(Ctx&, const std::string&, OReferralRec&) { return 0; }
std::int16_t ParseFacilityRec(Ctx&, const std::string&, FacilityRec&) { return 0; }
std::int16_t ParseOInsuranceRec(Ctx&, const std::string&, OInsuranceRec&, std::int16_t) { return 0; }
std::int16_t Append26ExtData(Ctx&) { return 0; }
void ClearChargeRec(ChargeRec&) {}
void ClearAmbulanceRec(AmbulanceRec&) {}
void ClearChiropractorRec(ChiropractorRec&) {}
void ClearSProviderRec(SProviderRec&) {}
void ClearOProviderRec(OProviderRec&) {}
void ClearReferralStruct(Ctx&, ReferralRec&) {}
void ClearOReferralRec(OReferralRec&) {}
void ClearFacilityRec(FacilityRec&) {}
void ClearOInsuranceRec(OInsuranceRec&) {}
void ClearExtDataRec(ExtDataRec&) {}
void EmptyThisTop(Ctx&) {}
void EmptyLastTop(Ctx&) {}
void EmptyThisGroup(Ctx&) {}
void EmptyLastGroup(Ctx&) {}
std::string SquashAllPunctuation(HostState&, const std::string& t, bool, bool, const std::string&) { return t; }
std::string GetCountryCode(const std::string&) { return ""; }
std::string PadWithSpaces(const std::string& t, std::int16_t, bool) { return t; }
std::string PadWithChar(const std::string& t, std::int16_t, const std::string&, bool) { return t; }
void SplitAtChar(const std::string& t, const std::string&, std::string& l, std::string& r) { l = t; r.clear(); }
std::string StripMidStringFromWholeString(HostState&, const std::string&, const std::string& w) { return w; }
std::string Strip19FromNarrative(HostState&, const std::string& n) { return n; }
std::string FormatAmount(Currency, std::int32_t) { return ""; }
std::string Trim(std::string_view t) { return std::string(t); }
std::string RTrim(std::string_view t) { return std::string(t); }
std::string LTrim(std::string_view t) { return std::string(t); }
std::string Left(std::string_view t, std::size_t n) { return std::string(t.substr(0, n)); }
std::string UpperCase(std::string_view t) { return std::string(t); }
void CCFormInfo::EmptyMe() {}
void CCFormInfo::DetermineQuestionNumber() {}
CCFormInfoArray::CCFormInfoArray() {}
void CCFormInfoArray::Empty_Me() {}
CCFormInfo& CCFormInfoArray::GetCustomFormInfo(std::int16_t n) { return items_[static_cast<std::size_t>(n - 1)]; }
const CCFormInfo& CCFormInfoArray::GetCustomFormInfo(std::int16_t n) const { return items_[static_cast<std::size_t>(n - 1)]; }
void CCFormInfoArray::AddTail(const CCFormInfo&) {}
}  // namespace wcomp837
