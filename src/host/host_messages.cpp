// HereIsAMessage: the host's settings and commands, one key each.
#include <array>
#include <string_view>

#include "host/component.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "records/numeric.h"
#include "records/parsers.h"
#include "refdata/lookups.h"
#include "reports/nac_file.h"
#include "reports/reports.h"
#include "state/messages.h"
#include "state/runlog.h"

namespace wcomp837 {
namespace {

constexpr const char* kConnectionSuffix = ";UID=qeladmin;PWD=t4mx9kz2pd7w";

std::int16_t SetOutputPath(Ctx& c, const std::string& v) {
  c.g.host.gsOutputPath = v;
  return 0;
}

std::int16_t SetClaimFile(Ctx& c, const std::string& v) {
  HostState& h = c.g.host;
  std::int16_t result = 0;
  if (HaveOutputPath(h)) {
    h.gsASCIIFile = JoinPath(h.gsOutputPath, v);
  } else {
    result = 3;
  }
  if (!h.gsForcedInputFile.empty()) h.gsASCIIFile = h.gsForcedInputFile;
  return result;
}

std::int16_t SetFatalError(Ctx& c, const std::string& v) {
  c.g.host.gbThereWasAFatalError = (v == "Y");
  return 0;
}

std::int16_t SetAdjustmentPair(Ctx& c, const std::string& v) {
  SetAdjustments(c.g.host, v);
  return 0;
}

std::int16_t SetLogLevel(Ctx& c, const std::string& v) {
  HostState& h = c.g.host;
  if (v == "1" || v == "2") {
    h.giLogLevel = static_cast<std::int16_t>(v[0] - '0');
    OpenLog(h);
    LogLine(h, " >>>>> gbDBConnectionIsGood = " + BoolText(h.gbDBConnectionIsGood));
  } else {
    h.giLogLevel = 0;
  }
  return 0;
}

std::int16_t SetTestClaimLimit(Ctx& c, const std::string& v) {
  SetTestClaims(c.g.host, v);
  return 0;
}

std::int16_t SetPrinter(Ctx& c, const std::string& v) {
  c.g.host.gsPrinterName = v;
  if (!v.empty()) SelectPrinter(c, v);
  return 0;
}

std::int16_t ListReports(Ctx& c, const std::string&) {
  AddToMessageArray(c.g.host, kMsgInfo, GetReportList());
  return 0;
}

std::int16_t PrintReport(Ctx& c, const std::string& v) {
  HostState& h = c.g.host;
  DeleteLog(h);
  h.giReportNr = TextToInt16(v);
  Do_Elec_Report(c, h.giReportNr);
  return 0;
}

std::int16_t DeleteBatch(Ctx& c, const std::string&) {
  LogLine(c.g.host, "trying to delete _Nac.dat file");
  KillFile(NACFileName(c.g.host));
  return 0;
}

std::int16_t SelfDescription(Ctx& c, const std::string&) {
  GetBillingComponentManager(c.g.host);
  return 0;
}

std::int16_t SetConnectionString(Ctx& c, const std::string& v) {
  c.g.host.gsConnectionString = "DSN=" + v + kConnectionSuffix;
  SetSchemaAndConnect(c);
  return 0;
}

std::int16_t SetBatchRowID(Ctx& c, const std::string& v) {
  c.g.host.gsBatchRowID = v;
  return 0;
}

std::int16_t SetUserName(Ctx& c, const std::string& v) {
  c.g.host.gsUserName = v;
  return 0;
}

std::int16_t AddVersion(Ctx& c, const std::string&) {
  AddToMessageArray(c.g.host, kMsgInfo, ComponentVersion());
  return 0;
}

std::int16_t AddClaimTotal(Ctx& c, const std::string&) {
  AddToMessageArray(c.g.host, kMsgInfo,
                    "TOTALCLAIMS//" + std::to_string(c.g.host.glTotalClaims) + "//");
  return 0;
}

// How a key answers: with the value its handler returns, or with the highest
// message type in the list after its work.
enum class Answer { kFixed, kHighestMessageType };

struct KeyRoute {
  std::string_view key;
  std::int16_t (*handler)(Ctx&, const std::string&);
  Answer answer;
};

constexpr std::array<KeyRoute, 16> kKeys = {{
    {"1", SetOutputPath, Answer::kFixed},
    {"2", SetClaimFile, Answer::kFixed},
    {"3", SetFatalError, Answer::kFixed},
    {"4", SetAdjustmentPair, Answer::kFixed},
    {"5", SetLogLevel, Answer::kFixed},
    {"6", SetTestClaimLimit, Answer::kFixed},
    {"7", SetPrinter, Answer::kFixed},
    {"8", ListReports, Answer::kHighestMessageType},
    {"9", PrintReport, Answer::kHighestMessageType},
    {"DELETEBATCH", DeleteBatch, Answer::kHighestMessageType},
    {"BCM-1", SelfDescription, Answer::kHighestMessageType},
    {"CONNECTIONSTRING", SetConnectionString, Answer::kFixed},
    {"BATCHROWID", SetBatchRowID, Answer::kFixed},
    {"TOVIXUSER", SetUserName, Answer::kHighestMessageType},
    {"VER", AddVersion, Answer::kHighestMessageType},
    {"HOW_MANY_CLAIMS", AddClaimTotal, Answer::kHighestMessageType},
}};

// The numeric value of an adjustment of message 4: four characters and a sign.
float Adjustment(const std::string& v, std::size_t start) {
  float value = static_cast<float>(NumericValue(v.substr(start, 4)));
  return v[start + 4] == '-' ? -value : value;
}

}  // namespace

std::int16_t HandleHostMessage(Ctx& c, const std::string& sMsgNr, const std::string& sMsg) {
  for (const KeyRoute& route : kKeys) {
    if (route.key != sMsgNr) continue;
    std::int16_t fixed = route.handler(c, sMsg);
    return route.answer == Answer::kFixed ? fixed : HighestMessageType(c.g.host);
  }
  return HighestMessageType(c.g.host);
}

std::int16_t GuardedHostMessage(Ctx& c, const std::string& sMsgNr, const std::string& sMsg) {
  try {
    return HandleHostMessage(c, sMsgNr, sMsg);
  } catch (...) {
    try {
      c.o.msErrorMsg =
          AddFailureMessage(c.g.host, "  HereIsAMessage()  Error: ", std::current_exception());
    } catch (...) {
      // Nothing more can be reported.
    }
    return 3;
  }
}

bool HaveOutputPath(HostState& h) {
  try {
    if (h.gsOutputPath != "?") return true;
    AddToMessageArray(
        h, kMsgError,
        "Output Path was not set. " + h.gsDllName + " doesn't know where to read/write files");
  } catch (...) {
    AddFailureMessage(h, " had a problem in HaveOutputPath()  Error:", std::current_exception());
  }
  return false;
}

bool HaveASCIIFile(HostState& h) {
  try {
    if (h.gsASCIIFile != "?") return true;
    AddToMessageArray(h, kMsgError,
                      "ASCII file name and path were not set. " + h.gsDllName +
                          " doesn't know what file to read/write.");
  } catch (...) {
    AddFailureMessage(h, " had a problem in HaveOutputPath()  Error:", std::current_exception());
  }
  return false;
}

void SetTestClaims(HostState& h, const std::string& sMsg) {
  std::vector<std::string> fields;
  SplitFields(sMsg, fields, "//");
  h.giTestClaims_Starting = 0;
  h.giTestClaims_Ending = 0;
  if (!fields.empty() && !fields[0].empty()) h.giTestClaims_Starting = TextToInt16(fields[0]);
  // The end number's field must be there: a value without "//" is refused.
  if (sMsg.find("//") == std::string::npos) Raise(failure::kSubscript);
  if (fields.size() > 1 && !fields[1].empty()) h.giTestClaims_Ending = TextToInt16(fields[1]);
  h.gbTestClaims = true;
  if (h.giTestClaims_Ending == 0) {
    h.gbTestClaims = false;
    return;
  }
  if (h.giTestClaims_Starting == 0) h.giTestClaims_Starting = 1;
}

void SetAdjustments(HostState& h, const std::string& sMsg) {
  if (sMsg.size() <= 9) return;
  h.gsngAdjustment1 = Adjustment(sMsg, 0);
  h.gsngAdjustment2 = Adjustment(sMsg, 5);
}

}  // namespace wcomp837
