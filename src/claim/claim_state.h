// Claim assembly state: the service line table, the diagnosis table, the
// claim totals record and the NeedNew flags.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "records/records.h"
#include "wcomp837/currency.h"
#include "wcomp837/line_classes.h"

namespace wcomp837 {

// One service line of the claim being built (DETAILArray entry).
struct DetailLine {
  std::string sUsed;
  std::string sProcedureCode;
  std::string sModifier1;
  std::string sModifier2;
  std::string sModifier3;
  std::string sModifier4;
  Currency curCharge;
  Currency curPatientPaid;
  float sngUnits = 0.0f;
  std::string sPlaceOfService;
  std::string sFromDate;
  std::string sStartTime;
  std::string sToDate;
  std::string sEndTime;
  std::string sLineControlNr;
  std::array<std::string, 5> sDiagCode{};      // sDiagCode1 .. sDiagCode5 at 0-4
  std::array<std::int16_t, 5> iDiagPointer{};  // iDiagPointer1 .. iDiagPointer5 at 0-4
  std::string sExtKeys;
  std::string sNarrative;
  std::string sEmergency;
  OProviderRec OProvider{};
  AmbulanceRec Ambulance{};
  ChiropractorRec Chiropractor{};
  ChargeRec Charge{};
  std::array<ExtDataRec, 5> ExtData{};  // ExtData(1..5) at 0-4: 6020 ... 6028
  FacilityRec Facility{};
  std::array<OInsuranceRec, 5> OIns{};  // 1 to 4; element 0 unused
  std::string sEPSDT;
  std::string sFamilyPlanning;
  InsInfoArray oInsInfo;
  std::array<std::string, 4> sNarrativeNDC{};  // positions 1 to 3; element 0 unused
  NDCInfoArray oNDCInfo;
};

struct DiagEntry {
  std::string sCode;
  std::string sCodeInfo;
};

// mClaim: the totals of the claim being built.
struct ClaimRecord {
  Currency curTotalCharges;
  Currency curTotalPatientPaid;
  Currency curPurchasedServiceTotal;
  std::string sClaimPlaceOfService;
  std::string sClaimExtKeys;
  std::string sRelatedCause;
  std::string sPriorAuthNr;
  std::string sAssignmentCode;
  std::string sBenefitsAssignment;
  std::array<std::string, 9> sDiagCode{};  // 1 to 8; element 0 unused
  InsInfoArray oClaimInsInfo;
};

struct ClaimState {
  // DETAILArray: 1-based; element 0 unused. Its size is iDetailCapacity + 1.
  std::vector<DetailLine> DETAILArray;
  std::int16_t iDetailCapacity = 20;
  // gDiagArray: 1-based; element 0 unused.
  std::vector<DiagEntry> gDiagArray;
  std::int16_t iDiagCapacity = 8;
  std::int16_t DiagPointersPerCharge = 4;
  ClaimRecord mClaim;
  std::int32_t iDetailCursor = 0;  // service line cursor reset by WriteClaim

  bool NeedNewPractice = false;
  bool NeedNewSubmitter = false;
  bool NeedNewProvider = false;
  bool NeedNewInsurance = false;
  bool NeedNewPatient = false;
  bool NeedNewSubscriber = false;
};

}  // namespace wcomp837
