// FormatRecord: counting, the first record's set-up, the record dump, the
// test-claims limit and the record key.
#include <algorithm>

#include "host/component.h"
#include "records/numeric.h"
#include "records/parsers.h"
#include "reports/nac_file.h"
#include "state/messages.h"
#include "state/runlog.h"
#include "x12/segments.h"

namespace wcomp837 {
namespace {

constexpr std::size_t kKeySubmissionNumber = 3;
constexpr std::size_t kKeyRecordType = 10;

// Opens the claim file, the run log (at level 2, whatever the host asked) and
// the _NAC.Dat file at the first record of a batch.
void OpenBatchFiles(Ctx& c) {
  HostState& h = c.g.host;
  OpenASCIIout(c);
  // The log is switched on through the message-5 work; the list is not
  // emptied, so a failure to open the claim file stays visible.
  GuardedHostMessage(c, "5", "2");
  c.o.msLastNACPractice.clear();
  LogLine(h, "opening _nac.dat file");
  OpenNACFileOut(c.g.host, c.g.writer.ASCIIFile);
}

// Stores the key fields; false for a key of fewer than eleven fields (the
// fields before the missing one keep their new values).
bool StoreKeyFields(HostState& h, const std::string& strKey) {
  thread_local std::vector<std::string_view> room;
  return StoreKey(h.keyFields, strKey, room);
}

}  // namespace

std::int16_t FormatOneRecord(Ctx& c, const std::string& strKey, const std::string& sRec,
                             bool& keyTooShort) {
  HostState& h = c.g.host;
  ++h.glRecordCount;
  const bool firstRecord = h.glRecordCount == 1;
  bool setupLeftMessages = false;
  if (firstRecord) {
    if (!HaveASCIIFile(h)) return 1;
    OpenBatchFiles(c);
    setupLeftMessages = MessageCount(h) > 0;
  }

  if (h.giLogLevel != 0 && h.LogFile.IsOpen()) LogRecordDump(h, strKey, sRec);
  LogLine(h, "FormatRecord()");

  if (h.gbTestClaims && h.giclaims_counted >= h.giTestClaims_Ending) {
    LogLine(h,
            "...ignoring, we already have testclaims_ending= " + SignedText(h.giTestClaims_Ending) +
                " claims_counted= " + SignedText(h.giclaims_counted));
    return 0;
  }

  if (!StoreKeyFields(h, strKey)) {
    keyTooShort = true;
    return 3;
  }
  const std::string_view sType = h.keyFields[kKeyRecordType];
  if (firstRecord) {
    c.o.miSubmissionNumber = TextToInt16(h.keyFields[kKeySubmissionNumber]);
    if (sType != "1000") {
      AddToMessageArray(h, kMsgError, "1st Record was not Practice Info (type:1000)");
      AddToMessageArray(h, kMsgError, "Please call support for help");
      return 3;
    }
  }

  // A failure of the end-of-charge sequence answers 3; a parser's failure
  // does not stop the batch and answers 1.
  if (sType == "6990") return EndOfChargeGroup(c);
  std::int16_t result = DispatchRecord(c, sType, sRec);
  if (result == 3) return 1;
  // Messages left by the first record's set-up (a claim file or log that
  // could not be opened) must reach the host.
  if (result == 0 && setupLeftMessages) return 1;
  return result;
}

}  // namespace wcomp837
