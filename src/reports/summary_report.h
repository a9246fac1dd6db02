// Report 1: the summary of the finished claim file, per billing provider.
#pragma once

#include <cstdint>
#include <string>

#include "host/state.h"
#include "reports/ansi_reader.h"

namespace wcomp837 {

inline constexpr std::int16_t kSummaryLineWidth = 135;

// Prints report 1 for the claim file gsASCIIFile. 0 done, 3 failure.
std::int16_t Summary_Report_It(Ctx& c, const std::string& formatID, const std::string& title);
// Acts on one segment of the claim file.
void ActOnSegment(Ctx& c, const SegmentElements& elements);

std::int16_t Summary_Headings(Ctx& c);
std::int16_t Write_Submitter(Ctx& c, const SegmentElements& isa);
std::int16_t Write_Batch_Header(Ctx& c);
std::int16_t Write_Detail(Ctx& c);
std::int16_t Write_Batch_Totals(Ctx& c);
std::int16_t Write_File_Totals(Ctx& c);

}  // namespace wcomp837
