// Interchange, functional group and transaction set envelopes.
#pragma once

#include <cstdint>

#include "host/state.h"

namespace wcomp837 {

std::int16_t CheckForOtherRecs(Ctx& c);
std::int16_t SetUpSUBMITTER(Ctx& c);
std::int16_t SetupGROUP(Ctx& c);
std::int16_t SetUpBATCH(Ctx& c);
std::int16_t WriteClaimTrailer(Ctx& c);
std::int16_t WriteBatchTrailer(Ctx& c);
std::int16_t WriteGroupTrailer(Ctx& c);
std::int16_t WriteFileTrailer(Ctx& c);

}  // namespace wcomp837
