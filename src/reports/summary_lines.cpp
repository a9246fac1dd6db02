// The printed lines of the summary report: headings, provider header,
// service lines and totals. Each line is composed in place in the print
// line, from views of the texts it shows.
#include <algorithm>
#include <initializer_list>
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

SummaryState& S(const PrintCtx& c) {
  return c.print.summary;
}

std::string& Line(const PrintCtx& c) {
  return c.print.gsPrintLine;
}

void PrintComposedLine(const PrintCtx& c) {
  PrintLine(c, Line(c), true);
}

// Parts of a text that are placed one after another.
using Pieces = std::initializer_list<std::string_view>;

std::size_t Length(Pieces pieces) {
  std::size_t length = 0;
  for (std::string_view p : pieces) length += p.size();
  return length;
}

// Places the pieces as one text of at most width characters from column col
// on; answers the column after them.
std::int64_t PlacePieces(std::string& line, std::int64_t col, Pieces pieces,
                         std::size_t width = kWholeText) {
  for (std::string_view p : pieces) {
    p = p.substr(0, width);
    PlaceText(line, col, p);
    col += static_cast<std::int64_t>(p.size());
    width -= std::min(width, p.size());
  }
  return col;
}

// A heading line: left text at column 1, centred text, right text ending at
// the last column.
void PrintHeadingLine(const PrintCtx& c, Pieces left, Pieces centre, Pieces right) {
  ResetPrintLine(c);
  PlacePieces(Line(c), 1, left);
  PlacePieces(Line(c), CentredColumn(Length(centre), kWidth), centre);
  PlacePieces(Line(c), RightAlignedColumn(Length(right), kWidth), right);
  PrintLine(c, Line(c), false);
}

// "MMDDYY" of an MMDDCCYY date.
std::int64_t PlaceShortDate(std::string& line, std::int64_t col, std::string_view date) {
  return PlacePieces(line, col, {MidView(date, 1, 4), MidView(date, 7, 2)});
}

void PlaceServiceDates(std::string& line, const SummaryState& s) {
  std::int64_t col = PlaceShortDate(line, kColDates, s.sFromDate);
  // A single date of service (D8) carries no to date.
  if (!s.sToDate.empty() && s.sToDate != s.sFromDate) {
    PlaceShortDate(line, PlacePieces(line, col, {"-"}), s.sToDate);
  }
}

// A field of 5: the modifiers cut to 2 characters each, separated by ",".
void PlaceModifiers(std::string& line, const SummaryState& s) {
  PlaceText(line, kColModifiers, "     ");
  PlaceText(line, kColModifiers, s.sModifier1, 2);
  if (!s.sModifier2.empty()) {
    PlaceText(line, kColModifiers + 2, ",");
    PlaceText(line, kColModifiers + 3, s.sModifier2, 2);
  }
}

std::int64_t PlaceProvider(std::string& line, std::int64_t col, const SummaryState& s,
                           std::string_view firstNameSeparator) {
  col = PlacePieces(line, col, {s.sProviderID, " ", TrimView(s.sProviderName)});
  if (!s.bProviderIsPerson) return col;
  return PlacePieces(line, col, {firstNameSeparator, TrimView(s.sProviderFirstName)});
}

void PrintPendingLine(const PrintCtx& c) {
  if (S(c).bLinePending) Write_Detail(c);
}

std::int64_t PlaceCounts(std::string& line, std::int64_t col, std::int64_t claims,
                         std::int64_t lines, Currency amount) {
  return PlacePieces(line, col,
                     {"  Claims: ", SignedText(claims), "  Charges: ", SignedText(lines),
                      "   Amount: ", FormatDollars(amount)});
}

}  // namespace

std::int16_t Summary_Headings(const PrintCtx& c) {
  try {
    SummaryState& s = S(c);
    BoldScope bold(Printer(c));
    ++c.print.giPageNumber;
    PrintHeadingLine(c, {"Report Date: ", ReportDateTime(Now())},
                     {c.print.sReportTitle, s.gbTestFile ? " ** TEST **" : ""},
                     {"Page: ", SignedText(c.print.giPageNumber)});
    PrintHeadingLine(c,
                     {"Submitter: ", TrimView(s.gsSubmitterID),
                      "   Submission#: ", PlainDecimal(NumericValue(s.gsSubmissionNr))},
                     {"Summary"}, {"Created: ", s.gsCreatedDate});
    PrintBlankLines(c, 1, false);
    ResetPrintLine(c);
    for (const auto& t : kColumnTitles) PlaceText(Line(c), t.col, t.text);
    PrintLine(c, Line(c), false);
    PrintRepeated(c, static_cast<std::int16_t>(kWidth), "-", false);
    s.bClaimColumnsDue = true;
    return 0;
  } catch (...) {
    AddReportFailure(c.host, "Summary_Headings()  Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t Write_Submitter(const PrintCtx& c, const SegmentElements& isa) {
  try {
    SummaryState& s = S(c);
    s.gsSubmitterID = ElementAt(isa, 6);
    s.gsSubmissionNr = ElementAt(isa, 13);
    s.gbTestFile = ElementAt(isa, 15) == "T";
    const std::string_view created = ElementAt(isa, 9);
    s.gsCreatedDate.assign(MidView(created, 3, 2))
        .append("/")
        .append(MidView(created, 5, 2))
        .append("/20")
        .append(MidView(created, 1, 2));
    // A further interchange in the same file starts on a page of its own.
    if (Printer(c).CurrentY() > 0) {
      DoNewPage(c, true);
    } else {
      Summary_Headings(c);
    }
    return 0;
  } catch (...) {
    AddReportFailure(c.host, "Write_Submitter()  Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t Write_Batch_Header(const PrintCtx& c) {
  try {
    SummaryState& s = S(c);
    if (LinesLeftOnPage(c) < 3) DoNewPage(c, true);
    BoldScope bold(Printer(c));
    PrintBlankLines(c, 1, true);
    ResetPrintLine(c);
    std::string& line = Line(c);
    PlaceProvider(line, PlacePieces(line, 1, {"Provider: "}), s, ",");
    PrintComposedLine(c);
    PrintBlankLines(c, 1, true);
    s.bBatchHeaderDue = false;
    return 0;
  } catch (...) {
    AddReportFailure(c.host, "Write_Batch_Header()  Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t Write_Detail(const PrintCtx& c) {
  try {
    SummaryState& s = S(c);
    if (s.bBatchHeaderDue) Write_Batch_Header(c);
    if (LinesLeftOnPage(c) < 2) DoNewPage(c, true);
    ResetPrintLine(c);
    std::string& line = Line(c);
    if (s.bClaimColumnsDue) {
      PlaceText(line, kColAccount, s.sAccountNr);
      PlaceText(line, kColName, TrimView(std::string_view(s.sClaimName).substr(0, kNameLength)));
      PlaceText(line, kColPolicy, s.sPolicyNr);
      PlaceText(line, kColPayerResponsibility, s.sPayerResponsibility);
      PlaceText(line, kColReferring, s.sReferringProvider, kReferringWidth);
    }
    PlaceServiceDates(line, s);
    PlaceText(line, kColProcedure, s.sProcedure);
    PlaceModifiers(line, s);
    PlaceText(line, kColPlaceOfService, s.sPlaceOfService);
    PlaceText(line, kColDiagnosis, s.sDiagnosis);
    PlaceText(line, kColUnits, FormatUnits(s.sngUnits));
    PlaceText(line, kColCharge, RightAlign(FormatCharge(s.curCharge), kChargeWidth));
    if (s.bRenderingSeen) {
      PlacePieces(line, kColRendering,
                  {" ", s.sRenderingLastName, ",",
                   std::string_view(s.sRenderingFirstName).substr(0, 1), "."},
                  kRenderingWidth);
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
    AddReportFailure(c.host, "Write_Detail()  Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t Write_Batch_Totals(const PrintCtx& c) {
  try {
    SummaryState& s = S(c);
    PrintPendingLine(c);
    if (LinesLeftOnPage(c) < 4) DoNewPage(c, true);
    {
      BoldScope bold(Printer(c));
      PrintRepeated(c, static_cast<std::int16_t>(kWidth), "=", true);
      ResetPrintLine(c);
      std::string& line = Line(c);
      std::int64_t col = PlacePieces(line, 1, {"Totals for Provider: "});
      col = PlaceProvider(line, col, s, ", ");
      col = PlaceCounts(line, col, s.lBatchClaims, s.lBatchLines, s.curBatchAmount);
      PlacePieces(line, col, {"   Batch Control #: ", s.sBatchControlNr});
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
    AddReportFailure(c.host, "Write_Batch_Totals()  Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t Write_File_Totals(const PrintCtx& c) {
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
    std::string& line = Line(c);
    std::int64_t col = PlacePieces(line, 1, {"File Totals: "});
    col = PlaceCounts(line, col, s.lFileClaims, s.lFileLines, s.curFileAmount);
    PlacePieces(line, col, {"   Batches: ", SignedText(s.lFileBatches)});
    PrintComposedLine(c);
    return 0;
  } catch (...) {
    AddReportFailure(c.host, "Write_File_Totals()  Error: ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
