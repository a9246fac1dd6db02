// Loop 2300 (claim information) and the claim provider loops 2310A-E.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "x12/segment_builder.h"
#include "x12/writer_ctx.h"

namespace wcomp837 {

// The text without any ".": diagnosis codes go to HI without their dot.
std::string SquashDot(const std::string& text);

// The value of a five-character key in extended-data slot 1-5, empty when
// not found.
std::string ExtValue(const WriterCtx& c, std::int16_t slot, const std::string& key);

// The claim dates (DTP) of loop 2300, in their order.
void PutClaimDates(const WriterCtx& c, LoopWriter& out);

// Loops 2310A-2310E. 0, or 3 when a write failed.
std::int16_t WriteClaimProviders(const WriterCtx& c);

// Provider taxonomy code for PRV03 by kind: "1" servicing provider, "2"
// billing provider, "3" referral, "4" other provider, "5" other referral.
// bPayerSpecific allows the insurance's and the record's payer-specific
// codes. An unknown kind gives the empty text.
std::string GetTaxonomyCode(const WriterCtx& c, std::string_view kind, bool bPayerSpecific);

}  // namespace wcomp837
