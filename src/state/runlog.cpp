#include "state/runlog.h"

#include "platform/clock.h"
#include "platform/failure.h"
#include "state/messages.h"
#include "state/signed_text.h"

namespace wcomp837 {
namespace {
constexpr std::size_t kLogBlock = 512 * 1024;

void WriteQuoted(HostState& h, std::string_view text) {
  h.LogFile.WriteBetween("\"", {text}, "\"\r\n");
}
}  // namespace

std::string LogFileName(const HostState& h) {
  std::string folder = (!h.gsOutputPath.empty() && h.gsOutputPath[0] == '?') ? "" : h.gsOutputPath;
  return folder + "/" + kComponentBaseName + ".Log";
}

void OpenLog(HostState& h) {
  if (h.LogFile.IsOpen()) return;
  try {
    DateTime now = Now();
    h.LogFile.Open(LogFileName(h), OutFile::Mode::kAppend);
    // The run log is most of what a batch writes: it is written in large
    // blocks, while the batch goes on.
    h.LogFile.WriteInBackground(kLogBlock);
    WriteQuoted(h, "***");
    WriteQuoted(h, "*** Opened on: " + LongDate(now) + " " + Time24(now));
    WriteQuoted(h, "***");
    WriteQuoted(h, "giTestClaims_Starting = " + SignedText(h.giTestClaims_Starting));
    WriteQuoted(h, "giTestClaims_Ending = " + SignedText(h.giTestClaims_Ending));
    LogLine(h, " >>>>> gbDBConnectionIsGood = " + BoolText(h.gbDBConnectionIsGood));
  } catch (...) {
    Failure f = CurrentFailure(std::current_exception());
    h.LogFile.Abandon();
    if (f.number == failure::kFileAlreadyOpen) {
      h.giLogLevel = 0;
    } else {
      AddFailureMessage(h, " OpenLog()  Error: ", f);
    }
  }
}

void CloseLog(HostState& h) {
  if (h.LogFile.IsOpen()) {
    try {
      DateTime now = Now();
      WriteQuoted(h, "***");
      WriteQuoted(h, "*** Closed on: " + LongDate(now) + " " + Time24(now));
      WriteQuoted(h, "***");
      h.LogFile.Close();
    } catch (...) {
      h.LogFile.Abandon();
      AddFailureMessage(h, " CloseLog() ", std::current_exception());
    }
  }
  h.giLogLevel = 0;
}

void DeleteLog(HostState& h) {
  try {
    CloseLog(h);
    KillFile(LogFileName(h));
  } catch (...) {
    AddFailureMessage(h, " DeleteLog()  Error: ", std::current_exception());
  }
}

namespace {
// A write that fails closes the log: the failure reaches the routine that
// was writing, which reports it, and the rest of the batch runs without a log
// instead of failing again at every later line.
template <typename Write>
void WriteOrCloseLog(HostState& h, Write&& write) {
  try {
    write();
  } catch (...) {
    h.LogFile.Abandon();
    throw;
  }
}
}  // namespace

void LogLineOutOfLine(HostState& h, std::string_view text) {
  if (h.LogFile.IsOpen() && h.giLogLevel >= 2) WriteOrCloseLog(h, [&] { WriteQuoted(h, text); });
}

void LogLineOutOfLine(HostState& h, std::initializer_list<std::string_view> parts) {
  if (!h.LogFile.IsOpen() || h.giLogLevel < 2) return;
  WriteOrCloseLog(h, [&] { h.LogFile.WriteBetween("\"", parts, "\"\r\n"); });
}

void LogRecordDump(HostState& h, std::string_view key, std::string_view record) {
  if (!h.LogFile.IsOpen()) return;
  const Signed number(h.glRecordCount);
  WriteOrCloseLog(h, [&] {
    h.LogFile.Write({"\"", number, "\",\"", key, "\",\"", record, "\"\r\n"});
  });
}

}  // namespace wcomp837
