// Helpers of the other-insurance loops (2320-2330B) and the service line
// loops (2400, 2410, 2430).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "x12/segment_builder.h"
#include "x12/writer_ctx.h"

namespace wcomp837 {

// A segment of the given elements in order; separators and bytes outside
// the X12 character sets inside a value are dropped.
SegmentText SegmentOf(std::string_view id, std::initializer_list<std::string_view> elements);
// Counts and writes that segment: 0, or 3 when the output failed.
std::int16_t PutSegment(const WriterCtx& c, std::string_view id,
                        std::initializer_list<std::string_view> elements);

// Line iIndex of DETAILArray; a subscript failure when the table has no such slot.
DetailLine& DetailLineAt(const WriterCtx& c, std::int16_t iIndex);

// The value of a five-character key in the line's copy of extended-data
// slot 1 to 5 (6020 ... 6028); empty when absent.
Text LineExtDataValue(const DetailLine& line, std::size_t slot, std::string_view key);

// The billing insurance index of the claim: the last charge's sBillingInsIndex
// taken as a number (other insurances below it are prior payers).
double BillingInsuranceIndex(const WriterCtx& c);

// The CAS segments of an adjustment text group|reason|amount|units|...: one
// segment per run of adjustments of one group code, at most six adjustments
// to a segment (the most CAS holds).

std::int16_t Do_SV1_Record(const WriterCtx& c, std::int16_t iIndex);
// The components of SV101/SVD03: "HC", the procedure and each non-empty
// modifier (written with SegmentText::AddComposite).
std::int16_t AppendProcedureAndModifiers(const WriterCtx& c, std::int16_t iIndex,
                                         Components& components);
// Minutes from the first HHMM text to the second (an earlier end is on the
// next day); 0 when negative.
std::int32_t GetMinutes(const std::string& sStart, const std::string& sEnd);

// Loop 2410: drug identification of one line.
std::int16_t WriteDrugIdentification(const WriterCtx& c, const DetailLine& line);
// Loop 2430: line adjudication for every prior payer of line iIndex.
std::int16_t WriteLineAdjudications(const WriterCtx& c, std::int16_t iIndex);

}  // namespace wcomp837
