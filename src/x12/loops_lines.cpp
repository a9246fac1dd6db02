// Loop 2400 (service line): LX, SV1, PWK, CR1, CR2, CRC, DTP, REF, AMT, NTE
// and PS1, followed by the line's loops 2410 and 2430.
#include <array>
#include <cstddef>

#include "platform/failure.h"
#include "records/numeric.h"
#include "records/parsers.h"
#include "records/text.h"
#include "state/messages.h"
#include "state/runlog.h"
#include "x12/line_loops.h"
#include "x12/loops.h"
#include "x12/segments.h"

namespace wcomp837 {
namespace {

// Members of the line's records that have no name of their own.
namespace member {
constexpr std::size_t kChiroConditionCode = 7;  // patient condition code (CR208)
constexpr std::size_t kChiroXRayOnFile = 8;     // "1": X-rays available
constexpr std::size_t kChiroNoteFirst = 9;      // note parts 9 to 12
constexpr std::size_t kChiroNoteLast = 12;
constexpr std::size_t kChiroDescription = 17;  // patient condition description
constexpr std::size_t kChargeLabSwitch = 76;   // "LAB" for laboratory services
constexpr std::size_t kChargeLastXRayDate = 94;
constexpr std::size_t kFacilityCertification = 14;  // laboratory certification
constexpr std::size_t kInsuranceCertification = 25;
}  // namespace member

// What every step of one line's loop 2400 reads.
struct LineView {
  const WriterCtx& c;
  std::int16_t iIndex;
  const DetailLine& line;
  // The last charge's billing insurance index as the host sent it.
  Text billingInsIndex;
  // A line carries one NTE at most: the guide allows a single note per line,
  // so the first of narrative, delivery and chiropractic note is sent.
  bool noteWritten = false;
};

using LineStep = std::int16_t (*)(LineView&);

std::int16_t Put(LineView& v, std::string_view id,
                 std::initializer_list<std::string_view> elements) {
  return PutSegment(v.c, id, elements);
}

// A dated segment "DTP*qualifier*D8*CCYYMMDD", written when the date is not empty.
std::int16_t PutDate(LineView& v, std::string_view qualifier, std::string_view date) {
  if (date.empty()) return 0;
  return Put(v, "DTP", {qualifier, "D8", DateToCCYYMMDD(date)});
}

std::int16_t PutRef(LineView& v, std::string_view qualifier, std::string_view value) {
  if (value.empty()) return 0;
  return Put(v, "REF", {qualifier, value});
}

std::int16_t PutNote(LineView& v, std::string_view text) {
  if (text.empty() || v.noteWritten) return 0;
  v.noteWritten = true;
  return Put(v, "NTE", {"ADD", text});
}

bool HasKey(const DetailLine& line, std::string_view key) {
  return line.sExtKeys.find(key) != std::string::npos;
}

// The ambulance condition codes; none without an ambulance record.
Components AmbulanceConditions(const DetailLine& line) {
  if (!Received(line.Ambulance())) return {};
  return AmbulanceConditionCodes(line.Ambulance());
}

std::int16_t StepLX(LineView& v) {
  return Put(v, "LX", {Digits(v.iIndex)});
}

std::int16_t StepSV1(LineView& v) {
  return Do_SV1_Record(v.c, v.iIndex);
}

std::int16_t StepPWK(LineView& v) {
  if (HasKey(v.line, "~DI01~")) return Put(v, "PWK", {"OZ", "BM"});
  if (HasKey(v.line, "~DI02~")) return Put(v, "PWK", {"OZ", "FX"});
  return 0;
}

std::int16_t StepCR1(LineView& v) {
  if (AmbulanceConditions(v.line).empty()) return 0;
  return WriteCountedSegment(v.c, AmbulanceTransportSegment(v.line.Ambulance()));
}

std::int16_t StepCR2(LineView& v) {
  const ChiropractorRec& chiro = v.line.Chiropractor();
  if (!Received(chiro)) return 0;
  const std::string_view description = chiro[member::kChiroDescription];
  const Text second = description.size() > 80 ? CutTrim(description.substr(80), 80) : Text{};
  return Put(
      v, "CR2",
      {"", "", "", "", "", "", "", chiro[member::kChiroConditionCode], "", CutTrim(description, 80),
       second, chiro[member::kChiroXRayOnFile] == "1" ? "Y" : "N"});
}

std::int16_t StepCRC(LineView& v) {
  const Components codes = AmbulanceConditions(v.line);
  if (codes.empty()) return 0;
  return WriteCountedSegment(v.c, AmbulanceCertificationSegment(codes));
}

// A range is sent only when both dates are present and differ.
std::int16_t StepServiceDate(LineView& v) {
  std::string from = DateToCCYYMMDD(v.line.sFromDate);
  std::string to = DateToCCYYMMDD(v.line.sToDate);
  if (!from.empty() && !to.empty() && from != to)
    return Put(v, "DTP", {"472", "RD8", from + "-" + to});
  return Put(v, "DTP", {"472", "D8", from.empty() ? to : from});
}

std::int16_t StepShippedDate(LineView& v) {
  return PutDate(v, "011", LineExtDataValue(v.line, 1, "10011"));
}

std::int16_t StepLastXRayDate(LineView& v) {
  const ChiropractorRec& chiro = v.line.Chiropractor();
  const Text fromChiro = chiro[Chiropractor::sLastXRayDate];
  return PutDate(v, "455",
                 Received(chiro) && !fromChiro.empty()
                     ? fromChiro
                     : v.line.Charge()[member::kChargeLastXRayDate]);
}

std::int16_t StepAcuteManifestationDate(LineView& v) {
  const ChiropractorRec& chiro = v.line.Chiropractor();
  if (!Received(chiro)) return 0;
  return PutDate(v, "453", chiro[Chiropractor::sAcuteManifestationDate]);
}

std::int16_t StepPriorAuthorization(LineView& v) {
  const ChargeRec& charge = v.line.Charge();
  return PutRef(v, "G1",
                v.billingInsIndex == "1" ? charge[Charge::sPrimaryApprovalNr]
                                         : charge[Charge::sSecondaryApprovalNr]);
}

std::int16_t StepLineControlNr(LineView& v) {
  return PutRef(v, "6R", TrimView(v.line.sLineControlNr));
}

std::int16_t StepLabCertification(LineView& v) {
  if (v.line.Charge()[member::kChargeLabSwitch] != "LAB") return 0;
  std::string certification =
      Received(v.line.Facility()) ? v.line.Facility()[member::kFacilityCertification] : "";
  if (certification.empty())
    certification = v.c.records.g_LastTop.Insurance[member::kInsuranceCertification];
  return PutRef(v, "X4", certification);
}

std::int16_t StepReferringLab(LineView& v) {
  if (NumericValue(v.line.Charge()[Charge::sTOSBillingCode]) != 5) return 0;
  return PutRef(v, "F4", LineExtDataValue(v.line, 2, "20004"));
}

std::int16_t StepApprovedAmount(LineView& v) {
  if (v.billingInsIndex == "1") return 0;
  return Put(v, "AMT", {"AAE", PlainDecimal(v.line.oInsInfo.GetInsInfo(1).curAmtAllowed)});
}

std::int16_t StepNarrativeNote(LineView& v) {
  if (v.line.sNarrative.empty()) return 0;
  const std::string_view narrative = v.line.sNarrative;
  if (!narrative.starts_with("19-")) return PutNote(v, CutTrim(narrative, 80));
  return PutNote(v, CutTrim(Strip19FromNarrative(v.c.host, narrative), 80));
}

std::int16_t StepDeliveryNote(LineView& v) {
  if (HasKey(v.line, "~DI01~")) return PutNote(v, "IN THE MAIL");
  if (HasKey(v.line, "~DI02~")) return PutNote(v, "FAXED");
  return 0;
}

std::int16_t StepChiropracticNote(LineView& v) {
  const ChiropractorRec& chiro = v.line.Chiropractor();
  if (!Received(chiro)) return 0;
  thread_local std::string note;
  note.clear();
  for (std::size_t m = member::kChiroNoteFirst; m <= member::kChiroNoteLast; ++m) {
    if (chiro[m].empty()) continue;
    note += chiro[m];
    if (m < member::kChiroNoteLast) note += ", ";
  }
  while (!note.empty() && (note.back() == ' ' || note.back() == ',')) note.pop_back();
  return PutNote(v, CutTrim(note, 80));
}

std::int16_t StepPurchasedService(LineView& v) {
  const OProviderRec& provider = v.line.OProvider();
  if (!Received(provider) || provider[OProvider::sProviderRole] != "PSP") return 0;
  return Put(v, "PS1", {provider[OProvider::sProviderNr], PlainDecimal(v.line.curCharge)});
}

std::int16_t StepDrugIdentification(LineView& v) {
  return WriteDrugIdentification(v.c, v.line);
}

std::int16_t StepLineAdjudications(LineView& v) {
  return WriteLineAdjudications(v.c, v.iIndex);
}

// The segments of one service line in the order they are written.
constexpr std::array<LineStep, 21> kLineSteps = {
    StepLX,
    StepSV1,
    StepPWK,
    StepCR1,
    StepCR2,
    StepCRC,
    StepServiceDate,
    StepShippedDate,
    StepLastXRayDate,
    StepAcuteManifestationDate,
    StepPriorAuthorization,
    StepLineControlNr,
    StepLabCertification,
    StepReferringLab,
    StepApprovedAmount,
    StepNarrativeNote,
    StepDeliveryNote,
    StepChiropracticNote,
    StepPurchasedService,
    StepDrugIdentification,
    StepLineAdjudications,
};

}  // namespace

Text LineExtDataValue(const DetailLine& line, std::size_t slot, std::string_view key) {
  return ExtDataValueIn(line.ExtData(slot - 1)[ExtData::sExtData], key);
}

DetailLine& DetailLineAt(const WriterCtx& c, std::int16_t iIndex) {
  std::vector<DetailLine>& lines = c.claim.DETAILArray;
  if (iIndex < 1 || static_cast<std::size_t>(iIndex) >= lines.size()) Raise(failure::kSubscript);
  return lines[static_cast<std::size_t>(iIndex)];
}

std::int16_t Write_Detail_Records(const WriterCtx& c, std::int16_t iIndex) {
  try {
    LogLine(c.host, {"Write_Detail_Records() iIndex = ", Digits(iIndex)});
    if (iIndex < 1 || iIndex > c.claim.iDetailCapacity) return 0;
    const DetailLine& line = DetailLineAt(c, iIndex);
    if (line.sUsed != "Y") return 0;
    ++c.env.miLinesWritten;
    LineView view{c, iIndex, line, c.g_LastGroup().Charge[Charge::sBillingInsIndex]};
    for (LineStep step : kLineSteps) {
      if (step(view) == 3) return 3;
    }
    return 0;
  } catch (...) {
    AddFailureMessage(c.host, " Write_Detail_Records() ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
