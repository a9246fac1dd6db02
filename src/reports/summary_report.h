// Report 1: the summary of the finished claim file, per billing provider.
#pragma once

#include <cstdint>
#include <string>

#include "reports/ansi_reader.h"
#include "reports/print_state.h"

namespace wcomp837 {

inline constexpr std::int16_t kSummaryLineWidth = 135;

// Prints report 1 for the claim file gsASCIIFile. 0 done, 3 failure.
std::int16_t Summary_Report_It(const PrintCtx& c, const std::string& formatID,
                               const std::string& title);
// Acts on one segment of the claim file.
void ActOnSegment(const PrintCtx& c, const SegmentElements& elements);

std::int16_t Summary_Headings(const PrintCtx& c);
std::int16_t Write_Submitter(const PrintCtx& c, const SegmentElements& isa);
std::int16_t Write_Batch_Header(const PrintCtx& c);
std::int16_t Write_Detail(const PrintCtx& c);
std::int16_t Write_Batch_Totals(const PrintCtx& c);
std::int16_t Write_File_Totals(const PrintCtx& c);

}  // namespace wcomp837
