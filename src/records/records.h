// The record structures: fixed rows of text members with named member
// indices (rec[Practice::sName]), held as record_text.h describes. Member N holds input field N
// unless the layout says otherwise; member 0 not empty marks a record as received.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "records/record_text.h"
#include "wcomp837/line_classes.h"

namespace wcomp837 {

namespace Practice {
inline constexpr std::size_t kMembers = 42;
enum : std::size_t {
  sRecordTag = 0,
  sPracticeCode = 1,
  sName = 2,
  sAddress1 = 3,
  sAddress2 = 4,
  sCity = 5,
  sState = 6,
  sZip = 7,
  sAreaCode = 8,
  sPhone = 9,
  sPhoneExt = 10,
  sTaxId = 13,
  sTaxonomyCode = 22,
  sNPI = 24,
  sCountry = 25,
  sCountry2 = 32,
  sNPICopy = 34,
  sOrigName = 35,
  sOrigAddress1 = 36,
  sOrigAddress2 = 37,
  sOrigCity = 38,
  sOrigState = 39,
  sOrigZip = 40,
  sOrigCountry = 41
};
}  // namespace Practice

namespace Submitter {
inline constexpr std::size_t kMembers = 35;
enum : std::size_t {
  sRecordTag = 0,
  sSubmitterId = 1,
  sName = 3,
  sContactName = 10,
  sAreaCode = 11,
  sPhone = 12,
  sReceiverId = 13,
  sSecurityInfo = 16,
  sAckRequested = 23,
  sReceiverName = 32,
  sGroupSenderCode = 33,
  sGroupReceiverCode = 34
};
}  // namespace Submitter

namespace BProvider {
inline constexpr std::size_t kMembers = 45;
enum : std::size_t {
  sRecordTag = 0,
  sProviderCode = 1,
  sFirstName = 2,
  sLastName = 3,
  sMiddleName = 4,
  sSuffix = 5,
  sSSN = 7,
  sGender = 8,
  sGenderDesc = 9,
  sAddress1 = 10,
  sAddress2 = 11,
  sCity = 12,
  sState = 13,
  sZip = 14,
  sAreaCode = 15,
  sPhone = 16,
  sPhoneExt = 17,
  sTaxId = 24,
  sNPI = 27,
  sTaxonomyCode = 34,
  sCountry = 35,
  sCountry2 = 42
};
}  // namespace BProvider

namespace Insurance {
inline constexpr std::size_t kMembers = 40;
enum : std::size_t {
  sRecordTag = 0,
  sInsuranceCode = 1,
  sPayerId = 2,
  sPayerName = 3,
  sAddress1 = 4,
  sAddress2 = 5,
  sCity = 6,
  sState = 7,
  sZip = 8,
  sPayerProviderId1 = 17,
  sPayerProviderId2 = 18,
  sInsuranceCategoryCd = 19,
  sCountry = 37
};
}  // namespace Insurance

namespace CalcPref {
inline constexpr std::size_t kMembers = 15;
enum : std::size_t {
  sRecordTag = 0,
  sBillingOption = 6,
  sBreakOnServicingProvider = 7,
  sFacilityOption = 13
};
}  // namespace CalcPref

namespace BreakPref {
inline constexpr std::size_t kMembers = 25;
enum : std::size_t {
  sRecordTag = 0,
  sBreakOnCaseId = 4,
  sBreakOnReferral = 5,
  sBreakOnFacility = 6,
  sBreakOnInsuranceAction = 7,
  sBreakOnApprovalNr = 8,
  sBreakOnTOS = 9,
  sBreakOnPOS = 10,
  sBreakOnEncounter = 11,
  sBreakOnProcedure = 12,
  sBreakOnModifier = 13,
  sBreakOnDiagnosis = 15,
  sBreakOnAdmissionDate = 17,
  sBreakOnDischargeDate = 18,
  sBreakOnSendOPReport = 19,
  sBreakOnAnesthesiaTimeUnit = 20,
  sBreakOnAnesthesiaType = 21,
  sBreakOnCapitatedService = 22,
  sBreakOnMonth = 23,
  sBreakOnEachCharge = 24
};
}  // namespace BreakPref

namespace Patient {
inline constexpr std::size_t kMembers = 54;
enum : std::size_t {
  sRecordTag = 0,
  sAccountNr = 1,
  sFirstName = 3,
  sLastName = 4,
  sMiddleName = 5,
  sSuffix = 6,
  sBirthDate = 8,
  sMemberId = 9,
  sGender = 10,
  sGenderDesc = 11,
  sAddress1 = 31,
  sAddress2 = 32,
  sCity = 33,
  sState = 34,
  sZip = 35,
  sCountry = 51,
  sCountry2 = 52
};
}  // namespace Patient

namespace Subscriber {
inline constexpr std::size_t kMembers = 67;
enum : std::size_t {
  sRecordTag = 0,
  sPolicyNrPart1 = 4,
  sPolicyNrPart2 = 5,
  sBenefitsAssignment = 10,
  sSignatureOnFile = 11,
  sIndicatorKeys = 13,
  sRelationship = 15,
  sFirstName = 18,
  sLastName = 19,
  sMiddleName = 20,
  sSuffix = 21,
  sBirthDate = 23,
  sGender = 25,
  sGenderDesc = 26,
  sAddress1 = 46,
  sAddress2 = 47,
  sCity = 48,
  sState = 49,
  sZip = 50,
  sCountry = 65,
  sCountry2 = 66
};
}  // namespace Subscriber

namespace ExtData {
inline constexpr std::size_t kMembers = 2;
enum : std::size_t { sRecordTag = 0, sExtData = 1 };
}  // namespace ExtData

namespace Charge {
inline constexpr std::size_t kMembers = 136;
enum : std::size_t {
  sRecordTag = 0,
  sLineKeyPart1 = 1,
  sLineKeyPart2 = 3,
  sProcedureCode = 6,
  sProcedureDesc = 7,
  sCaseId = 9,
  sModifier1 = 13,
  sModifier2 = 16,
  sModifier3 = 19,
  sTOSBillingCode = 22,
  sPOSCode = 25,
  sDiagnosis1 = 28,
  sDiagnosisInfo1 = 29,
  sDiagnosis2 = 31,
  sDiagnosisInfo2 = 32,
  sDiagnosis3 = 34,
  sDiagnosisInfo3 = 35,
  sDiagnosis4 = 37,
  sDiagnosisInfo4 = 38,
  sDiagnosis5 = 40,
  sDiagnosisInfo5 = 41,
  sUnits = 42,
  sChargeAmount = 43,
  sEncounter = 45,
  sAnesthesiaType = 46,
  sOnsetType = 48,
  sOnsetDate = 50,
  sAdmissionDate = 51,
  sDischargeDate = 52,
  sFromDate = 53,
  sStartTime = 54,
  sToDate = 55,
  sEndTime = 56,
  sAnesthesiaTimeUnit = 57,
  sSendOPReport = 58,
  sCapitatedService = 59,
  sPrimaryApprovalNr = 61,
  sSecondaryApprovalNr = 62,
  sCodePart1 = 63,
  sAmtAllowed = 64,
  sAmtPayerPaid = 65,
  sAmtPatientPaid = 67,
  sAmtPatWriteOff = 68,
  sInsuranceAction = 69,
  sBillingInsIndex = 70,
  sIndicatorKeys = 71,
  sNarrative = 72,
  sDisabilityFromDate = 77,
  sDisabilityToDate = 78,
  sLastWorkedDate = 79,
  sReturnToWorkDate = 80,
  sModifierList = 84,
  sFacilityCertSwitch = 87,
  asModifierWord1 = 88,
  asModifierWord2 = 89,
  asModifierWord3 = 90,
  sAmtDeductible = 103,
  sModifier4 = 119,
  sProcedureDescAlt = 129,
  sDropDescFromNarrative = 131,
  sCodePart2 = 132,
  sRecordTagPart3 = 134,
  sBPText = 135
};
}  // namespace Charge

// Servicing provider, other provider, referral and other referral share
// their first members.
namespace Person {
enum : std::size_t {
  sRecordTag = 0,
  sProviderCode = 1,
  sProviderNr = 2,
  sFirstName = 3,
  sLastName = 4,
  sMiddleName = 5,
  sSuffix = 6,
  sSSN = 8,
  sGender = 9,
  sGenderDesc = 10
};
}  // namespace Person

namespace SProvider {
using namespace Person;
inline constexpr std::size_t kMembers = 36;
enum : std::size_t { sTaxId = 25, sNPI = 34, sCountry = 35 };
}  // namespace SProvider

namespace OProvider {
using namespace Person;
inline constexpr std::size_t kMembers = 46;
enum : std::size_t {
  sProviderRole = 23,
  sTaxId = 31,
  sTaxonomyCode = 34,
  sTaxonomyCode2 = 40,
  sNPI = 41,
  sCountry = 45
};
}  // namespace OProvider

namespace Referral {
using namespace Person;
inline constexpr std::size_t kMembers = 44;
enum : std::size_t {
  sTaxId = 29,
  sTaxonomyCode = 32,
  sTaxonomyCode2 = 38,
  sNPI = 39,
  sEntityType = 40,
  sCountry = 43
};
}  // namespace Referral

namespace OReferral {
using namespace Person;
inline constexpr std::size_t kMembers = 46;
enum : std::size_t {
  sTaxId = 31,
  sTaxonomyCode = 34,
  sTaxonomyCode2 = 40,
  sNPI = 41,
  sCountry = 45
};
}  // namespace OReferral

namespace Facility {
inline constexpr std::size_t kMembers = 21;
enum : std::size_t {
  sRecordTag = 0,
  sFacilityCode = 1,
  sFacilityNr = 2,
  sName = 3,
  sAddress1 = 4,
  sAddress2 = 5,
  sCity = 6,
  sState = 7,
  sZip = 8,
  sCertificationNr = 15,
  sNPI = 18,
  sCountry = 19
};
}  // namespace Facility

namespace OInsurance {
inline constexpr std::size_t kMembers = 80;
enum : std::size_t {
  sRecordTag = 0,
  sInsuranceCode = 1,
  sPayerId = 2,
  sPayerName = 3,
  sMemberIdPart1 = 4,
  sMemberIdPart2 = 5,
  sGroupNr = 6,
  sBenefitsAssignment = 10,
  sSignatureOnFile = 11,
  sRelationship = 14,
  sFirstName = 17,
  sLastName = 18,
  sMiddleName = 19,
  sSuffix = 20,
  sAmtAllowed = 21,
  sAmtPayerPaid = 22,
  sAmtWriteOff = 23,
  sBirthDate = 24,
  sGender = 26,
  sAddress1 = 41,
  sAddress2 = 42,
  sCity = 43,
  sState = 44,
  sZip = 45,
  sInsuranceCategoryCd = 52,
  sCrossOver = 67,
  sMedigap = 72,
  sAmtDeductible = 73,
  sLastPaymentDate = 75,
  sPaymentAdjCodes = 76,
  sCountry = 77,
  sCountry2 = 78
};
}  // namespace OInsurance

namespace Ambulance {
inline constexpr std::size_t kMembers = 36;
enum : std::size_t {
  sRecordTag = 0,
  sPatientWeight = 1,
  sCondition01 = 2,
  sCondition09 = 10,
  sDistance = 14,
  sTransportCode = 15,
  sTransportReason = 16,
  sRoundTripPurpose = 19,
  sStretcherPurpose = 20,
  sCountry = 29,
  sCountry2 = 35
};
}  // namespace Ambulance

namespace Chiropractor {
inline constexpr std::size_t kMembers = 18;
enum : std::size_t {
  sRecordTag = 0,
  sInitialTreatmentDate = 1,
  sLastXRayDate = 2,
  sAcuteManifestationDate = 15
};
}  // namespace Chiropractor

using PracticeRec = Rec<Practice::kMembers>;
using SubmitterRec = Rec<Submitter::kMembers>;
using BProviderRec = Rec<BProvider::kMembers>;
using InsuranceRec = Rec<Insurance::kMembers>;
using CalcPrefRec = Rec<CalcPref::kMembers>;
using BreakPrefRec = Rec<BreakPref::kMembers>;
using PatientRec = Rec<Patient::kMembers>;
using SubscriberRec = Rec<Subscriber::kMembers>;
using ExtDataRec = Rec<ExtData::kMembers>;
using ChargeRec = Rec<Charge::kMembers>;
using SProviderRec = Rec<SProvider::kMembers>;
using OProviderRec = Rec<OProvider::kMembers>;
using ReferralRec = Rec<Referral::kMembers>;
using OReferralRec = Rec<OReferral::kMembers>;
using FacilityRec = Rec<Facility::kMembers>;
using OInsuranceRec = Rec<OInsurance::kMembers>;
using AmbulanceRec = Rec<Ambulance::kMembers>;
using ChiropractorRec = Rec<Chiropractor::kMembers>;

// One set of top records (g_ThisTop / g_LastTop).
struct TopRecords {
  PracticeRec Practice{};
  SubmitterRec Submitter{};
  BProviderRec BProvider{};
  InsuranceRec Insurance{};
  CalcPrefRec CalcPref{};
  BreakPrefRec BreakPref{};
  PatientRec Patient{};
  SubscriberRec Subscriber{};
  std::array<ExtDataRec, 5> ExtData{};  // slots 1-5 at 0-4: types 5010 ... 5018
};

// The shared empty list of custom-form answers: a group points to it until
// its first answer arrives, so that groups allocate no list of their own.
const std::shared_ptr<CCFormInfoArray>& NoCustomForms();

// One charge with its companion records (g_ThisGroup / g_LastGroup()).
struct ChargeGroup {
  ChargeRec Charge{};
  // Ten extended-data records: 0-4 the second set (6020 ... 6028),
  // 5-9 the first set (6010 ... 6018).
  std::array<ExtDataRec, 10> ExtData{};
  AmbulanceRec Ambulance{};
  ChiropractorRec Chiropractor{};
  SProviderRec SProvider{};
  OProviderRec OProvider{};
  ReferralRec Referral{};
  OReferralRec OReferral{};
  FacilityRec Facility{};
  std::array<OInsuranceRec, 5> OIns{};  // indexed 1 to 4; element 0 unused
  std::shared_ptr<CCFormInfoArray> CustomForms = NoCustomForms();

  // Second-set (6020 series) slot k, 1-5, and first-set (6010 series) slot k.
  ExtDataRec& SecondSet(int k) { return ExtData[static_cast<std::size_t>(k - 1)]; }
  ExtDataRec& FirstSet(int k) { return ExtData[static_cast<std::size_t>(k + 4)]; }
  const ExtDataRec& SecondSet(int k) const { return ExtData[static_cast<std::size_t>(k - 1)]; }
  const ExtDataRec& FirstSet(int k) const { return ExtData[static_cast<std::size_t>(k + 4)]; }
};

}  // namespace wcomp837
