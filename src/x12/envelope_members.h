// Envelope members of Format_Class: counters, control numbers and the
// billing provider of the open transaction set.
#pragma once

#include <cstdint>
#include <string>

#include "records/records.h"

namespace wcomp837 {

struct BillingBlock {
  bool bIsPerson = false;
  std::string sLastOrOrgName;
  std::string sFirstName;
  std::string sAddress1;
  std::string sAddress2;
  std::string sCity;
  std::string sState;
  std::string sZip;
  std::string sNPI;
  std::string sPayerProviderID;
  std::string sTaxID;
  std::string sPhone;
  std::string sAreaCode;
  std::string sPhoneExt;
  std::string sSecondaryIDQual;
  std::string sSecondaryID;
};

struct EnvelopeMembers {
  std::string msInterchangeDate;  // yyyymmdd
  std::string msInterchangeTime;  // HHMM
  // Counters are wide so that a transaction set of 100,000 claims counts right.
  std::int64_t miGroupCount = 0;  // groups of the interchange (the whole file)
  std::int64_t miBatchCount = 0;
  std::int64_t miClaimCount = 0;
  std::int64_t miLinesWritten = 0;
  std::int64_t miHLCount = 0;
  std::int64_t miProviderHL = 0;
  std::int64_t miSubscriberHL = 0;
  // ISA written and IEA not yet: a later practice opens only a new group.
  bool bInterchangeOpen = false;
  BillingBlock billing;
  // The submitter without separator characters, for the envelope segments
  // (its buffer is reused).
  SubmitterRec submitter;
};

}  // namespace wcomp837
