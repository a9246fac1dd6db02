// The service line table (DETAILArray) and the claim totals: each completed
// charge group becomes the next line of the claim being built.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include "claim/tables.h"
#include "platform/failure.h"
#include "records/numeric.h"
#include "records/parsers.h"
#include "records/text.h"
#include "state/messages.h"
#include "state/runlog.h"

namespace wcomp837 {
namespace {

constexpr std::int16_t kInitialDetailCapacity = 20;
constexpr std::int16_t kDetailGrowth = 5;
constexpr std::int16_t kInitialDiagCapacity = 8;
constexpr std::int16_t kDiagPointersPerCharge = 4;
constexpr std::size_t kControlNrLength = 17;

constexpr std::array<std::size_t, 5> kLineDiagFields = {Charge::sDiagnosis1, Charge::sDiagnosis2,
                                                        Charge::sDiagnosis3, Charge::sDiagnosis4,
                                                        Charge::sDiagnosis5};

std::int16_t DetailUpperBound(const ClaimState& cs) {
  return static_cast<std::int16_t>(cs.DETAILArray.empty() ? 0 : cs.DETAILArray.size() - 1);
}

DetailLine& LineAt(ClaimState& cs, std::int16_t idx) {
  if (idx < 1 || idx > DetailUpperBound(cs)) Raise(failure::kSubscript);
  return cs.DETAILArray[static_cast<std::size_t>(idx)];
}

// Writes a piece into its window: a longer piece keeps its first characters,
// a shorter one leaves the rest of the window as it was; small letters go in
// as capitals when upper.
void PutWindow(std::string& text, std::size_t start, std::size_t width, std::string_view piece,
               bool upper = false) {
  const std::size_t n = std::min({width, piece.size(), text.size() - std::min(start, text.size())});
  for (std::size_t i = 0; i < n; ++i) {
    const char ch = piece[i];
    text[start + i] = upper && ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
  }
}

template <std::size_t N>
void CopyIfReceived(Rec<N>& dst, const Rec<N>& src) {
  if (Received(src)) {
    dst = src;
  } else {
    dst = Rec<N>{};
  }
}

void AddLineToClaimTotals(Ctx& c, const DetailLine& line) {
  HostState& h = c.g.host;
  ClaimRecord& claim = c.g.claim.mClaim;
  // AddToMe merges the adjustment codes of every used position; the merge
  // logs its name each time.
  for (std::int16_t i = 1; i <= 4; ++i) {
    if (line.oInsInfo.GetInsInfo(i).bUsed) LogLine(h, "AddThePaymentAdjCodes()");
  }
  claim.oClaimInsInfo.AddToMe(line.oInsInfo);
  claim.curTotalCharges += line.curCharge;
  claim.curTotalPatientPaid += line.curPatientPaid;
  if (!c.g.g_LastGroup().Charge[Charge::sIndicatorKeys].empty())
    claim.sClaimExtKeys += line.sExtKeys;
}

}  // namespace

void InitializeClaimTables(Ctx& c) {
  ClaimState& cs = c.g.claim;
  cs.iDetailCapacity = kInitialDetailCapacity;
  cs.iDiagCapacity = kInitialDiagCapacity;
  cs.DiagPointersPerCharge = kDiagPointersPerCharge;
  EmptyDetailLines(cs.DETAILArray);
  cs.DETAILArray.reserve(static_cast<std::size_t>(kMaxLinesPerClaim) + 1);
  Redim_DETAILArray(c, false);
  ResetDiagnosisTable(c);
  ClearClaimRecord(c.g.claim);
}

void EmptyDetailLines(std::vector<DetailLine>& lines) noexcept {
  for (DetailLine& line : lines) {
    if (!line.sUsed.empty()) line.Reset();
    line.Group.reset();
  }
}

void ResetClaimTables(Ctx& c) {
  ResetDiagnosisTable(c);
  Redim_DETAILArray(c, false);
}

void Redim_DETAILArray(Ctx& c, bool bPreserve) {
  ClaimState& cs = c.g.claim;
  LogLine(c.g.host, "Redim_DETAILArray()");
  if (!bPreserve) {
    // Only lines that were ever taken hold anything: every other slot is
    // still empty, so emptying the taken ones empties the table. The slots
    // keep their text buffers and groups for the next claim.
    for (DetailLine& line : cs.DETAILArray) {
      if (!line.sUsed.empty()) line.Reset();
    }
  }
  cs.DETAILArray.resize(static_cast<std::size_t>(std::max<std::int16_t>(cs.iDetailCapacity, 0)) +
                        1);
}

std::int16_t GetNextDetailIndex(Ctx& c) {
  const ClaimState& cs = c.g.claim;
  const std::int16_t upper = DetailUpperBound(cs);
  std::int16_t idx = 1;
  while (idx <= upper && cs.DETAILArray[static_cast<std::size_t>(idx)].sUsed == "Y") ++idx;
  try {
    LogLine(c.g.host, {"GetNextDetailIndex  index = ", Signed(idx)});
  } catch (...) {
    AddFailureMessage(c.g.host, " GetNextDetailIndex() Error: ", std::current_exception());
  }
  return idx;
}

std::int16_t DealWithLastGroup(Ctx& c) {
  HostState& h = c.g.host;
  ClaimState& cs = c.g.claim;
  std::int16_t taken = 0;
  // A line that could not be completed is given back: it is never written
  // and the claim total never counts it. It is the last one taken, so the
  // used lines stay 1..n without a gap. The last group it took over goes
  // back to where the last group is kept.
  auto giveBack = [&c, &cs, &taken] {
    if (taken > 0) {
      DetailLine& line = cs.DETAILArray[static_cast<std::size_t>(taken)];
      if (cs.iLastGroupLine == static_cast<std::size_t>(taken)) {
        std::swap(line.Group, c.g.records.lastGroup);
        cs.iLastGroupLine = 0;
      }
      line.Reset();
    }
    return std::int16_t{3};
  };
  try {
    LogLine(h, "DealWithLastGroup()");
    std::int16_t iCount = 0;
    if (AddToDiagnosisArray(c, iCount) == 3) return 3;

    LogLine(h, "Do_Detail_Stuff:");
    const std::int16_t idx = GetNextDetailIndex(c);
    if (idx > cs.iDetailCapacity) {
      cs.iDetailCapacity = static_cast<std::int16_t>(cs.iDetailCapacity + kDetailGrowth);
      Redim_DETAILArray(c, true);
    }
    DetailLine& line = LineAt(cs, idx);
    line.sUsed = "Y";
    taken = idx;
    // The line takes the last group over; it stays the last group.
    if (cs.iLastGroupLine != static_cast<std::size_t>(idx)) {
      std::unique_ptr<ChargeGroup>& holder =
          cs.iLastGroupLine == 0 ? c.g.records.lastGroup : cs.DETAILArray[cs.iLastGroupLine].Group;
      std::swap(line.Group, holder);
      // A slot taken for the first time had no group to give in return.
      if (!holder) holder = std::make_unique<ChargeGroup>();
      cs.iLastGroupLine = static_cast<std::size_t>(idx);
    }

    c.o.dfLineCounter += 1;
    const ChargeRec& charge = c.g.g_LastGroup().Charge;
    LineKeySource key{c.g.records.g_LastTop.Practice[Practice::sPracticeCode], c.o.dfLineCounter,
                      NumericValue(charge[Charge::sLineKeyPart1]),
                      NumericValue(charge[Charge::sLineKeyPart2]),
                      c.g.records.g_LastTop.Insurance[Insurance::sInsuranceCode]};
    MakeLineControlNumber(key, line.sLineControlNr);

    LogLine(h, "Before FillDetailArrayElement");
    std::int16_t status = FillDetailArrayElement(c, line);
    LogLine(h, "After FillDetailArrayElement");
    if (status == 3) return giveBack();

    LogLine(h, "Calc_Insurances");
    LogLine(h, "Before FillDetailInsInfo");
    status = FillDetailInsInfo(c, line);
    LogLine(h, "After FillDetailInsInfo");
    if (status == 3) return giveBack();

    LogLine(h, "Add_To_Claim_Totals:");
    AddLineToClaimTotals(c, line);
    return 0;
  } catch (...) {
    AddFailureMessage(h, " DealWithLastGroup() Error: ", std::current_exception());
    return giveBack();
  }
}

std::int16_t FillDetailArrayElement(Ctx& c, DetailLine& line) {
  try {
    const ChargeGroup& g = c.g.g_LastGroup();
    const ChargeRec& ch = g.Charge;
    line.oInsInfo.Empty_Me();
    line.oNDCInfo.Empty_Me();

    line.sProcedureCode = ch[Charge::sProcedureCode];
    line.sModifier1 = ch[Charge::sModifier1];
    line.sModifier2 = ch[Charge::sModifier2];
    line.sModifier3 = ch[Charge::sModifier3];
    line.sModifier4 = ch[Charge::sModifier4];
    line.curCharge = Currency::FromText(ch[Charge::sChargeAmount]);
    line.curPatientPaid = Currency::FromText(ch[Charge::sAmtPatientPaid]);
    line.sngUnits = TextToSingle(ch[Charge::sUnits]);
    line.sPlaceOfService = ch[Charge::sPOSCode];
    line.sFromDate = ch[Charge::sFromDate];
    line.sStartTime = ch[Charge::sStartTime];
    line.sToDate = ch[Charge::sToDate];
    line.sEndTime = ch[Charge::sEndTime];
    for (std::size_t k = 0; k < kLineDiagFields.size(); ++k) {
      line.sDiagCode[k] = ch[kLineDiagFields[k]];
    }
    line.sExtKeys.assign("~").append(ch[Charge::sIndicatorKeys]).append("~");
    line.sNarrative = ch[Charge::sNarrative];

    for (std::size_t k = 0; k < kLineDiagFields.size(); ++k) {
      line.iDiagPointer[k] = GetIndexForDiagnosis(c, line.sDiagCode[k]);
    }

    auto flag = [&line](const char* marker) {
      return line.sExtKeys.find(marker) != std::string::npos ? "Y" : "N";
    };
    line.sEmergency = flag("~EM~");
    line.sEPSDT = flag("~EPSDT");
    line.sFamilyPlanning = flag("~FP~");

    line.sNarrativeNDC = {};
    if (line.sNarrative.find("NDC ") != std::string::npos) ExtractNDCFromNarrative(c, line);

    thread_local std::string ndc;
    if (GetExtDataValue(c.g.g_LastGroup(), c.g.records.g_LastTop, 2, "20010", ndc))
      line.oNDCInfo.Fill_Me(ndc);
    return 0;
  } catch (...) {
    AddFailureMessage(c.g.host, " FillDetailArrayElement() ", std::current_exception());
    return 3;
  }
}

bool NumberToBase(std::string& sText, double dfValue, std::int16_t iBase, std::int16_t iWidth) {
  static constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const auto width = static_cast<std::size_t>(std::clamp<std::int16_t>(iWidth, 1, 50));
  if (iBase < 2 || iBase > 36) {
    sText.assign(width, '0');
    return false;
  }
  // Digits from the last one back; a value beyond 32 bits fails in ToInt32,
  // so even base 2 needs no more than 33 of them.
  char buf[40];
  char* const end = buf + sizeof buf;
  char* first = end;
  if (dfValue >= 0 && dfValue <= std::numeric_limits<std::int32_t>::max() &&
      dfValue == std::trunc(dfValue)) {
    // A whole number in range, as counters and keys are: integer division
    // gives the same digits as the steps below, without their rounding.
    auto value = static_cast<std::uint32_t>(dfValue);
    const auto base = static_cast<std::uint32_t>(iBase);
    do {
      *--first = kDigits[value % base];
      value /= base;
    } while (value > 0);
  } else {
    double value = dfValue;
    do {
      const std::int32_t digit = ToInt32(value) % iBase;
      // A negative value has no digit of its own.
      if (digit < 0) Raise(failure::kInvalidCall);
      *--first = kDigits[digit];
      value = std::trunc(value / iBase);
    } while (value > 0);
  }
  const auto count = static_cast<std::size_t>(end - first);
  sText.assign(count < width ? width - count : 0, '0');
  sText.append(first, count);
  return true;
}

void MakeLineControlNumber(const LineKeySource& key, std::string& sText) {
  // Built in place: the line's text keeps its buffer from claim to claim.
  std::string& text = sText;
  text.assign(kControlNrLength, ' ');
  thread_local std::string piece;
  NumberToBase(piece, key.dfLineCounter, 36, 4);
  PutWindow(text, 0, 4, piece);
  NumberToBase(piece, key.dfKeyPart1, 36, 5);
  PutWindow(text, 4, 5, piece);
  NumberToBase(piece, key.dfKeyPart2, 36, 1);
  PutWindow(text, 9, 1, piece);
  const std::string_view practice = key.sPracticeCode;
  const std::string_view insurance = key.sInsuranceCode;
  PutWindow(text, 10, 2, practice.empty() ? "00" : practice, true);
  PutWindow(text, 12, 5, insurance.empty() ? "00000" : insurance, true);
}

}  // namespace wcomp837
