#include "e2e/e2e_env.h"

#include <algorithm>

#include "wcomp837/format_class.h"

namespace wcomp837::testing {

void SetField(std::vector<HostRecord>& records, const std::string& type, std::size_t field,
              const std::string& value, int nth) {
  int seen = 0;
  for (HostRecord& r : records) {
    if (r.record.compare(0, type.size() + 2, type + "//") != 0 && r.record != type) continue;
    if (nth >= 0 && seen++ != nth) continue;
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t at; (at = r.record.find("//", start)) != std::string::npos; start = at + 2) {
      fields.push_back(r.record.substr(start, at - start));
    }
    fields.push_back(r.record.substr(start));
    if (fields.size() <= field) fields.resize(field + 1);
    fields[field] = value;
    r.record = fields[0];
    for (std::size_t i = 1; i < fields.size(); ++i) r.record += "//" + fields[i];
  }
}

std::vector<HostRecord> BatchRecords(const std::string& name) {
  return ParseRecordsText(ReadFile(SourceDir() + "/tests/batches/" + name + "/batch.txt"));
}

BatchOutput E2eTest::Run(const std::vector<HostRecord>& records) {
  BatchOutput out;
  Format_Class fc;
  auto take = [&](std::int16_t answer) {
    out.worstAnswer = std::max(out.worstAnswer, answer);
    if (answer == 0) return;
    for (std::int32_t i = 1;; ++i) {
      std::string m = fc.GetAMessage(i);
      if (m == "END") break;
      out.messages.push_back(std::move(m));
    }
  };
  take(fc.HereIsAMessage("1", OutFolder()));
  take(fc.HereIsAMessage("2", "claims.837"));
  for (const HostRecord& r : records) take(fc.FormatRecord(r.key, r.record));
  take(fc.ProcessEndOfFile());
  take(fc.ProcessFormattedRecords());
  out.claimFile = ReadFile(Out("claims.837"));
  out.nacFile = ReadFile(Out("claims.837_NAC.Dat"));
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
