// Control numbers of the interchange, functional group and transaction set,
// all derived from the batch's submission number.
#pragma once

#include <cstdint>
#include <string>

#include "x12/writer_ctx.h"

namespace wcomp837 {

// The submission number as a control number base. A negative submission
// number has no valid control number; its absolute value is used.
inline std::int64_t SubmissionBase(const WriterCtx& c) {
  std::int64_t n = c.miSubmissionNumber;
  return n < 0 ? -n : n;
}

// ISA13 and IEA02: nine digits, zero-filled.
std::string InterchangeControlNumber(const WriterCtx& c);
// GS06 and GE02: submission number x 10000 + group count, no leading zeros.
std::string GroupControlNumber(const WriterCtx& c);
// ST02 and SE02: submission number x 10000 + transaction set count.
std::string TransactionSetControlNumber(const WriterCtx& c);

}  // namespace wcomp837
