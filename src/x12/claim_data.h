// The claim being built as the writer reads it: the service line table, the
// diagnosis table, the claim totals record and the NeedNew flags. The claim
// routines fill them; the loop writers write from them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "records/record_state.h"
#include "wcomp837/currency.h"
#include "wcomp837/line_classes.h"

namespace wcomp837 {

// The values of one service line.
struct DetailLineValues {
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
  std::string sEPSDT;
  std::string sFamilyPlanning;
  InsInfoArray oInsInfo;
  std::array<std::string, 4> sNarrativeNDC{};  // positions 1 to 3; element 0 unused
  NDCInfoArray oNDCInfo;

  // Empties every value for the next claim; the texts keep their buffers.
  void Reset();
};

// One service line of the claim being built (DETAILArray entry).
struct DetailLine : DetailLineValues {
  // The charge group the line was made from, handed over to the line rather
  // than copied; none until the slot is first taken. Its records as the line
  // sees them: a companion record the group did not receive reads as empty.
  std::unique_ptr<ChargeGroup> Group;
  const ChargeGroup& G() const { return Group ? *Group : EmptyGroup(); }
  const ChargeRec& Charge() const { return G().Charge; }
  const OProviderRec& OProvider() const { return ReceivedOrEmpty(G().OProvider); }
  const AmbulanceRec& Ambulance() const { return ReceivedOrEmpty(G().Ambulance); }
  const ChiropractorRec& Chiropractor() const { return ReceivedOrEmpty(G().Chiropractor); }
  const FacilityRec& Facility() const { return ReceivedOrEmpty(G().Facility); }
  // The second-set extended data of slot k, 0-4 (records 6020 ... 6028).
  const ExtDataRec& ExtData(std::size_t k) const { return G().ExtData[k]; }
  // Other insurance n, 1 to 4.
  const OInsuranceRec& OIns(std::size_t n) const { return G().OIns[n]; }
  static const ChargeGroup& EmptyGroup() {
    static const ChargeGroup kEmpty;
    return kEmpty;
  }

  // Reset() empties the values; the group stays until the next group is
  // handed over to the line.
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
  // The line whose group is the last generation's group; 0 before any.
  std::size_t iLastGroupLine = 0;

  bool NeedNewPractice = false;
  bool NeedNewSubmitter = false;
  bool NeedNewProvider = false;
  bool NeedNewInsurance = false;
  bool NeedNewPatient = false;
  bool NeedNewSubscriber = false;
};

// Clears mClaim (and its insurance totals).
inline void ClearClaimRecord(ClaimState& cs) {
  cs.mClaim = ClaimRecord{};
}

// The last generation's charge group: the group of the service line it was
// handed over to (iLastGroupLine), or the one the records keep before there
// was a line. Both hold their groups through pointers.
inline ChargeGroup& LastGroupOf(const RecordState& records, const ClaimState& claim) {
  return claim.iLastGroupLine > 0 ? *claim.DETAILArray[claim.iLastGroupLine].Group
                                  : *records.lastGroup;
}

}  // namespace wcomp837
