// Extended-data records: key/value fields packed into one "~"-separated
// text, and the merge of a charge's sets at the end of the charge.
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
    std::vector<std::string> fields;
    SplitFields(rec, fields, "//");
    out[ExtData::sRecordTag] = fields.at(0);
    std::string& data = out[ExtData::sExtData];
    data.clear();
    for (std::size_t i = 1; i < fields.size(); ++i) {
      if (i % 2 == 1) {
        data += "~" + Left(fields[i], kKeyLength);
      } else {
        data += fields[i];
      }
    }
    if (!data.empty()) data += "~";
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
    for (int k = 1; k <= kSlots; ++k) {
      std::string& second = group.SecondSet(k)[ExtData::sExtData];
      if (second.empty()) second = "~";
    }
    for (int k : kMergeOrder) {
      std::string& second = group.SecondSet(k)[ExtData::sExtData];
      const std::string& first = group.FirstSet(k)[ExtData::sExtData];
      const std::string& top =
          c.g.g_ThisTop.ExtData[static_cast<std::size_t>(k - 1)][ExtData::sExtData];
      // Each list starts with its own "~": the one ending the list before serves.
      if (!first.empty()) second.append(first, 1);
      if (!top.empty()) second.append(top, 1);
      if (second == "~") second.clear();
    }
    return 0;
  } catch (...) {
    AddFailureMessage(c.g.host, " Append26ExtData() ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
