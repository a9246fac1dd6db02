// Printing state of the current report.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/printing.h"
#include "state/host_state.h"
#include "wcomp837/currency.h"

namespace wcomp837 {

// What the summary report has read from the claim file so far.
struct SummaryState {
  std::string gsSubmitterID;
  std::string gsSubmissionNr;
  bool gbTestFile = false;
  std::string gsCreatedDate;

  // Billing provider of the open transaction set.
  std::string sProviderID;
  std::string sProviderName;
  std::string sProviderFirstName;
  bool bProviderIsPerson = false;
  bool bRefMaySupplyProviderID = false;

  // Claim columns.
  std::string sAccountNr;
  std::string sClaimName;
  std::string sPolicyNr;
  std::string sPayerResponsibility;
  std::string sReferringProvider;
  std::string sClaimPlaceOfService;
  std::array<std::string, 11> sDiagnoses{};  // 1-based, 10 entries
  bool bSubscriberLevel = false;

  // The service line being read.
  std::string sProcedure;
  std::string sModifier1;
  std::string sModifier2;
  Currency curCharge;
  float sngUnits = 0.0f;
  std::string sPlaceOfService;
  std::string sDiagnosis;
  std::string sFromDate;  // MMDDCCYY
  std::string sToDate;    // MMDDCCYY
  bool bRenderingSeen = false;
  std::string sRenderingLastName;
  std::string sRenderingFirstName;
  std::string sRenderingID;

  // Flags.
  bool bBatchHeaderDue = false;
  bool bClaimColumnsDue = true;
  bool bLinePending = false;

  // Batch (transaction set) and file totals; wide so that large files
  // cannot overflow them.
  std::int64_t lBatchClaims = 0;
  std::int64_t lBatchLines = 0;
  Currency curBatchAmount;
  std::string sBatchControlNr;
  std::int64_t lFileClaims = 0;
  std::int64_t lFileLines = 0;
  std::int64_t lFileBatches = 0;
  Currency curFileAmount;

  void ClearBatchTotals() {
    lBatchClaims = 0;
    lBatchLines = 0;
    curBatchAmount = Currency();
    sBatchControlNr.clear();
  }
  void ClearRenderingProvider() {
    bRenderingSeen = false;
    sRenderingLastName.clear();
    sRenderingFirstName.clear();
    sRenderingID.clear();
  }
  void ClearLineFields() {
    sProcedure.clear();
    sModifier1.clear();
    sModifier2.clear();
    curCharge = Currency();
    sngUnits = 0.0f;
    sPlaceOfService.clear();
    sDiagnosis.clear();
    sFromDate.clear();
    sToDate.clear();
    ClearRenderingProvider();
  }
};

struct PrintState {
  std::int16_t giLineWidth = 135;
  std::string gsPrintLine;
  std::string sRepeatedLine;  // the buffer PrintRepeated builds its line in
  std::int64_t giPageNumber = 0;
  std::string selected_printer;  // chosen by message 7; empty = the default
  std::string sReportTitle;      // title of the report being printed

  // The print job of the report being printed (null between reports).
  std::unique_ptr<PrintJob> printer;
  bool bPrinterInitialized = false;
  double dOffsetXInches = 0.0;
  double dOffsetYInches = 0.0;
  int iLastQueueJob = 0;  // job number the print queue gave the last report

  SummaryState summary;
};

// What the report routines work on.
struct PrintCtx {
  HostState& host;
  PrintState& print;
};

}  // namespace wcomp837
