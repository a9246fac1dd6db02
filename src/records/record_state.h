// The record generations of the batch: the "this" records being received,
// the "last" records the claim being built is made of, and the followed
// flags. The records routines receive them through a RecordCtx.
#pragma once

#include <memory>
#include <string>

#include "records/records.h"
#include "state/host_state.h"

namespace wcomp837 {

struct RecordState {
  TopRecords g_ThisTop;
  TopRecords g_LastTop;
  ChargeGroup g_ThisGroup;
  // The last generation's charge group until it is handed over to a service
  // line, which holds it from then on.
  std::unique_ptr<ChargeGroup> lastGroup = std::make_unique<ChargeGroup>();
  bool ThisFollowed = false;
  std::string ThisFollowedCode;
  bool LastFollowed = false;
  std::string LastFollowedCode;
};

// What the record parsers and clearing routines work on.
struct RecordCtx {
  HostState& host;
  RecordState& records;
};

}  // namespace wcomp837
