// The work behind the public methods of Format_Class. These routines may
// raise a Failure; the public methods guard them.
#pragma once

#include <cstdint>
#include <string>

#include "claim/state.h"

namespace wcomp837 {

// HereIsAMessage without the emptying of the message list: the key's work
// and its result.
std::int16_t HandleHostMessage(Ctx& c, const std::string& sMsgNr, const std::string& sMsg);
// The guarded form: an unexpected failure adds the HereIsAMessage failure
// text, stores it in msErrorMsg and answers 3.
std::int16_t GuardedHostMessage(Ctx& c, const std::string& sMsgNr, const std::string& sMsg);

// False (with the type-3 message added) while the output folder / claim file
// name is not set.
bool HaveOutputPath(HostState& h);
bool HaveASCIIFile(HostState& h);

// The test-claims limit of message 6 ("start//end").
void SetTestClaims(HostState& h, const std::string& sMsg);
// The two signed adjustments of message 4.
void SetAdjustments(HostState& h, const std::string& sMsg);

// The component's version, major.minor.revision.
std::string ComponentVersion();
// Empties the message list and adds the twelve self-description rows.
void GetBillingComponentManager(HostState& h);

// FormatRecord after the message list was emptied. A key of fewer than
// eleven fields sets keyTooShort and answers 3 (the fields before the
// missing one keep their new values): the caller reports it as its failure.
std::int16_t FormatOneRecord(Ctx& c, const std::string& strKey, const std::string& sRec,
                             bool& keyTooShort);
// Hands the record to the routine of its type; the parser's result.
std::int16_t DispatchRecord(Ctx& c, std::string_view sType, const std::string& sRec);
// The end-of-charge sequence of record 6990.
std::int16_t EndOfChargeGroup(Ctx& c);

// ProcessEndOfFile and ProcessFormattedRecords after the list was emptied.
std::int16_t EndOfBatch(Ctx& c);
std::int16_t CheckFormattedRecords(Ctx& c);

}  // namespace wcomp837
