// Extended-data records: key/value fields packed into one "~"-separated
// text, and the merge of a charge's sets at the end of the charge.
#include <array>
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

std::int16_t ParseExtDataRec(const RecordCtx& c, const std::string& rec, ExtDataRec& out) {
  try {
    LogLine(c.host, "ExtDataStruct()");
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
    AddFailureMessage(c.host, " ParseExtDataRec()  Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t Append26ExtData(const RecordCtx& c) {
  try {
    LogLine(c.host, "Append26ExtData()");
    ChargeGroup& group = c.records.g_ThisGroup;
    thread_local std::string merged;
    for (int k : kMergeOrder) {
      const Text second = group.SecondSet(k)[ExtData::sExtData];
      const Text first = std::as_const(group).FirstSet(k)[ExtData::sExtData];
      const Text top = std::as_const(c.records.g_ThisTop)
                           .ExtData[static_cast<std::size_t>(k - 1)][ExtData::sExtData];
      // Each list starts with its own "~": the one ending the list before serves.
      merged.assign(second.empty() ? std::string_view("~") : std::string_view(second));
      if (!first.empty()) merged.append(first.substr(1));
      if (!top.empty()) merged.append(top.substr(1));
      if (merged == "~") merged.clear();
      group.SecondSet(k)[ExtData::sExtData] = merged;
    }
    return 0;
  } catch (...) {
    AddFailureMessage(c.host, " Append26ExtData() ", std::current_exception());
    return 3;
  }
}

std::string_view ExtDataValueIn(std::string_view sExtData, std::string_view sKey) {
  for (std::size_t p = sExtData.find(sKey); p != std::string_view::npos;
       p = sExtData.find(sKey, p + 1)) {
    if (p == 0 || sExtData[p - 1] != '~') continue;
    // The value follows the "~" and the five key characters.
    const std::size_t start = p - 1 + 6;
    if (start >= sExtData.size()) return {};
    const std::size_t end = sExtData.find('~', start);
    return sExtData.substr(start,
                           end == std::string_view::npos ? std::string_view::npos : end - start);
  }
  return {};
}

bool FindExtDataValue(std::string_view sExtData, std::string_view sKey, std::string& sValue) {
  sValue.assign(ExtDataValueIn(sExtData, sKey));
  return !sValue.empty();
}

bool GetExtDataValue(const ChargeGroup& group, const TopRecords& top, std::int16_t iSlot,
                     const std::string& sKey, std::string& sValue) {
  sValue.clear();
  if (iSlot < 1 || iSlot > 5) return false;
  const std::array<const ExtDataRec*, 3> sources = {
      &group.SecondSet(iSlot), &group.FirstSet(iSlot),
      &top.ExtData[static_cast<std::size_t>(iSlot - 1)]};
  for (const ExtDataRec* rec : sources) {
    if (FindExtDataValue((*rec)[ExtData::sExtData], sKey, sValue)) return true;
  }
  return false;
}

}  // namespace wcomp837
