// The envelope state machine, the interchange and group headers and the
// trailers of all levels. The transaction set header is in transaction_set.cpp.
#include "x12/envelopes.h"

#include <fmt/format.h>

#include <array>
#include <iterator>

#include "platform/clock.h"
#include "records/numeric.h"
#include "state/messages.h"
#include "state/runlog.h"
#include "x12/control_numbers.h"
#include "x12/segment_builder.h"
#include "x12/segments.h"

namespace wcomp837 {

std::string InterchangeControlNumber(const WriterCtx& c) {
  return fmt::format("{:09}", SubmissionBase(c));
}

std::string GroupControlNumber(const WriterCtx& c) {
  return std::to_string(SubmissionBase(c) * 10000 + c.env.miGroupCount);
}

std::string TransactionSetControlNumber(const WriterCtx& c) {
  return std::to_string(SubmissionBase(c) * 10000 + c.env.miBatchCount);
}

namespace {

// Widths of the interchange header's fields (the segment ID, then ISA01 to
// ISA16); with a "*" between fields the header is 105 columns wide.
constexpr std::array<std::size_t, 17> kISAWidths = {3, 2, 10, 2, 10, 2, 15, 2, 15,
                                                    6, 4, 1,  5, 9,  1, 1,  1};

// Each value left-justified in its field: cut to the width or padded with blanks.
std::string LayOutISA(const std::array<std::string, kISAWidths.size()>& values) {
  std::string isa;
  for (std::size_t i = 0; i < kISAWidths.size(); ++i) {
    if (i > 0) isa += '*';
    std::string field = values[i].substr(0, kISAWidths[i]);
    field.resize(kISAWidths[i], ' ');
    isa += field;
  }
  return isa;
}

std::int16_t Fail(const WriterCtx& c, const char* routineText) {
  AddFailureMessage(c.host, routineText, std::current_exception());
  return 3;
}

// Runs one step of the state machine after its log line; true when it failed.
template <typename Step>
bool StepFailed(const WriterCtx& c, const char* logText, Step step) {
  LogLine(c.host, logText);
  return step(c) == 3;
}

}  // namespace

std::int16_t CheckForOtherRecs(const WriterCtx& c) {
  try {
    ClaimState& cl = c.claim;
    LogLine(c.host, "CheckForOtherRecs()");
    bool groupOpened = false;
    if (cl.NeedNewPractice) {
      if (StepFailed(c, "WriteBatchTrailer() kickedoff from CheckOtherRecs()  NeedNewPractice",
                     WriteBatchTrailer) ||
          StepFailed(c, "WriteGroupTrailer() kickedoff from CheckOtherRecs()  NeedNewPractice",
                     WriteGroupTrailer)) {
        return 3;
      }
      // One interchange per claim file: a later practice opens only a new group.
      if (!c.env.bInterchangeOpen &&
          StepFailed(c, "SetupSUBMITTER() kickedoff from CheckOtherRecs()  NeedNewPractice",
                     SetUpSUBMITTER)) {
        return 3;
      }
      if (StepFailed(c, "SetupGROUP() kickedoff from CheckOtherRecs()  NeedNewPractice",
                     SetupGROUP)) {
        return 3;
      }
      cl.NeedNewPractice = false;
      groupOpened = true;
    }
    // A new group always needs a transaction set of its own.
    if (cl.NeedNewProvider || groupOpened) {
      if (StepFailed(c, "WriteClaimTrailer() kickedoff from CheckOtherRecs()  NeedNewProvider",
                     WriteClaimTrailer) ||
          StepFailed(c, "WriteBatchTrailer() kickedoff from CheckOtherRecs()  NeedNewProvider",
                     WriteBatchTrailer) ||
          StepFailed(c, "SetUpBATCH() kickedoff from CheckOtherRecs()  NeedNewProvider",
                     SetUpBATCH)) {
        return 3;
      }
      cl.NeedNewProvider = false;
    }
    return 0;
  } catch (...) {
    return Fail(c, " CheckForOtherRecs() ");
  }
}

std::int16_t SetUpSUBMITTER(const WriterCtx& c) {
  try {
    HostState& h = c.host;
    EnvelopeMembers& env = c.env;
    SubmitterRec& sub = env.submitter;
    CleanInto(sub, c.records.g_LastTop.Submitter);
    LogLine(h, "SetupSUBMITTER");
    DateTime now = Now();
    env.msInterchangeDate = fmt::format("{:04}{:02}{:02}", now.year, now.month, now.day);
    env.msInterchangeTime = fmt::format("{:02}{:02}", now.hour, now.minute);

    const Text security = sub[Submitter::sSecurityInfo];
    std::string isa =
        LayOutISA({"ISA", "00", "", security.empty() ? "00" : "01", security, "ZZ",
                   sub[Submitter::sSubmitterId], "ZZ", sub[Submitter::sReceiverId],
                   env.msInterchangeDate.substr(2, 6), env.msInterchangeTime, "U", "00401",
                   InterchangeControlNumber(c), sub[Submitter::sAckRequested] == "Y" ? "1" : "0",
                   h.gbTestClaims ? "T" : "P", ":"});

    LogLine(h, "@@ ISA Submitter");
    if (WriteASCIIOUT(c, isa) == 3) return 3;
    env.bInterchangeOpen = true;
    return 0;
  } catch (...) {
    return Fail(c, " SetUpSUBMITTER() ");
  }
}

std::int16_t SetupGROUP(const WriterCtx& c) {
  try {
    HostState& h = c.host;
    EnvelopeMembers& env = c.env;
    SubmitterRec& sub = env.submitter;
    CleanInto(sub, c.records.g_LastTop.Submitter);
    env.miProviderHL = 1;
    LogLine(h, "SetupGROUP()");
    ++env.miGroupCount;
    LogLine(h, "Setting up GROUP...");
    const Text sender = sub[Submitter::sGroupSenderCode].empty() ? sub[Submitter::sSubmitterId]
                                                                 : sub[Submitter::sGroupSenderCode];
    const Text receiver = sub[Submitter::sGroupReceiverCode].empty()
                              ? sub[Submitter::sReceiverId]
                              : sub[Submitter::sGroupReceiverCode];
    const std::string number = GroupControlNumber(c);
    std::string& gs = c.writer.segment;
    gs.assign("GS*HC*").append(sender).append("*").append(receiver).append("*");
    gs.append(env.msInterchangeDate).append("*").append(env.msInterchangeTime).append("*");
    gs.append(number).append("*X*004010X098A1");
    LogLine(h, "@@ GS Group");
    return WriteASCIIOUT(c, gs);
  } catch (...) {
    return Fail(c, " SetupGROUP() ");
  }
}

std::int16_t WriteClaimTrailer(const WriterCtx& c) {
  try {
    HostState& h = c.host;
    EnvelopeMembers& env = c.env;
    if (env.miLinesWritten > 0) {
      LogLine(h, "WriteClaimTrailer()");
      ++h.giclaims_counted;
      LogLine(h, {"giclaims_counted  ", Signed(h.giclaims_counted)});
      env.miLinesWritten = 0;
      LogLine(h, "WriteClaimTrailer is Clearing the mClaim Record");
      ClearClaimRecord(c.claim);
    }
    return 0;
  } catch (...) {
    return Fail(c, " WriteClaimTrailer() ");
  }
}

std::int16_t WriteBatchTrailer(const WriterCtx& c) {
  try {
    HostState& h = c.host;
    EnvelopeMembers& env = c.env;
    if (env.miClaimCount < 1) {
      LogLine(h, "SE Record not written (no Claims)");
      return 0;
    }
    IncrementSegmentCount(c);
    const std::string number = TransactionSetControlNumber(c);
    std::string& se = c.writer.segment;
    se.assign("SE*");
    fmt::format_to(std::back_inserter(se), "{}*{}", c.writer.SegmentCount, number);
    LogLine(h, "@@ SE Batch Trailer (Transaction Set Trailer)");
    if (WriteASCIIOUT(c, se) == 3) return 3;
    c.writer.SegmentCount = 0;
    env.miClaimCount = 0;
    return 0;
  } catch (...) {
    return Fail(c, " WriteBatchTrailer() ");
  }
}

std::int16_t WriteGroupTrailer(const WriterCtx& c) {
  try {
    HostState& h = c.host;
    EnvelopeMembers& env = c.env;
    LogLine(h, "WriteGroupTrailer()");
    if (env.miBatchCount < 1) {
      LogLine(h, "GE Record Not Written (No batches)");
      return 0;
    }
    std::string ge = "GE*" + std::to_string(env.miBatchCount) + "*" + GroupControlNumber(c);
    LogLine(h, "@@ GE Group Trailer");
    if (WriteASCIIOUT(c, ge) == 3) return 3;
    env.miBatchCount = 0;
    return 0;
  } catch (...) {
    return Fail(c, " WriteGroupTrailer() ");
  }
}

std::int16_t WriteFileTrailer(const WriterCtx& c) {
  try {
    HostState& h = c.host;
    EnvelopeMembers& env = c.env;
    LogLine(h, "WriteFileTrailer()");
    if (env.miGroupCount > 0) {
      std::string iea =
          "IEA*" + std::to_string(env.miGroupCount) + "*" + InterchangeControlNumber(c);
      LogLine(h, "@@ IEA File Trailer");
      if (WriteASCIIOUT(c, iea) == 3) return 3;
      env.miGroupCount = 0;
      env.bInterchangeOpen = false;
    }
    return 0;
  } catch (...) {
    return Fail(c, " WriteFileTrailer() ");
  }
}

}  // namespace wcomp837
