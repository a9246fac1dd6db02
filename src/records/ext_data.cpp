// Extended-data records: key/value fields packed into one "~"-separated
// text, and the merge of a charge's sets at the end of the charge.
#include <utility>

#include "records/parsers.h"
#include "records/text.h"
#include "state/messages.h"
#include "state/runlog.h"

namespace wcomp837 {
namespace {

constexpr std::size_t kKeyLength = 5;
constexpr int kSlots = 5;
// The order in which the slots are merged.
constexpr int kMergeOrder[kSlots] = {5, 1, 4, 3, 2};

}  // namespace

std::int16_t ParseExtDataRec(Ctx& c, const std::string& rec, ExtDataRec& out) {
  try {
    LogLine(c.g.host, "ExtDataStruct()");
    thread_local std::vector<std::string_view> fields;
    thread_local std::string data;
    SplitFields(rec, fields, "//");
    data.clear();
    for (std::size_t i = 1; i < fields.size(); ++i) {
      if (i % 2 == 1) {
        data += '~';
        data += fields[i].substr(0, kKeyLength);
      } else {
        data += fields[i];
      }
    }
    if (!data.empty()) data += "~";
    out[ExtData::sRecordTag] = fields.at(0);
    out[ExtData::sExtData] = data;
    return 0;
  } catch (...) {
    AddFailureMessage(c.g.host, " ParseExtDataRec()  Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t Append26ExtData(Ctx& c) {
  try {
    LogLine(c.g.host, "Append26ExtData()");
    ChargeGroup& group = c.g.g_ThisGroup;
    thread_local std::string merged;
    for (int k : kMergeOrder) {
      const Text second = group.SecondSet(k)[ExtData::sExtData];
      const Text first = std::as_const(group).FirstSet(k)[ExtData::sExtData];
      const Text top =
          std::as_const(c.g.g_ThisTop).ExtData[static_cast<std::size_t>(k - 1)][ExtData::sExtData];
      // Each list starts with its own "~": the one ending the list before serves.
      merged.assign(second.empty() ? std::string_view("~") : std::string_view(second));
      if (!first.empty()) merged.append(first.substr(1));
      if (!top.empty()) merged.append(top.substr(1));
      if (merged == "~") merged.clear();
      group.SecondSet(k)[ExtData::sExtData] = merged;
    }
    return 0;
  } catch (...) {
    AddFailureMessage(c.g.host, " Append26ExtData() ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
