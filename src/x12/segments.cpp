#include "x12/segments.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string_view>

#include "platform/failure.h"
#include "records/text.h"
#include "state/messages.h"
#include "state/runlog.h"
#include "x12/writer_state.h"

namespace wcomp837 {

std::int16_t OpenASCIIout(const WriterCtx& c) {
  try {
    WriterState& w = c.writer;
    if (w.ASCIIFile.IsOpen()) return 0;
    // Recreate: an earlier claim file of that name is deleted first.
    w.ASCIIFile.Open(c.host.gsASCIIFile, OutFile::Mode::kRecreate);
    // The final check reads the file back as it is written.
    if (!w.check) w.check = std::make_unique<guide::FollowingCheck>(kCheckMessages);
    w.check->Start(c.host.gsASCIIFile, w.ASCIIFile.device(), w.ASCIIFile.inode());
    w.ASCIIFile.Watch(w.check.get());
    return 0;
  } catch (...) {
    AddFailureMessage(c.host, " OpenASCIIout() ", std::current_exception());
    return 3;
  }
}

std::int16_t CloseASCIIout(const WriterCtx& c) {
  try {
    c.writer.ASCIIFile.Close();
    return 0;
  } catch (...) {
    AddFailureMessage(c.host, " CloseASCIIout() ", std::current_exception());
    AddToMessageArray(c.host, kMsgError, "File: " + c.host.gsASCIIFile);
    return 3;
  }
}

void IncrementSegmentCount(const WriterCtx& c) {
  ++c.writer.SegmentCount;
}
void DecrementSegmentCount(const WriterCtx& c) {
  --c.writer.SegmentCount;
}

namespace {
// The text without its trailing blanks, then without the delimiters (its
// own trailing blanks ignored) that end it.
std::string_view Stripped(std::string_view text, std::string_view delimiter) {
  while (!delimiter.empty() && delimiter.back() == ' ') delimiter.remove_suffix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  while (!delimiter.empty() && text.ends_with(delimiter)) text.remove_suffix(delimiter.size());
  return text;
}
}  // namespace

void StripTrailingDelimiters(std::string& text, std::string_view delimiter) {
  text.resize(Stripped(text, delimiter).size());
}

namespace {

// The decimal (type R) elements of the segments an 837 Professional carries:
// amounts, quantities and measurements. Only these take the money rule.
struct DecimalElements {
  std::string_view segment;
  std::initializer_list<int> positions;
};
const DecimalElements kDecimalElements[] = {
    {"AMT", {2}},
    {"CAS", {3, 4, 6, 7, 9, 10, 12, 13, 15, 16, 18, 19}},
    {"CLM", {2}},
    {"CN1", {2, 3, 5}},
    {"CR1", {2, 6}},
    {"CR2", {2, 6, 7}},
    {"CR3", {3}},
    {"CR5", {2, 6, 7, 8, 10, 11, 16}},
    {"CTP", {3, 4, 7, 8}},
    {"CUR", {3}},
    {"DMG", {9}},
    {"FRM", {5}},
    {"HCP", {2, 3, 5, 7, 12}},
    {"HSD", {2, 4}},
    {"MEA", {3, 5, 6}},
    {"MOA", {1, 2, 8, 9}},
    {"PAT", {8}},
    {"PS1", {2}},
    {"SV1", {2, 4, 8, 19}},
    {"SV5", {3, 4, 5}},
    {"SVD", {2, 5}},
};

bool IsDecimalElement(std::string_view segment, int position) {
  for (const DecimalElements& entry : kDecimalElements) {
    if (entry.segment != segment) continue;
    return std::find(entry.positions.begin(), entry.positions.end(), position) !=
           entry.positions.end();
  }
  return false;
}

}  // namespace

namespace {
// True when an element of the segment begins "0.": most segments hold no
// decimal point at all, and the few points are looked at one by one.
bool HasElementStartingZeroPoint(std::string_view segment) {
  for (std::size_t dot = segment.find('.'); dot != std::string_view::npos;
       dot = segment.find('.', dot + 1)) {
    if (dot >= 2 && segment[dot - 1] == '0' && segment[dot - 2] == '*') return true;
  }
  return false;
}
}  // namespace

void ANSI_TrimLeadingZeroOnMoney(std::string& segment) {
  if (!HasElementStartingZeroPoint(segment)) return;
  std::size_t start = segment.find('*');
  if (start == std::string::npos) return;
  const std::string_view id(segment.data(), start);
  int position = 0;
  while (start != std::string::npos) {
    ++position;
    const std::size_t value = start + 1;
    if (value + 1 < segment.size() && segment[value] == '0' && segment[value + 1] == '.' &&
        IsDecimalElement(id, position)) {
      segment.erase(value, 1);
    }
    start = segment.find('*', value);
  }
}

namespace {
// Writes a segment already stripped of its trailing empty elements, the
// money rule applied, with "~"; one that holds nothing but its identifier is
// dropped (and uncounted, unless an envelope segment).
std::int16_t WriteStripped(const WriterCtx& c, std::string_view segment) {
  HostState& h = c.host;
  try {
    if (segment.find('*') == std::string_view::npos) {
      LogLine(h, "#### NOT WRITING OUTPUT REC -- NOTHING BUT RECORD TYPE ####");
      LogLine(h, {"   rec is: ", segment});
      const bool envelope = segment.starts_with("ISA") || segment.starts_with("IEA") ||
                            segment.starts_with("GS") || segment.starts_with("GE");
      if (!envelope) DecrementSegmentCount(c);
      return 0;
    }
    OutFile& out = c.writer.ASCIIFile;
    if (!out.IsOpen()) Raise(failure::kBadFileNumber);
    out.Write({segment, "~"});
    return 0;
  } catch (...) {
    AddFailureMessage(h, " WriteASCIIOUT() ", std::current_exception());
    AddToMessageArray(h, kMsgError, "The Data was: " + std::string(segment));
    return 3;
  }
}
}  // namespace

std::int16_t WriteASCIIOUT(const WriterCtx& c, std::string& segment) {
  StripTrailingDelimiters(segment, "*");
  ANSI_TrimLeadingZeroOnMoney(segment);
  return WriteStripped(c, segment);
}

std::int16_t WriteSegmentText(const WriterCtx& c, std::string_view segment) {
  segment = Stripped(segment, "*");
  if (!HasElementStartingZeroPoint(segment)) return WriteStripped(c, segment);
  // The money rule shortens elements: applied to a copy.
  std::string& text = c.writer.segment;
  text.assign(segment);
  ANSI_TrimLeadingZeroOnMoney(text);
  return WriteStripped(c, text);
}

std::int16_t WriteCountedSegment(const WriterCtx& c, std::string_view segment) {
  IncrementSegmentCount(c);
  return WriteSegmentText(c, segment);
}

std::string DateToCCYYMMDD(std::string_view date) {
  std::string out;
  if (date.size() >= 6 && date.size() <= 8) {
    out.append(date.substr(4)).append(date.substr(0, 4));
  } else {
    out.append(date);
  }
  return out;
}

Text CutTrim(std::string_view text, std::size_t n) {
  return TrimView(text.substr(0, std::min(n, text.size())));
}

}  // namespace wcomp837
