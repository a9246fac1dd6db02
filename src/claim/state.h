// The working state of one batch. SharedState is held once per thread and
// reset whenever a Format_Class is created on that thread; ObjectState
// belongs to one Format_Class. The host and claim routines receive both
// through a Ctx, which converts to the context of each layer below: what
// that layer's routines work on, by reference.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "records/record_state.h"
#include "refdata/ref_state.h"
#include "reports/print_state.h"
#include "state/host_state.h"
#include "x12/envelope_members.h"
#include "x12/writer_ctx.h"

namespace wcomp837 {

struct SharedState {
  HostState host;
  RecordState records;
  // The last generation's charge group: the group of the service line it
  // was handed over to (claim.iLastGroupLine), or the one kept in records
  // before there was a line.
  ChargeGroup& g_LastGroup() { return LastGroupOf(records, claim); }
  const ChargeGroup& g_LastGroup() const { return LastGroupOf(records, claim); }
  ClaimState claim;
  WriterState writer;
  RefState ref;
  PrintState print;
};

struct ObjectState {
  std::string msErrorMsg;
  std::string msLastNACPractice;
  std::int16_t miSubmissionNumber = 0;
  bool mbNeedNewProviderAfterThisClaim = false;
  double dfLineCounter = 0.0;
  EnvelopeMembers env;
};

struct Ctx {
  SharedState& g;
  ObjectState& o;

  operator RecordCtx() const { return {g.host, g.records}; }
  operator RefCtx() const { return {g.host, g.ref, g.records}; }
  operator PrintCtx() const { return {g.host, g.print}; }
  operator WriterCtx() const {
    return {g.host, g.records, g.claim, g.writer, g.ref, o.env, o.miSubmissionNumber};
  }
};

}  // namespace wcomp837
