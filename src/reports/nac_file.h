// The _NAC.Dat file: secondary lines whose prior payer sent no adjustment
// reason codes.
#pragma once

#include <cstdint>
#include <string>

#include "host/state.h"

namespace wcomp837 {

std::string NACFileName(const HostState& h);
std::int16_t OpenNACFileOut(Ctx& c);
// The practice header, written when the practice code changes.
std::int16_t WriteNACPracticeHeader(Ctx& c);
// Stores one 85-character record.
std::int16_t WriteNACRecord(Ctx& c, const std::string& record);
// The closing remark when no secondary line was written.
std::int16_t WriteNACClosingRemark(Ctx& c);
std::int16_t CloseNACFile(Ctx& c);

}  // namespace wcomp837
