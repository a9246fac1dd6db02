// The run log beside the claim file: quoted lines, header and trailer,
// levels, deletion.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "state/host_state.h"

namespace wcomp837 {

std::string LogFileName(const HostState& h);
void OpenLog(HostState& h);
void CloseLog(HostState& h);
void DeleteLog(HostState& h);
// Writes one line when the log is open and the level is 2. A line is
// copied in place when the log's buffer has room for it (nearly always:
// inlined, a literal costs a few moves); otherwise it is written out of line.
void LogLineOutOfLine(HostState& h, std::string_view text);
inline void LogLine(HostState& h, std::string_view text) {
  if (h.giLogLevel < 2) return;
  if (!h.LogFile.WriteBetweenIfRoom("\"", {text}, "\"\r\n")) LogLineOutOfLine(h, text);
}
// The same for a line given in parts (texts, Signed(n) numbers), written as
// they are without building the line first.
void LogLineOutOfLine(HostState& h, std::initializer_list<std::string_view> parts);
inline void LogLine(HostState& h, std::initializer_list<std::string_view> parts) {
  if (h.giLogLevel < 2) return;
  if (!h.LogFile.WriteBetweenIfRoom("\"", parts, "\"\r\n")) LogLineOutOfLine(h, parts);
}
inline bool LogDetailed(const HostState& h) {
  return h.LogFile.IsOpen() && h.giLogLevel >= 2;
}
// The record dump: record number, key and record as three quoted items.
void LogRecordDump(HostState& h, std::string_view key, std::string_view record);

}  // namespace wcomp837
