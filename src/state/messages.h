// The message list the host reads through GetAMessage, and the standard
// error line every routine uses to report an unexpected failure.
#pragma once

#include <cstdint>
#include <string>

#include "state/host_state.h"
#include "wcomp837/failure.h"

namespace wcomp837 {

inline constexpr std::int16_t kMsgInfo = 1;
inline constexpr std::int16_t kMsgError = 3;

void ClearMessageArray(HostState& h);
// Index of the first free slot (grows the list by 10 when every slot is used).
std::int32_t GetNextEntryNr(HostState& h);
void AddToMessageArray(HostState& h, std::int16_t type, const std::string& text);
// Number of messages in the list.
std::int32_t MessageCount(const HostState& h);
// Highest message type in the list, 0 when it is empty.
std::int16_t HighestMessageType(const HostState& h);
// The host's view of entry lIndex: " 1//text//" or "END".
std::string GetAMessageText(HostState& h, std::int32_t lIndex);

// Standard error line: gsDllName + routine text + number in signed text form
// + " " + description, added as type 3. Returns the text.
std::string AddFailureMessage(HostState& h, const std::string& routineText, const Failure& f);
// Same, but also for failures that are not Failure values.
std::string AddFailureMessage(HostState& h, const std::string& routineText, std::exception_ptr e);
// Converts the exception in flight into a Failure (std::bad_alloc is "Out of memory").
Failure CurrentFailure(std::exception_ptr e);

}  // namespace wcomp837
