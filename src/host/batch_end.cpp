// ProcessEndOfFile and ProcessFormattedRecords: the last claim, the
// trailers, closing the files, and the final check.
#include <algorithm>
#include <array>

#include "claim/generations.h"
#include "host/component.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "records/numeric.h"
#include "reports/nac_file.h"
#include "state/messages.h"
#include "state/runlog.h"
#include "x12/envelopes.h"
#include "x12/guide/check.h"
#include "x12/guide/following_check.h"
#include "x12/segments.h"
#include "x12/writer_state.h"

namespace wcomp837 {
namespace {

// The claim still open, then SE, GE and IEA.
constexpr std::array<std::int16_t (*)(Ctx&), 4> kClosingWriters = {
    WriteClaim, [](Ctx& c) { return WriteBatchTrailer(c); },
    [](Ctx& c) { return WriteGroupTrailer(c); }, [](Ctx& c) { return WriteFileTrailer(c); }};

// A charge whose group the host never closed with 6990 may lack companion
// records (other insurances, providers) that change how it is billed: it is
// not billed, and the host is told which record and account it was.
void ReportOpenChargeGroup(Ctx& c) {
  HostState& h = c.g.host;
  if (h.gbThereWasAFatalError || !Received(c.g.records.g_ThisGroup.Charge) ||
      h.glChargeRecordNr == 0) {
    return;
  }
  const TopRecords& top =
      Received(c.g.records.g_ThisTop.Patient) ? c.g.records.g_ThisTop : c.g.records.g_LastTop;
  const Text account = top.Patient[Patient::sAccountNr];
  LogLine(h, "ProcessEndOfFile: charge group left open");
  AddToMessageArray(h, kMsgError,
                    "Record#" + SignedText(h.glChargeRecordNr) + ": the charge of account " +
                        (account.empty() ? Text("(none)") : account) +
                        " has no end of charge group (6990); it was not billed");
}

// The component's last line of defence: the finished claim file is read
// back as a payer's front end reads it (by the check that followed it while
// it was written, when the file still stands as that check read it). Each
// error (not the warnings for the component's documented departures from
// the guide) becomes a message naming the claim, the segment and the rule,
// the first ones only, then a count.
std::int16_t CheckClaimFileAsAPayerWould(Ctx& c, std::int64_t fileLength) {
  HostState& h = c.g.host;
  if (h.glRecordCount == 0 || fileLength <= 0) return 0;
  guide::FollowingCheck* following = c.g.writer.check.get();
  const guide::FindingList* followed = following ? following->Finish(h.gsASCIIFile) : nullptr;
  guide::FindingList readBack(kCheckMessages);
  if (followed == nullptr) guide::CheckFile(h.gsASCIIFile, readBack);
  const guide::FindingList& errors = followed ? *followed : readBack;
  if (errors.kept().empty()) return 0;
  for (const guide::FindingList::Kept& k : errors.kept()) {
    AddToMessageArray(h, kMsgError, "Claim file check: " + k.text);
  }
  if (errors.notKept() > 0) {
    AddToMessageArray(h, kMsgError,
                      "Claim file check:" + SignedText(errors.notKept()) + " more errors");
  }
  return 1;
}

}  // namespace

std::int16_t EndOfBatch(Ctx& c) {
  HostState& h = c.g.host;
  LogLine(h, "ProcessEndOfFile()");
  LogLine(h, "gbThereWasAFatalError = " + BoolText(h.gbThereWasAFatalError));

  std::int16_t result = 0;
  bool writerFailed = false;
  ReportOpenChargeGroup(c);
  if (h.gbThereWasAFatalError || h.giChargeCount <= 0) {
    LogLine(h, "VC++ says there was a Fatal Error (or zero records)");
  } else {
    for (auto writer : kClosingWriters) {
      const std::int16_t r = writer(c);
      result = std::max(result, r);
      if (r == 3) {
        writerFailed = true;
        break;
      }
    }
  }

  if (!writerFailed) {
    const std::int16_t r = CloseASCIIout(c);
    result = std::max(result, r);
    if (r != 3) {
      if (!h.bNACRecordWritten) WriteNACClosingRemark(h);
      LogLine(h, "trying to close _nac.dat file");
      CloseNACFile(h);
    }
  }

  if (MessageCount(h) > 0) {
    LogLine(h, "ProcessEndOfFile:  Had extra messages in error array");
    result = 1;
  }
  CloseLog(h);
  // A run log that could not be written to the end is reported to the host.
  if (result == 0 && MessageCount(h) > 0) result = 1;
  return result;
}

std::int16_t CheckFormattedRecords(Ctx& c) {
  HostState& h = c.g.host;
  LogLine(h, "ProcessFormattedRecords()");
  if (!HaveASCIIFile(h)) return 1;
  // A claim file that lost a write, that a failed end of batch left open, or
  // that never came into being is no finished claim file.
  const OutFile& claims = c.g.writer.ASCIIFile;
  if (claims.failed() != 0) Raise(claims.failed());
  if (claims.IsOpen()) Raise(failure::kFileAlreadyOpen);
  const std::int64_t length = h.glRecordCount > 0 ? RegularFileLength(h.gsASCIIFile) : 0;
  if (length < 0) Raise(failure::kFileNotFound);
  if (MessageCount(h) > 0) {
    LogLine(h, "ProcessFormattedRecords:  Had extra messages in error array");
    return 1;
  }
  return CheckClaimFileAsAPayerWould(c, length);
}

}  // namespace wcomp837
