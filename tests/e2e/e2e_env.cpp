#include "e2e/e2e_env.h"

#include <algorithm>

#include "wcomp837/format_class.h"

namespace wcomp837::testing {

void SetField(std::vector<HostRecord>& records, const std::string& type, std::size_t field,
              const std::string& value, int nth) {
  int seen = 0;
  for (HostRecord& r : records) {
    if (!r.record.starts_with(type + "//") && r.record != type) continue;
    if (nth >= 0 && seen++ != nth) continue;
    std::vector<std::string> fields = Fields(r.record);
    if (fields.size() <= field) fields.resize(field + 1);
    fields[field] = value;
    r.record = Joined(fields);
  }
}

std::vector<HostRecord> BatchRecords(const std::string& name) {
  return ParseRecordsText(ReadFile(SourceDir() + "/tests/batches/" + name + "/batch.txt"));
}

BatchOutput E2eTest::Run(const std::vector<HostRecord>& records) {
  Format_Class fc;
  const HostView view = RunBatch(fc, OutFolder(), "claims.837", records);
  BatchOutput out;
  out.messages = view.messages;
  out.worstAnswer = std::max(view.endOfFile, view.finalCheck);
  for (std::int16_t r : view.recordResults) out.worstAnswer = std::max(out.worstAnswer, r);
  out.claimFile = ReadFile(Out("claims.837"));
  out.nacFile = ReadFile(Out("claims.837_NAC.Dat"));
  out.runLog = ReplaceAll(
      ReplaceAll(ReadFile(Out("QZK_WCOMP_P4_Format.Log")), ComponentFolder(), "COMPONENT"),
      OutFolder(), "OUT");
  return out;
}

std::vector<std::string> Starting(const std::vector<std::string>& segments,
                                  const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& s : segments) {
    if (s.compare(0, prefix.size(), prefix) == 0) out.push_back(s);
  }
  return out;
}

}  // namespace wcomp837::testing
