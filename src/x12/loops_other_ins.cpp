// Loops 2320 (other subscriber information), 2330A (other subscriber name)
// and 2330B (other payer), and the CAS segments of an adjustment text.
#include <cstddef>
#include <optional>

#include "records/numeric.h"
#include "records/text.h"
#include "state/messages.h"
#include "state/runlog.h"
#include "x12/code_tables.h"
#include "x12/line_loops.h"
#include "x12/loops.h"
#include "x12/segment_builder.h"
#include "x12/segments.h"

namespace wcomp837 {
namespace {

// Adjustments one CAS segment can hold (reason, amount, quantity triples).
constexpr std::size_t kAdjustmentsPerCas = 6;

// An adjustment amount in the "#.##" style; a zero amount is sent as "0"
// because CAS requires the amount wherever a reason is given.
std::string CasAmount(std::string_view field) {
  std::string amount = FormatAmount(Currency::FromText(std::string(field)), 1);
  return amount.empty() ? "0" : amount;
}

std::string PayerSequenceCode(std::int16_t n) {
  static constexpr const char* kCodes[] = {"P", "S", "T", "T"};
  return kCodes[n - 1];
}

// Loops 2320, 2330A and 2330B of other insurance n.
std::int16_t WriteOneOtherInsurance(const WriterCtx& c, std::int16_t n, const OInsuranceRec& oi,
                                    const InsInfo& info) {
  namespace O = OInsurance;
  HostState& h = c.host;
  const bool priorPayer = BillingInsuranceIndex(c) > n;
  LogLine(h, "@@ Writing Insurances  LOOP 2320 ");
  LogLine(h, "We_Want_This_Insurance");

  LoopWriter w(c);
  w.Put(SegmentOf("SBR", {PayerSequenceCode(n), RelationshipToX12(oi[O::sRelationship]),
                          oi[O::sGroupNr], "", OtherInsuranceTypeCode(c, n), "", "", "",
                          ClaimFilingIndicator(oi[O::sInsuranceCategoryCd])}));
  if (w.Failed() || DumpThePaymentAdjCodes(c, info.sPaymentAdjCodes) == 3) return 3;
  if (priorPayer) w.Put(SegmentOf("AMT", {"D", PlainDecimal(info.curAmtPayerPaid)}));
  if (n == 1) w.Put(SegmentOf("AMT", {"B6", PlainDecimal(info.curAmtAllowed)}));
  const Text birth = oi[O::sBirthDate];
  w.Put(
      SegmentOf("DMG", {"D8", birth.empty() ? "00000000" : DateToCCYYMMDD(birth), oi[O::sGender]}));
  const bool signatureOnFile = oi[O::sSignatureOnFile] == "1";
  w.Put(SegmentOf("OI", {"", "", oi[O::sBenefitsAssignment] == "1" ? "Y" : "N",
                         signatureOnFile ? "B" : "", "", signatureOnFile ? "Y" : "N"}));

  // Loop 2330A: the insured.
  w.Put(NameSegment("IL", "1",
                    {oi[O::sLastName], oi[O::sFirstName], oi[O::sMiddleName], oi[O::sSuffix]},
                    {"MI", oi[O::sMemberIdPart1] + oi[O::sMemberIdPart2]}));
  w.Put(AddressSegment(oi[O::sAddress1], oi[O::sAddress2]));
  w.Put(CityStateZipSegment(oi[O::sCity], oi[O::sState], oi[O::sZip], true));

  // Loop 2330B: the other payer.
  const Text payerId = oi[O::sPayerId];
  w.Put(NameSegment("PR", "2", {oi[O::sPayerName], "", "", ""},
                    {"PI", payerId.empty() ? "00000" : payerId}));
  std::string paidDate = oi[O::sLastPaymentDate];
  if (paidDate.empty() && priorPayer) paidDate = c.g_LastGroup().Charge[Charge::sToDate];
  if (!paidDate.empty()) w.Put(SegmentOf("DTP", {"573", "D8", DateToCCYYMMDD(paidDate)}));
  return w.Status();
}

}  // namespace

SegmentText SegmentOf(std::string_view id, std::initializer_list<std::string_view> elements) {
  SegmentText segment(id);
  for (std::string_view element : elements) segment.Add(element);
  return segment;
}

std::int16_t PutSegment(const WriterCtx& c, std::string_view id,
                        std::initializer_list<std::string_view> elements) {
  return WriteCountedSegment(c, SegmentOf(id, elements));
}

double BillingInsuranceIndex(const WriterCtx& c) {
  return NumericValue(c.g_LastGroup().Charge[Charge::sBillingInsIndex]);
}

std::int16_t DumpThePaymentAdjCodes(const WriterCtx& c, const std::string& codes) {
  try {
    LogLine(c.host, "DumpThePaymentAdjCodes()");
    thread_local std::vector<std::string_view> fields;
    SplitAt(codes, '|', fields);
    // Only complete group|reason|amount|units runs are adjustments: an
    // incomplete last one is ignored, as the claim-level merge ignores it.
    const std::size_t complete = fields.size() - fields.size() % 4;
    std::optional<SegmentText> cas;
    std::size_t adjustments = 0;
    for (std::size_t i = 0; i < complete; i += 4) {
      const std::string_view group = fields[i];
      if (!cas || group != fields[i - 4] || adjustments == kAdjustmentsPerCas) {
        if (cas && WriteCountedSegment(c, *cas) == 3) return 3;
        cas.emplace("CAS");
        cas->Add(group);
        adjustments = 0;
      }
      cas->Add(fields[i + 1]).Add(CasAmount(fields[i + 2])).Add(fields[i + 3]);
      ++adjustments;
    }
    return cas ? WriteCountedSegment(c, *cas) : 0;
  } catch (...) {
    AddFailureMessage(c.host, " DumpThePaymentAdjCodes() ", std::current_exception());
    return 3;
  }
}

std::int16_t WriteOtherInsurances(const WriterCtx& c) {
  try {
    for (std::int16_t n = 1; n <= 4; ++n) {
      const OInsuranceRec& oi = c.g_LastGroup().OIns[static_cast<std::size_t>(n)];
      const InsInfo& info = c.claim.mClaim.oClaimInsInfo.GetInsInfo(n);
      if (!Received(oi) || !info.bUsed) continue;
      if (WriteOneOtherInsurance(c, n, oi, info) == 3) return 3;
    }
    return 0;
  } catch (...) {
    AddFailureMessage(c.host, " WriteOtherInsurances() ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
