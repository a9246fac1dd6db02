// What the segment output and the loop writers work on: the host state, the
// last generation and the claim built from it, the claim file, the
// envelope members and the NPI legacy date flag.
#pragma once

#include <cstdint>

#include "records/record_state.h"
#include "refdata/ref_state.h"
#include "state/host_state.h"
#include "x12/claim_data.h"
#include "x12/envelope_members.h"
#include "x12/writer_state.h"

namespace wcomp837 {

struct WriterCtx {
  HostState& host;
  RecordState& records;
  ClaimState& claim;
  WriterState& writer;
  const RefState& ref;
  EnvelopeMembers& env;
  const std::int16_t& miSubmissionNumber;

  ChargeGroup& g_LastGroup() const { return LastGroupOf(records, claim); }
};

}  // namespace wcomp837
