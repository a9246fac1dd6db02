// The printing routines both reports use: preparing the printer, printing
// lines with page breaks and headings, and vertical positioning.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "reports/print_state.h"

namespace wcomp837 {

// The printer reports go to: the one chosen by message 7, else the default.
std::string CurrentPrinterName(const PrintCtx& c);
// Starts the print job of a report whose document is written to pdfPath
// (an older document of that name is removed first).
void StartPrintJob(const PrintCtx& c, const std::string& pdfPath, const std::string& title);
// Ends the print job: the document is written and sent to the printer.
void EndPrintJob(const PrintCtx& c);
// Drops the print job without producing anything.
void AbandonPrintJob(const PrintCtx& c);
// The job of the report being printed; raises Failure when there is none.
PrintJob& Printer(const PrintCtx& c);

std::int16_t InitializePrinter(const PrintCtx& c, PrintJob& printer);
void PrintLine(const PrintCtx& c, const std::string& text, bool headings);
void DoNewPage(const PrintCtx& c, bool headings);
void PrintRepeated(const PrintCtx& c, std::int16_t count, const std::string& text, bool headings);
void PrintBlankLines(const PrintCtx& c, std::int16_t count, bool headings);
std::int16_t LinesLeftOnPage(const PrintCtx& c);
void MoveToLinesFromBottom(const PrintCtx& c, std::int16_t count);
void ResetPrintLine(const PrintCtx& c);
// Prints the page headings of the current report.
std::int16_t Do_Elec_Headings(const PrintCtx& c);

// Adds the type-3 message text + number in signed text form + " " +
// description of the failure in flight.
void AddReportFailure(HostState& h, const std::string& text, std::exception_ptr e);
// The two messages of a routine that could not read a file: routine +
// "  File Not Found: " (or "  Error: " + number + " " + description), then
// "File: " + the file name.
void AddFileFailure(HostState& h, const std::string& routine, const std::string& file,
                    std::exception_ptr e);
// "Doesn't offer a report with Number: " + number.
void AddUnknownReportMessage(HostState& h, std::int16_t nr);

}  // namespace wcomp837
