// A batch driven record by record through the component's own dispatch (the
// FormatRecord order: parsers, end of charge, breaks, copies, service lines),
// with the claim file, _NAC.Dat file and a level-2 run log in a temporary
// folder. Records are built from a few named fields; the rest stay empty.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "claim/generations.h"
#include "claim/tables.h"
#include "host/component.h"
#include "reports/nac_file.h"
#include "state/messages.h"
#include "state/runlog.h"
#include "support/test_support.h"
#include "x12/segments.h"

namespace wcomp837::testing {

using FieldValues = std::vector<std::pair<std::size_t, std::string>>;

// A record text of `count` fields: field 0 the tag, the named fields set
// (a later value for the same field wins), the others `filler`. The last
// field is never empty (a trailing "//" would drop it).
inline std::string MakeRecord(const std::string& tag, std::size_t count, const FieldValues& values,
                              const std::string& filler = "") {
  std::vector<std::string> fields(count, filler);
  fields[0] = tag;
  if (fields[count - 1].empty()) fields[count - 1] = "0";
  for (const auto& [index, value] : values) fields.at(index) = value;
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) text += "//";
    text += fields[i];
  }
  return text;
}

class ClaimBatch {
 public:
  ClaimBatch() {
    HostState& h = g.host;
    h.gsOutputPath = dir.path();
    h.gsASCIIFile = dir.File("claims.837");
    h.giLogLevel = 2;
    OpenLog(h);
    InitializeClaimTables(c);
    o.miSubmissionNumber = 12;
    EXPECT_EQ(OpenASCIIout(c), 0);
    EXPECT_EQ(OpenNACFileOut(c), 0);
  }
  ~ClaimBatch() {
    CloseASCIIout(c);
    CloseNACFile(c);
    CloseLog(g.host);
  }

  std::int16_t Feed(const std::string& type, const std::string& rec) {
    return type == "6990" ? EndOfChargeGroup(c) : DispatchRecord(c, type, rec);
  }

  // Top records of one claim: practice, submitter, billing provider,
  // insurance, calculation and break preferences, patient, subscriber.
  void Practice(const std::string& code = "P1") {
    Feed("1000", MakeRecord("1000", 21, {{1, code}, {2, "CLINIC"}, {13, "123456789"}}));
  }
  void Submitter() { Feed("1050", MakeRecord("1050", 30, {{1, "SUB1"}, {3, "SENDER"}})); }
  void BProvider() { Feed("2000", MakeRecord("2000", 33, {{1, "BP1"}, {3, "DOE"}})); }
  void Insurance(const std::string& provider1 = "PRV1", const std::string& code = "INS01") {
    Feed("3000",
         MakeRecord(
             "3000", 33,
             {{1, code}, {2, "PAY01"}, {3, "PAYER"}, {17, provider1}, {18, "ALT9"}, {19, "WC"}}));
  }
  void CalcPref(const std::string& billingOption = "0") {
    Feed("3100", MakeRecord("3100", 12, {{6, billingOption}}));
  }
  // Break switches: field number to "1".
  void BreakPref(const std::vector<std::size_t>& on = {}) {
    FieldValues values;
    for (std::size_t f : on) values.emplace_back(f, "1");
    Feed("3101", MakeRecord("3101", 25, values, "0"));
  }
  void Patient(const std::string& last = "SMITH") {
    Feed("4000", MakeRecord("4000", 50, {{1, "ACC1"}, {3, "JOHN"}, {4, last}}));
  }
  void Subscriber() {
    Feed("5000", MakeRecord("5000", 65, {{4, "POL1"}, {15, "SLF"}, {18, "JOHN"}, {19, "SMITH"}}));
  }
  void TopRecords(const std::vector<std::size_t>& breakOn = {}) {
    Practice();
    Submitter();
    BProvider();
    Insurance();
    CalcPref();
    BreakPref(breakOn);
    Patient();
    Subscriber();
  }

  // One charge group closed by 6990; `extra` overrides charge fields and the
  // companion records (type, record) follow the charge.
  std::int16_t Charge(const std::string& procedure, const FieldValues& extra = {},
                      const std::vector<std::pair<std::string, std::string>>& companions = {}) {
    FieldValues values = {{1, "100"},       {3, "1"},  {6, procedure}, {25, "11"},
                          {28, "7231"},     {42, "1"}, {43, "100.00"}, {53, "01152023"},
                          {55, "01152023"}, {70, "1"}};
    values.insert(values.end(), extra.begin(), extra.end());
    EXPECT_EQ(Feed("6000", MakeRecord("6000", 88, values)), 0);
    for (const auto& [type, rec] : companions) EXPECT_EQ(Feed(type, rec), 0) << type;
    return Feed("6990", "6990");
  }

  // Lines of the claim being built.
  int OpenLines() const {
    int n = 0;
    for (std::size_t i = 1; i < g.claim.DETAILArray.size(); ++i) {
      if (g.claim.DETAILArray[i].sUsed == "Y") ++n;
    }
    return n;
  }
  std::int64_t ClaimsWritten() const { return g.host.glTotalClaims; }

  // The run log so far (closes it: call once, at the end of a test).
  std::string Log() {
    CloseLog(g.host);
    return ReadFile(LogFileName(g.host));
  }

  TempDir dir;
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
};

// Log lines in order, without their quotes.
inline std::vector<std::string> LogLines(const std::string& log) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < log.size()) {
    std::size_t end = log.find("\r\n", start);
    if (end == std::string::npos) end = log.size();
    std::string line = log.substr(start, end - start);
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"') {
      line = line.substr(1, line.size() - 2);
    }
    lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

inline int CountLines(const std::vector<std::string>& lines, const std::string& text) {
  int n = 0;
  for (const std::string& l : lines) n += l == text ? 1 : 0;
  return n;
}

}  // namespace wcomp837::testing
