#include "reports/print_routines.h"

#include <algorithm>
#include <cmath>

#include "platform/failure.h"
#include "platform/files.h"
#include "records/numeric.h"
#include "reports/summary_report.h"
#include "state/messages.h"

namespace wcomp837 {

std::string CurrentPrinterName(const PrintCtx& c) {
  const std::string& chosen = c.print.selected_printer;
  return chosen.empty() ? DefaultPrinterName() : chosen;
}

void StartPrintJob(const PrintCtx& c, const std::string& pdfPath, const std::string& title) {
  KillFile(pdfPath);
  c.print.printer = std::make_unique<PrintJob>(pdfPath, CurrentPrinterName(c), title);
  c.print.bPrinterInitialized = false;
}

void EndPrintJob(const PrintCtx& c) {
  auto job = std::move(c.print.printer);
  c.print.iLastQueueJob = 0;
  if (!job) return;
  job->EndDoc();
  c.print.iLastQueueJob = job->queue_job();
}

void AbandonPrintJob(const PrintCtx& c) {
  c.print.printer.reset();
}

PrintJob& Printer(const PrintCtx& c) {
  if (!c.print.printer) Raise(failure::kInvalidCall);
  return *c.print.printer;
}

std::int16_t InitializePrinter(const PrintCtx& c, PrintJob& printer) {
  try {
    c.print.dOffsetXInches = printer.OffsetXInches();
    c.print.dOffsetYInches = printer.OffsetYInches();
    c.print.bPrinterInitialized = true;
    return 0;
  } catch (...) {
    AddFailureMessage(c.host, " InitializePrinter() Error:", std::current_exception());
    return 3;
  }
}

void PrintLine(const PrintCtx& c, const std::string& text, bool headings) {
  try {
    PrintJob& p = Printer(c);
    if (headings && p.CurrentY() + p.TextHeight() >= p.PrintableHeight()) {
      // The headings compose their lines in the buffers text may be.
      const std::string kept = text;
      DoNewPage(c, true);
      PrintLine(c, kept, false);
      return;
    }
    p.PrintText(text);
    ResetPrintLine(c);
  } catch (...) {
    AddFailureMessage(c.host, " PrintLine() Error:", std::current_exception());
  }
}

void DoNewPage(const PrintCtx& c, bool headings) {
  Printer(c).NewPage();
  if (headings) Do_Elec_Headings(c);
}

void PrintRepeated(const PrintCtx& c, std::int16_t count, const std::string& text, bool headings) {
  std::string& line = c.print.sRepeatedLine;
  if (text.size() == 1) {
    line.assign(static_cast<std::size_t>(std::max<std::int16_t>(count, 0)), text[0]);
  } else {
    line.clear();
    for (std::int16_t i = 0; i < count; ++i) line += text;
  }
  PrintLine(c, line, headings);
}

void PrintBlankLines(const PrintCtx& c, std::int16_t count, bool headings) {
  static const std::string kBlank;
  for (std::int16_t i = 0; i < count; ++i) PrintLine(c, kBlank, headings);
}

std::int16_t LinesLeftOnPage(const PrintCtx& c) {
  PrintJob& p = Printer(c);
  double lines = std::floor((p.PrintableHeight() - p.CurrentY()) / p.TextHeight());
  return ToInt16(std::max(lines, 0.0));
}

void MoveToLinesFromBottom(const PrintCtx& c, std::int16_t count) {
  PrintJob& p = Printer(c);
  double h = p.TextHeight();
  p.SetCurrentY(p.PrintableHeight() - count * h - h / 4);
}

void ResetPrintLine(const PrintCtx& c) {
  c.print.gsPrintLine.assign(
      static_cast<std::size_t>(std::max<std::int16_t>(c.print.giLineWidth, 0)), ' ');
}

std::int16_t Do_Elec_Headings(const PrintCtx& c) {
  try {
    switch (c.host.giReportNr) {
      case 1:
        return Summary_Headings(c);
      case 2:
        return 0;
      default:
        AddUnknownReportMessage(c.host, c.host.giReportNr);
        return 3;
    }
  } catch (...) {
    AddReportFailure(c.host, "Do_Elec_Headings()  Error: ", std::current_exception());
    return 3;
  }
}

void AddReportFailure(HostState& h, const std::string& text, std::exception_ptr e) {
  Failure f = CurrentFailure(e);
  AddToMessageArray(h, kMsgError, text + SignedText(f.number) + " " + f.description);
}

void AddFileFailure(HostState& h, const std::string& routine, const std::string& file,
                    std::exception_ptr e) {
  Failure f = CurrentFailure(e);
  if (f.number == failure::kFileNotFound) {
    AddToMessageArray(h, kMsgError, routine + "  File Not Found: ");
  } else {
    AddToMessageArray(h, kMsgError,
                      routine + "  Error: " + SignedText(f.number) + " " + f.description);
  }
  AddToMessageArray(h, kMsgError, "File: " + file);
}

void AddUnknownReportMessage(HostState& h, std::int16_t nr) {
  AddToMessageArray(h, kMsgError, "Doesn't offer a report with Number: " + SignedText(nr));
}

}  // namespace wcomp837
