// The this/last generations, claim breaks and writing one claim.
#pragma once

#include <cstdint>

#include "claim/state.h"

namespace wcomp837 {

void CopyThisTopToLast(Ctx& c);
void CopyThisGroupToLast(Ctx& c);
std::int16_t CheckBreak(Ctx& c);
bool CheckChargeBreak(Ctx& c);
std::int16_t WriteClaim(Ctx& c);

}  // namespace wcomp837
