// The printed lines of the summary report: headings, provider header,
// service lines and totals.
#include <string_view>

#include "platform/clock.h"
#include "records/numeric.h"
#include "records/text.h"
#include "reports/print_routines.h"
#include "reports/report_text.h"
#include "reports/summary_report.h"

namespace wcomp837 {
namespace {

constexpr std::size_t kWidth = kSummaryLineWidth;

// Column titles and their columns.
struct ColumnTitle {
  std::int64_t col;
  std::string_view text;
};
constexpr ColumnTitle kColumnTitles[] = {
    {1, "ACCOUNT NUMBER"}, {17, "NAME"},       {42, "POLICY#"},           {59, "SERVICE DATES"},
    {73, "PROC#"},         {81, "MODS"},       {87, "POS    DIAG UNITS"}, {107, "CHARGE"},
    {115, "AS"},           {120, "Referring"},
};

// Columns of a service line.
constexpr std::int64_t kColAccount = 1;
constexpr std::int64_t kColName = 16;
constexpr std::size_t kNameLength = 25;
constexpr std::int64_t kColPolicy = 42;
constexpr std::int64_t kColPayerResponsibility = 116;
constexpr std::int64_t kColReferring = 120;
constexpr std::size_t kReferringWidth = 12;
constexpr std::int64_t kColDates = 59;
constexpr std::int64_t kColProcedure = 73;
constexpr std::int64_t kColModifiers = 81;
constexpr std::int64_t kColPlaceOfService = 87;
constexpr std::int64_t kColDiagnosis = 94;
constexpr std::int64_t kColUnits = 100;
constexpr std::int64_t kColCharge = 104;
constexpr std::size_t kChargeWidth = 9;
constexpr std::int64_t kColRendering = 114;
constexpr std::size_t kRenderingWidth = 20;

// Sets bold for a block of lines and restores the previous setting.
class BoldScope {
 public:
  explicit BoldScope(PrintJob& p) : p_(p), was_(p.bold()) { p_.SetBold(true); }
  ~BoldScope() { p_.SetBold(was_); }
  BoldScope(const BoldScope&) = delete;
  BoldScope& operator=(const BoldScope&) = delete;

 private:
  PrintJob& p_;
  bool was_;
};

SummaryState& S(Ctx& c) {
  return c.g.print.summary;
}

std::string& Line(Ctx& c) {
  return c.g.print.gsPrintLine;
}

void PrintComposedLine(Ctx& c) {
  PrintLine(c, Line(c), true);
}

// A heading line: left text at column 1, centred text, right text ending at
// the last column.
void PrintHeadingLine(Ctx& c, const std::string& left, const std::string& centre,
                      const std::string& right) {
  ResetPrintLine(c);
  PlaceText(Line(c), 1, left);
  PlaceText(Line(c), CentredColumn(centre.size(), kWidth), centre);
  PlaceText(Line(c), RightAlignedColumn(right.size(), kWidth), right);
  PrintLine(c, Line(c), false);
}

// "MMDDYY" of an MMDDCCYY date.
std::string ShortDate(const std::string& date) {
  return Mid(date, 1, 4) + Mid(date, 7, 2);
}

std::string ServiceDates(const SummaryState& s) {
  std::string dates = ShortDate(s.sFromDate);
  // A single date of service (D8) carries no to date.
  if (!s.sToDate.empty() && s.sToDate != s.sFromDate) dates += "-" + ShortDate(s.sToDate);
  return dates;
}

std::string Modifiers(const SummaryState& s) {
  std::string field(5, ' ');
  PlaceText(field, 1, s.sModifier1, 2);
  if (!s.sModifier2.empty()) {
    PlaceText(field, 3, ",");
    PlaceText(field, 4, s.sModifier2, 2);
  }
  return field;
}

std::string ProviderText(const SummaryState& s, std::string_view firstNameSeparator) {
  std::string text = s.sProviderID + " " + Trim(s.sProviderName);
  if (s.bProviderIsPerson) text += std::string(firstNameSeparator) + Trim(s.sProviderFirstName);
  return text;
}

void PrintPendingLine(Ctx& c) {
  if (S(c).bLinePending) Write_Detail(c);
}

std::string Counts(std::int64_t claims, std::int64_t lines, Currency amount) {
  return "  Claims: " + SignedText(claims) + "  Charges: " + SignedText(lines) +
         "   Amount: " + FormatDollars(amount);
}

}  // namespace

std::int16_t Summary_Headings(Ctx& c) {
  try {
    SummaryState& s = S(c);
    BoldScope bold(Printer(c));
    ++c.g.print.giPageNumber;
    std::string title = c.g.print.sReportTitle;
    if (s.gbTestFile) title += " ** TEST **";
    PrintHeadingLine(c, "Report Date: " + ReportDateTime(Now()), title,
                     "Page: " + SignedText(c.g.print.giPageNumber));
    PrintHeadingLine(c,
                     "Submitter: " + Trim(s.gsSubmitterID) +
                         "   Submission#: " + PlainDecimal(NumericValue(s.gsSubmissionNr)),
                     "Summary", "Created: " + s.gsCreatedDate);
    PrintBlankLines(c, 1, false);
    ResetPrintLine(c);
    for (const auto& t : kColumnTitles) PlaceText(Line(c), t.col, t.text);
    PrintLine(c, Line(c), false);
    PrintRepeated(c, static_cast<std::int16_t>(kWidth), "-", false);
    s.bClaimColumnsDue = true;
    return 0;
  } catch (...) {
    AddReportFailure(c.g.host, "Summary_Headings()  Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t Write_Submitter(Ctx& c, const SegmentElements& isa) {
  try {
    SummaryState& s = S(c);
    s.gsSubmitterID = ElementAt(isa, 6);
    s.gsSubmissionNr = ElementAt(isa, 13);
    s.gbTestFile = ElementAt(isa, 15) == "T";
    const std::string& created = ElementAt(isa, 9);
    s.gsCreatedDate = Mid(created, 3, 2) + "/" + Mid(created, 5, 2) + "/20" + Mid(created, 1, 2);
    // A further interchange in the same file starts on a page of its own.
    if (Printer(c).CurrentY() > 0) {
      DoNewPage(c, true);
    } else {
      Summary_Headings(c);
    }
    return 0;
  } catch (...) {
    AddReportFailure(c.g.host, "Write_Submitter()  Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t Write_Batch_Header(Ctx& c) {
  try {
    SummaryState& s = S(c);
    if (LinesLeftOnPage(c) < 3) DoNewPage(c, true);
    BoldScope bold(Printer(c));
    PrintBlankLines(c, 1, true);
    ResetPrintLine(c);
    PlaceText(Line(c), 1, "Provider: " + ProviderText(s, ","));
    PrintComposedLine(c);
    PrintBlankLines(c, 1, true);
    s.bBatchHeaderDue = false;
    return 0;
  } catch (...) {
    AddReportFailure(c.g.host, "Write_Batch_Header()  Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t Write_Detail(Ctx& c) {
  try {
    SummaryState& s = S(c);
    if (s.bBatchHeaderDue) Write_Batch_Header(c);
    if (LinesLeftOnPage(c) < 2) DoNewPage(c, true);
    ResetPrintLine(c);
    std::string& line = Line(c);
    if (s.bClaimColumnsDue) {
      PlaceText(line, kColAccount, s.sAccountNr);
      PlaceText(line, kColName, Trim(Left(s.sClaimName, kNameLength)));
      PlaceText(line, kColPolicy, s.sPolicyNr);
      PlaceText(line, kColPayerResponsibility, s.sPayerResponsibility);
      PlaceText(line, kColReferring, s.sReferringProvider, kReferringWidth);
    }
    PlaceText(line, kColDates, ServiceDates(s));
    PlaceText(line, kColProcedure, s.sProcedure);
    PlaceText(line, kColModifiers, Modifiers(s));
    PlaceText(line, kColPlaceOfService, s.sPlaceOfService);
    PlaceText(line, kColDiagnosis, s.sDiagnosis);
    PlaceText(line, kColUnits, FormatUnits(s.sngUnits));
    PlaceText(line, kColCharge, RightAlign(FormatCharge(s.curCharge), kChargeWidth));
    if (s.bRenderingSeen) {
      std::string rendering =
          " " + s.sRenderingLastName + "," + Left(s.sRenderingFirstName, 1) + ".";
      PlaceText(line, kColRendering, rendering, kRenderingWidth);
    }
    PrintComposedLine(c);
    s.bClaimColumnsDue = false;
    s.bLinePending = false;
    ++s.lBatchLines;
    s.curBatchAmount += s.curCharge;
    s.ClearLineFields();
    return 0;
  } catch (...) {
    S(c).bLinePending = false;
    AddReportFailure(c.g.host, "Write_Detail()  Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t Write_Batch_Totals(Ctx& c) {
  try {
    SummaryState& s = S(c);
    PrintPendingLine(c);
    if (LinesLeftOnPage(c) < 4) DoNewPage(c, true);
    {
      BoldScope bold(Printer(c));
      PrintRepeated(c, static_cast<std::int16_t>(kWidth), "=", true);
      ResetPrintLine(c);
      PlaceText(Line(c), 1,
                "Totals for Provider: " + ProviderText(s, ", ") +
                    Counts(s.lBatchClaims, s.lBatchLines, s.curBatchAmount) +
                    "   Batch Control #: " + s.sBatchControlNr);
      PrintComposedLine(c);
      PrintBlankLines(c, 2, true);
    }
    s.lFileClaims += s.lBatchClaims;
    s.lFileLines += s.lBatchLines;
    s.curFileAmount += s.curBatchAmount;
    ++s.lFileBatches;
    s.ClearBatchTotals();
    return 0;
  } catch (...) {
    AddReportFailure(c.g.host, "Write_Batch_Totals()  Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t Write_File_Totals(Ctx& c) {
  try {
    SummaryState& s = S(c);
    PrintPendingLine(c);
    if (LinesLeftOnPage(c) < 4) {
      DoNewPage(c, true);
    } else {
      MoveToLinesFromBottom(c, 4);
    }
    PrintBlankLines(c, 2, true);
    PrintRepeated(c, static_cast<std::int16_t>(kWidth), "=", true);
    ResetPrintLine(c);
    PlaceText(Line(c), 1,
              "File Totals: " + Counts(s.lFileClaims, s.lFileLines, s.curFileAmount) +
                  "   Batches: " + SignedText(s.lFileBatches));
    PrintComposedLine(c);
    return 0;
  } catch (...) {
    AddReportFailure(c.g.host, "Write_File_Totals()  Error: ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
