// Loop 2300, claim information: the claim fields of mClaim, CLM, dates,
// paperwork, amounts, references, note, ambulance and condition segments and
// the diagnoses; then the claim provider loops.
#include "x12/loops_claim.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "records/numeric.h"
#include "records/parsers.h"
#include "state/messages.h"
#include "state/runlog.h"
#include "x12/code_tables.h"
#include "x12/loops.h"
#include "x12/segments.h"

namespace wcomp837 {
namespace {

constexpr std::size_t kClaimDiagnoses = 8;
constexpr std::size_t kNoteLength = 80;

struct CodePair {
  std::string_view from;
  std::string_view to;
};

// CLM11 related cause from the charge's onset type.
constexpr std::array<CodePair, 3> kRelatedCauses = {{{"MTR", "AA"}, {"ACC", "OA"}, {"EMP", "EM"}}};

// Vision condition: the first key found gives the code.
constexpr std::array<std::string_view, 3> kVisionCategories = {"E1", "E2", "E3"};
constexpr std::array<std::string_view, 5> kVisionConditions = {"L1", "L2", "L3", "L4", "L5"};

std::string Lookup(std::span<const CodePair> table, const std::string& code) {
  for (const auto& pair : table) {
    if (pair.from == code) return std::string(pair.to);
  }
  return {};
}

bool HasKey(const std::string& keys, std::string_view key) {
  return keys.find(key) != std::string::npos;
}

// The first code whose "~code~" key is in the keys, else empty.
template <std::size_t N>
std::string_view FirstKeyCode(const std::string& keys,
                              const std::array<std::string_view, N>& codes) {
  for (std::string_view code : codes) {
    if (HasKey(keys, "~" + std::string(code) + "~")) return code;
  }
  return {};
}

// CLM07 from the calculation preference and, for "0", the insurance action.
std::string AssignmentCode(const std::string& preference, const std::string& insuranceAction) {
  if (preference == "1") return "A";
  if (preference == "2" || preference == "3") return "C";
  if (preference == "0") {
    if (insuranceAction == "Y" || insuranceAction == "C") return "A";
    if (insuranceAction == "N" || insuranceAction == "H") return "C";
  }
  return {};
}

// Charges of the claim's lines that are purchased services.
Currency PurchasedServiceTotal(const WriterCtx& c) {
  Currency total;
  const auto& lines = c.claim.DETAILArray;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const DetailLine& line = lines[i];
    if (line.sUsed == "Y" && Received(line.OProvider()) &&
        line.OProvider()[OProvider::sProviderRole] == "PSP") {
      total += line.curCharge;
    }
  }
  return total;
}

void FillClaimFields(const WriterCtx& c) {
  const ChargeRec& charge = c.g_LastGroup().Charge;
  const TopRecords& top = c.records.g_LastTop;
  ClaimRecord& claim = c.claim.mClaim;
  claim.sClaimPlaceOfService = charge[Charge::sPOSCode];
  claim.sRelatedCause = Lookup(kRelatedCauses, charge[Charge::sOnsetType]);
  claim.sPriorAuthNr = charge[Charge::sBillingInsIndex] == "1"
                           ? charge[Charge::sPrimaryApprovalNr]
                           : charge[Charge::sSecondaryApprovalNr];
  claim.sAssignmentCode = AssignmentCode(top.CalcPref[1], charge[Charge::sInsuranceAction]);
  claim.sBenefitsAssignment = top.Subscriber[Subscriber::sBenefitsAssignment] == "1" ? "Y" : "N";
  const auto& diagnoses = c.claim.gDiagArray;
  for (std::size_t k = 1; k <= kClaimDiagnoses; ++k) {
    claim.sDiagCode[k] = k < diagnoses.size() ? SquashDot(diagnoses[k].sCode) : std::string();
  }
  claim.curPurchasedServiceTotal = PurchasedServiceTotal(c);
}

// CLM11: the related cause, for an auto accident with the accident state
// in the fourth component (a missing state leaves no empty components behind).
void AddRelatedCauses(const WriterCtx& c, SegmentText& clm) {
  const std::string& cause = c.claim.mClaim.sRelatedCause;
  std::string state = cause == "AA" ? ExtValue(c, 2, "20003") : std::string();
  if (cause == "AA" && state.empty()) state = c.records.g_LastTop.Practice[Practice::sState];
  if (state.empty()) {
    clm.Add(cause);
  } else {
    clm.AddComposite({cause, "", "", state});
  }
}

SegmentText ClaimSegment(const WriterCtx& c) {
  const ClaimRecord& claim = c.claim.mClaim;
  bool signatureOnFile = c.records.g_LastTop.Subscriber[Subscriber::sSignatureOnFile] == "1";
  SegmentText clm("CLM");
  clm.Add(c.records.g_LastTop.Patient[Patient::sAccountNr])
      .Add(PlainDecimal(claim.curTotalCharges))
      .Add("")
      .Add("")
      .AddComposite({claim.sClaimPlaceOfService, "", "1"})
      .Add("Y")
      .Add(claim.sAssignmentCode)
      .Add(claim.sBenefitsAssignment)
      .Add(signatureOnFile ? "Y" : "N")
      .Add(signatureOnFile ? "B" : "");
  AddRelatedCauses(c, clm);
  clm.Add(SpecialProgramCode(claim.sClaimExtKeys));
  return clm;
}

// PWK, the two AMT, the REF segments and NTE.
void PutPaperworkAmountsReferences(const WriterCtx& c, LoopWriter& out) {
  const ChargeRec& charge = c.g_LastGroup().Charge;
  const ClaimRecord& claim = c.claim.mClaim;
  const Text keys = charge[Charge::sIndicatorKeys];
  bool byMail = HasKey(keys, "~DI01~");
  bool byFax = HasKey(keys, "~DI02~");

  if (byMail || byFax) {
    SegmentText pwk("PWK");
    pwk.Add("OZ").Add(byMail ? "BM" : "FX");
    std::string control = ExtValue(c, 2, "20002");
    if (!control.empty()) pwk.Add("").Add("").Add("AC").Add(control);
    out.Put(pwk);
  }
  Currency patientPaid = Currency::FromText(charge[Charge::sAmtPatientPaid]);
  if (!patientPaid.IsZero()) out.Put(SegmentText("AMT").Add("F5").Add(PlainDecimal(patientPaid)));
  const OProviderRec& other = c.g_LastGroup().OProvider;
  if (Received(other) && other[OProvider::sProviderRole] == "PSP") {
    out.Put(SegmentText("AMT").Add("NE").Add(PlainDecimal(claim.curPurchasedServiceTotal)));
  }

  std::string exception = ServiceAuthExceptionCode(keys);
  if (!exception.empty()) out.Put(SegmentText("REF").Add("4N").Add(exception));
  const Text certification = c.g_LastGroup().Facility[Facility::sCertificationNr];
  if (!certification.empty() && charge[Charge::sFacilityCertSwitch].starts_with('Y')) {
    out.Put(SegmentText("REF").Add("EW").Add(certification));
  }
  if (!claim.sPriorAuthNr.empty()) out.Put(SegmentText("REF").Add("G1").Add(claim.sPriorAuthNr));
  std::string apg = ExtValue(c, 2, "20000");
  if (!apg.empty()) out.Put(SegmentText("REF").Add("1S").Add(apg));

  if (byMail || byFax) {
    out.Put(
        SegmentText("NTE").Add("ADD").Add(CutTrim(byMail ? "IN THE MAIL" : "FAXED", kNoteLength)));
  }
}

// CR1 and CRC of an ambulance transport, the vision and homebound CRC.
void PutConditions(const WriterCtx& c, LoopWriter& out) {
  const AmbulanceRec& ambulance = c.g_LastGroup().Ambulance;
  if (Received(ambulance)) {
    const Components codes = AmbulanceConditionCodes(ambulance);
    if (!codes.empty()) {
      out.Put(AmbulanceTransportSegment(ambulance));
      out.Put(AmbulanceCertificationSegment(codes));
    }
  }
  const Text keys = c.g_LastGroup().Charge[Charge::sIndicatorKeys];
  std::string_view category = FirstKeyCode(keys, kVisionCategories);
  std::string_view condition = FirstKeyCode(keys, kVisionConditions);
  if (!category.empty() && !condition.empty()) {
    out.Put(SegmentText("CRC").Add(category).Add("Y").Add(condition));
  }
  if (HasKey(keys, "~ILABHP~")) out.Put(SegmentText("CRC").Add("75").Add("Y").Add("IH"));
}

// HI: the principal diagnosis and the others that are not empty. Without a
// principal diagnosis there is no HI: "HI*BK:" (a qualifier without its
// code) would make payers reject the whole transaction set.
void PutDiagnoses(const WriterCtx& c, LoopWriter& out) {
  const auto& codes = c.claim.mClaim.sDiagCode;
  if (codes[1].empty()) return;
  SegmentText hi("HI");
  hi.AddComposite({"BK", codes[1]});
  for (std::size_t k = 2; k <= kClaimDiagnoses; ++k) {
    if (!codes[k].empty()) hi.AddComposite({"BF", codes[k]});
  }
  out.Put(hi);
}

}  // namespace

std::string SquashDot(const std::string& text) {
  std::string result = text;
  std::erase(result, '.');
  return result;
}

std::string ExtValue(const WriterCtx& c, std::int16_t slot, const std::string& key) {
  std::string value;
  if (!GetExtDataValue(c.g_LastGroup(), c.records.g_LastTop, slot, key, value)) value.clear();
  return value;
}

std::int16_t WriteClaimHeader(const WriterCtx& c) {
  try {
    LogLine(c.host, "@@ WriteClaimHeader()");
    FillClaimFields(c);
    LoopWriter out(c);
    out.Put(ClaimSegment(c));
    PutClaimDates(c, out);
    PutPaperworkAmountsReferences(c, out);
    PutConditions(c, out);
    PutDiagnoses(c, out);
    if (out.Failed()) return 3;
    return WriteClaimProviders(c);
  } catch (...) {
    AddFailureMessage(c.host, " WriteClaimHeader() Error: ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
