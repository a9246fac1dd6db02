#include "reports/summary_report.h"

#include <cmath>
#include <string_view>

#include "records/numeric.h"
#include "records/text.h"
#include "reports/nac_report.h"
#include "reports/print_routines.h"
#include "reports/report_text.h"

namespace wcomp837 {
namespace {

using Action = void (*)(const PrintCtx&, const SegmentElements&);

SummaryState& S(const PrintCtx& c) {
  return c.print.summary;
}

// Name of the insured: last name (and suffix), first name, middle name.
void TakeInsuredName(std::string& name, const SegmentElements& e) {
  name.assign(TrimView(ElementAt(e, 3)));
  if (!ElementAt(e, 7).empty()) name.append(" ").append(TrimView(ElementAt(e, 7)));
  const std::string_view middle = TrimView(ElementAt(e, 5));
  name.append(", ").append(TrimView(ElementAt(e, 4))).append(" ").append(middle);
  if (middle.size() == 1) name += ".";
}

// The claim diagnosis a pointer designates; "" for a pointer outside 1-10.
std::string_view DiagnosisFor(const SummaryState& s, std::string_view pointers) {
  double pointer = NumericValue(ComponentAt(pointers, 0));
  double index = std::nearbyint(pointer);
  if (!(index >= 1 && index < static_cast<double>(s.sDiagnoses.size()))) return {};
  return s.sDiagnoses[static_cast<std::size_t>(index)];
}

// Procedure and modifiers from a composite like "HC:99213:25:59".
void TakeProcedure(SummaryState& s, std::string_view composite) {
  s.sProcedure = ComponentAt(composite, 1);
  s.sModifier1 = ComponentAt(composite, 2);
  s.sModifier2 = ComponentAt(composite, 3);
}

void OnISA(const PrintCtx& c, const SegmentElements& e) {
  Write_Submitter(c, e);
}

void OnST(const PrintCtx& c, const SegmentElements&) {
  S(c).ClearBatchTotals();
  S(c).bBatchHeaderDue = true;
}

void OnNM1(const PrintCtx& c, const SegmentElements& e) {
  SummaryState& s = S(c);
  const std::string_view qualifier = ElementAt(e, 1);
  if (qualifier == "85") {
    s.bProviderIsPerson = ElementAt(e, 2) == "1";
    s.sProviderName = ElementAt(e, 3);
    s.sProviderFirstName = ElementAt(e, 4);
    s.sProviderID = ElementAt(e, 9);
    s.bRefMaySupplyProviderID = ElementAt(e, 8) != "XX";
  } else if (qualifier == "IL") {
    if (s.bSubscriberLevel) TakeInsuredName(s.sClaimName, e);
  } else if (qualifier == "QC") {
    s.sClaimName = TrimView(ElementAt(e, 3));
    s.sPolicyNr = ElementAt(e, 9);
  } else if (qualifier == "DN") {
    s.sReferringProvider.assign(ElementAt(e, 3)).append(", ").append(ElementAt(e, 4));
  } else if (qualifier == "82") {
    s.bRenderingSeen = true;
    s.sRenderingLastName = ElementAt(e, 3);
    s.sRenderingFirstName = ElementAt(e, 4);
    s.sRenderingID = ElementAt(e, 9);
  }
}

void OnREF(const PrintCtx& c, const SegmentElements& e) {
  SummaryState& s = S(c);
  if (!s.bRefMaySupplyProviderID) return;
  if (s.sProviderID.empty()) s.sProviderID = ElementAt(e, 2);
  s.bRefMaySupplyProviderID = false;
}

void OnHL(const PrintCtx& c, const SegmentElements& e) {
  S(c).bRefMaySupplyProviderID = false;
  S(c).bSubscriberLevel = ElementAt(e, 3) == "22";
}

void OnSBR(const PrintCtx& c, const SegmentElements& e) {
  SummaryState& s = S(c);
  if (!s.bSubscriberLevel) return;
  s.sPayerResponsibility = ElementAt(e, 1);
  s.sPolicyNr = ElementAt(e, 3);
}

void OnCLM(const PrintCtx& c, const SegmentElements& e) {
  SummaryState& s = S(c);
  s.bSubscriberLevel = false;
  s.sReferringProvider.clear();
  s.bClaimColumnsDue = true;
  ++s.lBatchClaims;
  s.sAccountNr = ElementAt(e, 1);
  s.sClaimPlaceOfService = ComponentAt(ElementAt(e, 5), 0);
}

void OnHI(const PrintCtx& c, const SegmentElements& e) {
  SummaryState& s = S(c);
  for (std::size_t i = 1; i < s.sDiagnoses.size(); ++i) {
    s.sDiagnoses[i] = MidView(ElementAt(e, i), 4);
  }
}

void OnSV1(const PrintCtx& c, const SegmentElements& e) {
  SummaryState& s = S(c);
  s.ClearRenderingProvider();
  TakeProcedure(s, ElementAt(e, 1));
  s.curCharge = Currency::FromText(std::string(ElementAt(e, 2)));
  s.sngUnits = TextToSingle(ElementAt(e, 4));
  s.sPlaceOfService = ElementAt(e, 5).empty() ? s.sClaimPlaceOfService : ElementAt(e, 5);
  s.sDiagnosis = DiagnosisFor(s, ElementAt(e, 7));
}

void OnSV6(const PrintCtx& c, const SegmentElements& e) {
  SummaryState& s = S(c);
  s.ClearRenderingProvider();
  TakeProcedure(s, ElementAt(e, 1));
  s.sPlaceOfService = ElementAt(e, 3);
  s.curCharge = Currency::FromText(std::string(ElementAt(e, 4)));
  s.sDiagnosis = DiagnosisFor(s, ElementAt(e, 5));
  s.sngUnits = TextToSingle(ElementAt(e, 6));
}

void OnDTP(const PrintCtx& c, const SegmentElements& e) {
  if (ElementAt(e, 1) != "472") return;
  SummaryState& s = S(c);
  const std::string_view dates = ElementAt(e, 3);
  AssignMMDDCCYY(s.sFromDate, MidView(dates, 1, 8));
  AssignMMDDCCYY(s.sToDate, MidView(dates, 10, 8));
  s.bLinePending = true;
  Write_Detail(c);
}

void OnSE(const PrintCtx& c, const SegmentElements& e) {
  S(c).sBatchControlNr = ElementAt(e, 2);
  Write_Batch_Totals(c);
}

void OnIEA(const PrintCtx& c, const SegmentElements&) {
  Write_File_Totals(c);
}

struct SegmentAction {
  std::string_view id;
  Action action;
};

constexpr SegmentAction kSegmentActions[] = {
    {"ISA", OnISA}, {"ST", OnST},   {"NM1", OnNM1}, {"REF", OnREF}, {"HL", OnHL},
    {"SBR", OnSBR}, {"CLM", OnCLM}, {"HI", OnHI},   {"SV1", OnSV1}, {"SV6", OnSV6},
    {"DTP", OnDTP}, {"SE", OnSE},   {"IEA", OnIEA},
};

}  // namespace

void ActOnSegment(const PrintCtx& c, const SegmentElements& elements) {
  if (elements.empty()) return;
  for (const auto& a : kSegmentActions) {
    if (elements[0] == a.id) {
      a.action(c, elements);
      return;
    }
  }
}

std::int16_t Summary_Report_It(const PrintCtx& c, const std::string&, const std::string& title) {
  const std::string file = c.host.gsASCIIFile;
  try {
    StartPrintJob(c, file + "_Summary.pdf", title);
    PrintJob& p = Printer(c);
    InitializePrinter(c, p);
    p.SetOrientation(Orientation::kLandscape);
    p.SetFont("Courier New", 8);
    p.SetBold(false);
    c.print.giPageNumber = 0;
    c.print.giLineWidth = kSummaryLineWidth;
    c.print.summary = SummaryState{};
    c.print.sReportTitle = title;
    ResetPrintLine(c);

    if (GetBinaryRecLen(c, file, 5) < 0) {
      AbandonPrintJob(c);
      return 3;
    }
    ByteReader reader(file);
    std::string segment;
    SegmentElements elements;
    while (reader.position() < reader.length()) {
      if (ReadNextANSIRecord(c, reader, segment) != 0) break;
      if (ParseANSIRecord(c, segment, elements) != 0) continue;
      ActOnSegment(c, elements);
    }
    EndPrintJob(c);
    return 0;
  } catch (...) {
    AbandonPrintJob(c);
    AddFileFailure(c.host, "Summary_Report_It()", file, std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
