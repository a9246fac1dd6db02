// Interchange, functional group and transaction set envelopes.
#pragma once

#include <cstdint>

#include "x12/writer_ctx.h"

namespace wcomp837 {

std::int16_t CheckForOtherRecs(const WriterCtx& c);
std::int16_t SetUpSUBMITTER(const WriterCtx& c);
std::int16_t SetupGROUP(const WriterCtx& c);
std::int16_t SetUpBATCH(const WriterCtx& c);
std::int16_t WriteClaimTrailer(const WriterCtx& c);
std::int16_t WriteBatchTrailer(const WriterCtx& c);
std::int16_t WriteGroupTrailer(const WriterCtx& c);
std::int16_t WriteFileTrailer(const WriterCtx& c);

}  // namespace wcomp837
