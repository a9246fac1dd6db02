// The claim's diagnosis table (gDiagArray): the codes of every line of the
// claim being built, at most iDiagCapacity of them; lines point at them by
// their 1-based position.
#include <algorithm>
#include <array>

#include "claim/tables.h"
#include "records/numeric.h"
#include "state/messages.h"
#include "state/runlog.h"

namespace wcomp837 {
namespace {

constexpr std::array<std::size_t, 5> kDiagFields = {Charge::sDiagnosis1, Charge::sDiagnosis2,
                                                    Charge::sDiagnosis3, Charge::sDiagnosis4,
                                                    Charge::sDiagnosis5};
constexpr std::array<std::size_t, 5> kDiagInfoFields = {
    Charge::sDiagnosisInfo1, Charge::sDiagnosisInfo2, Charge::sDiagnosisInfo3,
    Charge::sDiagnosisInfo4, Charge::sDiagnosisInfo5};

// Usable entries: the capacity, never more than the table holds.
std::int16_t DiagSlots(const ClaimState& cs) {
  auto held = static_cast<std::int64_t>(cs.gDiagArray.empty() ? 0 : cs.gDiagArray.size() - 1);
  return static_cast<std::int16_t>(std::min<std::int64_t>(cs.iDiagCapacity, held));
}

// 12 and 18 (older pointer counts) and anything below 1 mean the default.
void NormaliseCount(const ClaimState& cs, std::int16_t& iCount) {
  if (iCount == 12 || iCount == 18 || iCount < 1) iCount = cs.DiagPointersPerCharge;
}

}  // namespace

void ResetDiagnosisTable(Ctx& c) {
  ClaimState& cs = c.g.claim;
  if (cs.iDiagCapacity <= 0) cs.iDiagCapacity = 4;
  cs.gDiagArray.assign(static_cast<std::size_t>(cs.iDiagCapacity) + 1, DiagEntry{});
}

std::int16_t GetIndexForDiagnosis(Ctx& c, std::string_view sCode) {
  HostState& h = c.g.host;
  try {
    if (sCode.empty()) {
      if (LogDetailed(h)) LogLine(h, "GetIndexForDiagnosis()  index = 0  (strICD9 is blank)");
      return 0;
    }
    const ClaimState& cs = c.g.claim;
    const std::int16_t slots = DiagSlots(cs);
    for (std::int16_t i = 1; i <= slots; ++i) {
      if (cs.gDiagArray[static_cast<std::size_t>(i)].sCode == sCode) {
        if (LogDetailed(h)) {
          LogLine(h, {"GetIndexForDiagnosis() ", sCode, " index = ", Signed(i)});
        }
        return i;
      }
    }
    return 0;
  } catch (...) {
    AddFailureMessage(h, " GetIndexForDiagnosis() Error: ", std::current_exception());
    return 0;
  }
}

std::int16_t AddToDiagnosisArray(Ctx& c, std::int16_t& iCount) {
  HostState& h = c.g.host;
  try {
    ClaimState& cs = c.g.claim;
    NormaliseCount(cs, iCount);
    const std::int16_t slots = DiagSlots(cs);
    std::int16_t iNext = 1;
    while (iNext <= slots && !cs.gDiagArray[static_cast<std::size_t>(iNext)].sCode.empty()) ++iNext;
    if (LogDetailed(h)) {
      LogLine(h, {"AddToDiagnosisArray() iNext = ", Signed(iNext), " (1 based)"});
    }
    const ChargeRec& charge = c.g.g_LastGroup().Charge;
    const std::size_t codes = iCount > 4 ? 5 : 4;
    for (std::size_t k = 0; k < codes; ++k) {
      const Text code = charge[kDiagFields[k]];
      if (code.empty() || iNext > slots || GetIndexForDiagnosis(c, code) != 0) continue;
      DiagEntry& entry = cs.gDiagArray[static_cast<std::size_t>(iNext)];
      entry.sCode = code;
      entry.sCodeInfo = charge[kDiagInfoFields[k]];
      ++iNext;
    }
    return 0;
  } catch (...) {
    AddFailureMessage(h, " AddToDiagnosisArray() Error: ", std::current_exception());
    return 3;
  }
}

bool DoesDiagnosisCauseOverflow(Ctx& c, std::int16_t& iCount) {
  HostState& h = c.g.host;
  try {
    ClaimState& cs = c.g.claim;
    if (LogDetailed(h)) LogLine(h, "DoesDiagnosisCauseOverflow()");
    NormaliseCount(cs, iCount);
    const std::int16_t slots = DiagSlots(cs);
    std::int16_t iOpen = 0;
    for (std::int16_t i = 1; i <= slots; ++i) {
      if (cs.gDiagArray[static_cast<std::size_t>(i)].sCode.empty()) ++iOpen;
    }
    // A code repeated within the charge counts once per occurrence.
    const ChargeRec& charge = c.g.records.g_ThisGroup.Charge;
    const auto codes = static_cast<std::size_t>(std::clamp<int>(iCount, 0, 5));
    std::int16_t iNeed = 0;
    for (std::size_t k = 0; k < codes; ++k) {
      const Text code = charge[kDiagFields[k]];
      if (!code.empty() && GetIndexForDiagnosis(c, code) == 0) ++iNeed;
    }
    const bool overflow = iNeed > iOpen;
    if (LogDetailed(h)) {
      LogLine(h, {"  iNeed = ", Signed(iNeed), "  iOpen = ", Signed(iOpen)});
      LogLine(h, {"DoesDiagnosisCauseOverFlow = ", BoolWord(overflow)});
    }
    return overflow;
  } catch (...) {
    AddFailureMessage(h, " DoesDiagnosisCauseOverflow() Error: ", std::current_exception());
    return false;
  }
}

}  // namespace wcomp837
