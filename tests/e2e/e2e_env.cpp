#include "e2e/e2e_env.h"

#include <algorithm>

#include "e2e/guide_validator.h"
#include "wcomp837/format_class.h"

namespace wcomp837::testing {

namespace {

// Where the component's documented output departs from the implementation
// guide, the documented output holds. Each entry is a departure key of the
// guide validator.
const char* const kDocumentedDepartures[] = {
    // The billing provider contact is written as "PER*IC**TE*" and the
    // practice phone: no contact name, whatever the billing option.
    "2010AA PER02 required element empty",
    // Line paperwork ("~DI01~"/"~DI02~" keys) is written as PWK*OZ*BM or
    // PWK*OZ*FX; the guide's only line PWK is the DMERC CMN indicator (CT).
    "2400 PWK01 code not listed",
    "2400 PWK02 code not listed",
};

bool Documented(const std::string& key) {
  return std::find(std::begin(kDocumentedDepartures), std::end(kDocumentedDepartures), key) !=
         std::end(kDocumentedDepartures);
}

}  // namespace

std::vector<HostRecord> ReadRecords(const std::string& text) {
  return testing::ParseRecordsText(text);
}

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
  return ReadRecords(ReadFile(SourceDir() + "/tests/batches/" + name + "/batch.txt"));
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
  out.claimFile = ReadFile(Out("claims.837"));
  out.nacFile = ReadFile(Out("claims.837_NAC.Dat"));
  return out;
}

std::vector<std::string> SegmentsOf(const std::string& claimFile) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t end; (end = claimFile.find('~', start)) != std::string::npos; start = end + 1) {
    out.push_back(claimFile.substr(start, end - start));
  }
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

std::vector<std::string> UnexplainedDepartures(const std::string& claimFile) {
  std::vector<std::string> out;
  for (const GuideDeparture& d : Guide::Shared().Validate(claimFile)) {
    if (!Documented(d.key)) out.push_back(d.key + " (" + d.detail + ")");
  }
  return out;
}

}  // namespace wcomp837::testing
