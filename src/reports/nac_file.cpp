// The _NAC.Dat file: a quoted text line per record, CR LF line ends.
#include "reports/nac_file.h"

#include <array>
#include <initializer_list>
#include <string_view>

#include "platform/clock.h"
#include "records/text.h"
#include "state/messages.h"
#include "state/runlog.h"

namespace wcomp837 {
namespace {

constexpr std::size_t kNACRecordWidth = 85;
constexpr std::size_t kRuleWidth = 70;

// The columns of a service line record and of the header's column titles.
struct NACColumn {
  std::size_t column;  // 1-based
  std::size_t width;
};
enum NACField : std::size_t { kPatientCol, kDateCol, kProcCol, kInsCol, kNACFields };
constexpr std::array<NACColumn, kNACFields> kNACLayout = {{{1, 45}, {50, 8}, {60, 5}, {68, 10}}};
constexpr std::array<const char*, kNACFields> kNACTitles = {"Patient", "SrvDate", "Proc", "Ins"};

constexpr const char* kNACTitleLine =
    "This is a list of patients who have secondaries missing Adjustment Reason Codes";
constexpr const char* kNACClosingRemark =
    "No secondaries without Adjustment Reason Codes were found.";

// Values laid into their windows of a blank line, each cut to its width;
// trailing blanks are kept up to `width`, or dropped when width is 0.
// The line is built in `line`, whose buffer is reused.
void LayOut(const std::array<std::string_view, kNACFields>& values, std::size_t width,
            std::string& line) {
  line.assign(kNACRecordWidth, ' ');
  for (std::size_t i = 0; i < kNACFields; ++i) {
    const std::string_view v = values[i].substr(0, kNACLayout[i].width);
    line.replace(kNACLayout[i].column - 1, v.size(), v);
  }
  if (width == 0) {
    line.erase(0, line.size() - LTrimView(line).size());
    line.resize(RTrimView(line).size());
  } else {
    line.resize(width);
  }
}

// Writes one record, given in one or more parts, as a quoted line. A double
// quote in the text would end the quoted item early when the file is read
// back; it becomes an apostrophe.
void WriteQuotedLine(HostState& h, std::initializer_list<std::string_view> parts) {
  thread_local std::string quoted;
  quoted.clear();
  for (std::string_view part : parts) quoted.append(part);
  for (char& ch : quoted) {
    if (ch == '"') ch = '\'';
  }
  h.NACFile.Write({"\"", quoted, "\"\r\n"});
}

std::int16_t Fail(HostState& h, const char* routineText) {
  AddFailureMessage(h, routineText, std::current_exception());
  return 3;
}

}  // namespace

std::string NACFileName(const HostState& h) {
  return h.gsASCIIFile + "_NAC.Dat";
}

const std::string& FormatNACRecord(const PatientRec& patient, const ChargeRec& charge,
                                   const OInsuranceRec& priorInsurance) {
  thread_local std::string name;
  thread_local std::string record;
  name.assign(TrimView(patient[Patient::sAccountNr]))
      .append(" ")
      .append(TrimView(patient[Patient::sLastName]))
      .append(", ")
      .append(TrimView(patient[Patient::sFirstName]));
  LayOut({name, charge[Charge::sFromDate], charge[kChargeField5],
          priorInsurance[OInsurance::sInsuranceCode]},
         kNACRecordWidth, record);
  return record;
}

std::int16_t OpenNACFileOut(HostState& h, const OutFile& claimFile) {
  try {
    std::string name = NACFileName(h);
    h.bNACRecordWritten = false;
    if (!h.NACFile.IsOpen()) {
      // The file takes the lowest free file number: the batch's files are
      // only ever opened before it (claim file, then run log), so that is
      // one past the ones open now. Recreate: an earlier file of that name
      // is deleted first.
      const int number = 1 + (claimFile.IsOpen() ? 1 : 0) + (h.LogFile.IsOpen() ? 1 : 0);
      LogLine(h, "opennacfileout: trying to open _nac.dat " + std::to_string(number));
      h.NACFile.Open(name, OutFile::Mode::kRecreate);
    }
    return 0;
  } catch (...) {
    return Fail(h, " OpenNACFileOut()  Error: ");
  }
}

std::int16_t WriteNACPracticeHeader(HostState& h, const PracticeRec& p,
                                    std::string& msLastNACPractice) {
  try {
    msLastNACPractice = p[Practice::sPracticeCode];
    if (!h.NACFile.IsOpen()) return 0;
    // The column titles and the rule never change: laid out once.
    static const std::string titleLine = [] {
      std::array<std::string_view, kNACFields> titles;
      for (std::size_t i = 0; i < kNACFields; ++i) titles[i] = kNACTitles[i];
      std::string line;
      LayOut(titles, 0, line);
      return line;
    }();
    static const std::string rule(kRuleWidth, '-');
    const DateBuffer date = GeneralDateText(Now());
    WriteQuotedLine(h, {date.view()});
    WriteQuotedLine(h, {p[Practice::sPracticeCode], " ", p[Practice::sName]});
    for (std::string_view line :
         {std::string_view(" "), std::string_view(kNACTitleLine), std::string_view(),
          std::string_view(titleLine), std::string_view(rule), std::string_view()}) {
      WriteQuotedLine(h, {line});
    }
    return 0;
  } catch (...) {
    return Fail(h, " WriteNACPracticeHeader()  Error: ");
  }
}

std::int16_t WriteNACRecord(HostState& h, const std::string& record) {
  try {
    if (!h.NACFile.IsOpen()) return 0;
    WriteQuotedLine(h, {record});
    h.bNACRecordWritten = true;
    return 0;
  } catch (...) {
    return Fail(h, " WriteNACRecord()  Error: ");
  }
}

std::int16_t WriteNACClosingRemark(HostState& h) {
  try {
    if (h.bNACRecordWritten || !h.NACFile.IsOpen()) return 0;
    WriteQuotedLine(h, {kNACClosingRemark});
    return 0;
  } catch (...) {
    return Fail(h, " WriteNACClosingRemark()  Error: ");
  }
}

std::int16_t CloseNACFile(HostState& h) {
  try {
    if (h.NACFile.IsOpen()) h.NACFile.Close();
    return 0;
  } catch (...) {
    AddFailureMessage(h, " CloseNACFile()  Error: ", std::current_exception());
    AddToMessageArray(h, kMsgError, "File: " + NACFileName(h));
    return 3;
  }
}

}  // namespace wcomp837
