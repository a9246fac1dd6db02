// Splitting keys and records into fields, the record parsers, and the
// routines that clear the record generations.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/record_state.h"
#include "records/record_text.h"
#include "state/key_fields.h"

namespace wcomp837 {

// Cuts a text into fields on the delimiter (trailing blanks cut, "." and
// ".x." style fields emptied). More than 32767 fields raises the overflow failure.
void SplitFields(std::string_view text, std::vector<std::string>& fields,
                 std::string_view delimiter = "//");
// The same as views into the text.
void SplitFields(std::string_view text, std::vector<std::string_view>& fields,
                 std::string_view delimiter = "//");
// The same on "//", the first views of `room`, which keeps the size the
// longest text needed, so that the next texts need none.
std::span<const std::string_view> SplitFieldViews(std::string_view text,
                                                  std::vector<std::string_view>& room);
// Cuts a record key into its fields and stores them. Consecutive records of
// a claim differ only in the last field (the record type): a key that
// repeats the stored one before it has only the rest cut. False for a key of
// fewer than KeyFields::kCount fields.
bool StoreKey(KeyFields& keys, std::string_view key, std::vector<std::string_view>& room);
// The same on "//" for a text kept at offset `base` of a record's buffer:
// the fields as spans of that buffer, the first ones of `room`. The room
// keeps the size the longest text needed, so that the next texts need none.
std::span<const Span> SplitFields(std::string_view text, std::uint32_t base,
                                  std::vector<Span>& room);

std::int16_t ParseSubmitterRec(const RecordCtx& c, const std::string& rec, SubmitterRec& out);
std::int16_t ParseBProviderRec(const RecordCtx& c, const std::string& rec, BProviderRec& out);
std::int16_t ParseCalcPrefRec(const RecordCtx& c, const std::string& rec, CalcPrefRec& out);
std::int16_t ParseBreakPrefRec(const RecordCtx& c, const std::string& rec, BreakPrefRec& out);
std::int16_t ParsePatientRec(const RecordCtx& c, const std::string& rec, PatientRec& out);
std::int16_t ParseSubscriberRec(const RecordCtx& c, const std::string& rec, SubscriberRec& out);
std::int16_t ParseExtDataRec(const RecordCtx& c, const std::string& rec, ExtDataRec& out);
std::int16_t ParseChargeRec(const RecordCtx& c, const std::string& rec, ChargeRec& out);
std::int16_t ParseCCFormRec(const RecordCtx& c, const std::string& rec, ChargeGroup& group);
std::int16_t ParseAmbulanceRec(const RecordCtx& c, const std::string& rec, AmbulanceRec& out);
std::int16_t ParseChiropractorRec(const RecordCtx& c, const std::string& rec, ChiropractorRec& out);
std::int16_t ParseSProviderRec(const RecordCtx& c, const std::string& rec, SProviderRec& out);
std::int16_t ParseOProviderRec(const RecordCtx& c, const std::string& rec, OProviderRec& out);
std::int16_t ParseReferralRec(const RecordCtx& c, const std::string& rec, ReferralRec& out);
std::int16_t ParseOReferralRec(const RecordCtx& c, const std::string& rec, OReferralRec& out);
std::int16_t ParseFacilityRec(const RecordCtx& c, const std::string& rec, FacilityRec& out);
std::int16_t ParseOInsuranceRec(const RecordCtx& c, const std::string& rec, OInsuranceRec& out,
                                std::int16_t iSwitch = 0);

// Completes the this group's extended-data texts at the end of a charge.
std::int16_t Append26ExtData(const RecordCtx& c);
// The value of a key in an extended-data text, a view into it; empty when
// the key is absent.
std::string_view ExtDataValueIn(std::string_view sExtData, std::string_view sKey);
bool FindExtDataValue(std::string_view sExtData, std::string_view sKey, std::string& sValue);
// The value of a key in extended-data slot iSlot, 1-5: the group's second
// set first, then its first set, then the top records' slot.
bool GetExtDataValue(const ChargeGroup& group, const TopRecords& top, std::int16_t iSlot,
                     const std::string& sKey, std::string& sValue);

// The modifier rule: empty modifiers 1-4 take the words of sModifierList
// (at most three), in order.
void FillModifiersFromList(ChargeRec& charge);
// The first word of the modifier work array, the others moving up ("" when empty).
std::string PopModifierWord(ChargeRec& charge);
// A procedure description beginning "BP:" gives its rest to sBPText and is
// replaced by sProcedureDescAlt.
void SplitBPPrefix(ChargeRec& charge);

// Clearing routines of the charge-level records.
void ClearChargeRec(ChargeRec& r);
void ClearAmbulanceRec(AmbulanceRec& r);
void ClearChiropractorRec(ChiropractorRec& r);
void ClearSProviderRec(SProviderRec& r);
void ClearOProviderRec(OProviderRec& r);
void ClearReferralStruct(const RecordCtx& c, ReferralRec& r);
void ClearOReferralRec(OReferralRec& r);
void ClearFacilityRec(FacilityRec& r);
void ClearOInsuranceRec(OInsuranceRec& r);
void ClearExtDataRec(ExtDataRec& r);

// Moves a record of the this group to the last group: `to` becomes what
// `from` was, and `from` keeps only the members its clearing routine keeps.
void HandOverSProviderRec(SProviderRec& to, SProviderRec& from);
void HandOverOReferralRec(OReferralRec& to, OReferralRec& from);
void HandOverFacilityRec(FacilityRec& to, FacilityRec& from);
void HandOverOInsuranceRec(OInsuranceRec& to, OInsuranceRec& from);

void EmptyThisTop(const RecordCtx& c);
void EmptyLastTop(const RecordCtx& c);
void EmptyThisGroup(const RecordCtx& c);
// The last generation's group is given: it may belong to a service line.
void EmptyLastGroup(const RecordCtx& c, ChargeGroup& lastGroup);

}  // namespace wcomp837
