// Loop 2430 (line adjudication): SVD, CAS and DTP*573 for every prior payer
// of a line; a prior payer without adjustment codes is listed in _NAC.Dat.
#include <cstddef>

#include "records/numeric.h"
#include "reports/nac_file.h"
#include "state/runlog.h"
#include "x12/line_loops.h"
#include "x12/loops.h"
#include "x12/segments.h"

namespace wcomp837 {
namespace {

std::int16_t WriteOneAdjudication(const WriterCtx& c, std::int16_t iIndex, const DetailLine& line,
                                  std::int16_t i) {
  const OInsuranceRec& payer = line.OIns(static_cast<std::size_t>(i));
  const InsInfo& info = line.oInsInfo.GetInsInfo(i);
  const Text payerId = payer[OInsurance::sPayerId];
  Components procedure;
  if (AppendProcedureAndModifiers(c, iIndex, procedure) == 3) return 3;
  SegmentText svd("SVD");
  svd.Add(payerId.empty() ? "00000" : payerId)
      .Add(PlainDecimal(info.curAmtPayerPaid))
      .AddComposite(procedure)
      .Add("")
      .Add(PlainDecimal(line.sngUnits));
  if (WriteCountedSegment(c, svd) == 3) return 3;
  if (!info.sPaymentAdjCodes.empty()) {
    if (DumpThePaymentAdjCodes(c, info.sPaymentAdjCodes) == 3) return 3;
  } else {
    // A failure to store the record is reported by WriteNACRecord; the
    // claim itself is still written.
    WriteNACRecord(c.host, FormatNACRecord(c.records.g_LastTop.Patient, line.Charge(),
                                           c.g_LastGroup().OIns[static_cast<std::size_t>(i)]));
  }
  std::string date = payer[OInsurance::sLastPaymentDate];
  if (date.empty()) date = line.sToDate;
  if (!date.empty() && PutSegment(c, "DTP", {"573", "D8", DateToCCYYMMDD(date)}) == 3) {
    return 3;
  }
  LogLine(c.host, "19-17");
  return 0;
}

}  // namespace

std::int16_t WriteLineAdjudications(const WriterCtx& c, std::int16_t iIndex) {
  LogLine(c.host, "18");
  const DetailLine& line = DetailLineAt(c, iIndex);
  const double billingIndex = BillingInsuranceIndex(c);
  for (std::int16_t i = 1; i <= 4; ++i) {
    if (!Received(c.g_LastGroup().OIns[static_cast<std::size_t>(i)]) || !(i < billingIndex)) {
      continue;
    }
    if (WriteOneAdjudication(c, iIndex, line, i) == 3) return 3;
  }
  LogLine(c.host, "19-18");
  return 0;
}

}  // namespace wcomp837
