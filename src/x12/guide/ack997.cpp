#include "x12/guide/ack997.h"

#include <fmt/format.h>

#include "platform/clock.h"
#include "x12/guide/element_check.h"
#include "x12/guide/segment_view.h"
#include "x12/guide/tables.h"

namespace wcomp837::guide {
namespace {

// An AK3 carries at most this many AK4.
constexpr int kMaxElementNotes = 99;

// A value as it may stand in the acknowledgment: printable, without its
// separators, cut to max characters.
std::string Clean(std::string_view v, std::size_t max) {
  std::string out;
  for (char ch : v) {
    if (out.size() == max) break;
    if (IsX12Character(ch) && ch != '*' && ch != ':' && ch != '~') out += ch;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// A value of at least two characters, or the fallback.
std::string Named(std::string_view v, std::size_t max, std::string_view fallback) {
  std::string out = Clean(v, max);
  return out.size() < 2 ? std::string(fallback) : out;
}

std::string Padded(std::string_view v, std::size_t width, std::string_view fallback) {
  std::string out = Named(v, width, fallback);
  out.resize(width, ' ');
  return out;
}

// An interchange ID qualifier of the guide's list, else "ZZ" (mutually
// defined).
std::string Qualifier(std::string_view v) {
  const GuideTables& t = Tables();
  const ElementDef* e = ElementAt(t, t.segments[t.isa], 5);
  return e && InCodes(t, e->codesBegin, e->codesCount, v) ? std::string(v) : "ZZ";
}

bool Digits(std::string_view v) {
  return !v.empty() && v.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

void AckWriter::Put(std::initializer_list<std::string_view> elements) {
  bool first = true;
  for (std::string_view e : elements) {
    if (!first) out_.Write("*");
    out_.Write(e);
    first = false;
  }
  out_.Write("~");
  ++counted_;
}

// The acknowledgment goes from the receiver of the checked interchange back
// to its sender, under the same control number.
void AckWriter::Interchange(const InterchangeInfo& info) {
  if (interchangeSeen_) return;
  interchangeSeen_ = true;
  senderQualifier_ = Qualifier(info.receiverQualifier);
  sender_ = Padded(info.receiver, 15, "RECEIVER");
  receiverQualifier_ = Qualifier(info.senderQualifier);
  receiver_ = Padded(info.sender, 15, "SENDER");
  control_ =
      info.control.size() == 9 && Digits(info.control) ? std::string(info.control) : "000000001";
  usage_ = std::string(1, info.usage == "T" ? 'T' : 'P');
}

void AckWriter::GroupStart(const GroupInfo& group) {
  if (!begun_) {
    begun_ = true;
    if (!interchangeSeen_) Interchange({});
    out_.Open(path_, OutFile::Mode::kNamedByUser);
    const DateTime now = Now();
    const std::string date = fmt::format("{:04}{:02}{:02}", now.year, now.month, now.day);
    const std::string time = fmt::format("{:02}{:02}", now.hour, now.minute);
    Put({"ISA", "00", "          ", "00", "          ", senderQualifier_, sender_,
         receiverQualifier_, receiver_, std::string_view(date).substr(2), time, "U", "00401",
         control_, "0", usage_, ":"});
    Put({"GS", "FA", Named(group.receiver, 15, "RECEIVER"), Named(group.sender, 15, "SENDER"), date,
         time, "1", "X", "004010"});
  }
  ++acknowledgments_;
  counted_ = 0;
  inGroup_ = true;
  const std::string control = fmt::format("{:04}", acknowledgments_);
  Put({"ST", "997", control});
  // The group's identifier and control number as far as they can be echoed.
  const std::string id = Named(group.functionalId, 2, "HC");
  const std::string groupControl =
      Digits(group.control) && group.control.size() <= 9 ? std::string(group.control) : "0";
  Put({"AK1", id, groupControl});
}

void AckWriter::SetStart(std::string_view setId, std::string_view control) {
  if (!inGroup_) return;
  inSet_ = true;
  lastSegment_ = -1;
  const std::string id = Clean(setId, 3);
  const std::string setControl = Clean(control, 9);
  Put({"AK2", id.size() == 3 ? id : "837", setControl.size() >= 4 ? setControl : "0000"});
}

void AckWriter::Found(const Finding& f) {
  const RuleInfo& info = InfoOf(f.rule);
  if (!inSet_ || info.level != Level::kSegment || f.setPosition <= 0 || f.segmentId.empty()) {
    return;
  }
  const bool elementLevel = f.elementPosition > 0;
  if (f.segment != lastSegment_ || !elementLevel) {
    lastSegment_ = elementLevel ? f.segment : -1;
    elementNotes_ = 0;
    Put({"AK3", Clean(f.segmentId, 3), std::to_string(f.setPosition), Clean(f.loopId, 6),
         std::to_string(info.segmentCode)});
  }
  if (!elementLevel || ++elementNotes_ > kMaxElementNotes) return;
  scratch_ = f.componentPosition > 0 ? fmt::format("{}:{}", f.elementPosition, f.componentPosition)
                                     : std::to_string(f.elementPosition);
  const std::string value = Clean(f.value, 99);
  const std::string dataElement = Clean(f.dataElement, 4);
  const std::string code = std::to_string(info.elementCode);
  if (value.empty()) {
    Put({"AK4", scratch_, dataElement, code});
  } else {
    Put({"AK4", scratch_, dataElement, code, value});
  }
}

void AckWriter::SetEnd(const SetResult& result) {
  if (!inSet_) return;
  inSet_ = false;
  std::string ak5 = result.verdict == Verdict::kRejected             ? "AK5*R"
                    : result.verdict == Verdict::kAcceptedWithErrors ? "AK5*E"
                                                                     : "AK5*A";
  if (result.verdict == Verdict::kRejected) {
    for (std::size_t i = 0; i < result.codes.count; ++i) {
      ak5 += fmt::format("*{}", result.codes.codes[i]);
    }
  }
  Put({ak5});
}

void AckWriter::GroupEnd(const GroupResult& result) {
  if (!inGroup_) return;
  inGroup_ = false;
  const char* status = result.rejected || result.setsAccepted == 0 ? "R"
                       : result.setsAccepted < result.setsReceived ? "P"
                       : result.errorsNoted                        ? "E"
                                                                   : "A";
  std::string ak9 = fmt::format("AK9*{}*{}*{}*{}", status, result.setsIncluded, result.setsReceived,
                                result.setsAccepted);
  for (std::size_t i = 0; i < result.codes.count; ++i) {
    ak9 += fmt::format("*{}", result.codes.codes[i]);
  }
  Put({ak9});
  const std::string count = std::to_string(counted_ + 1);
  Put({"SE", count, fmt::format("{:04}", acknowledgments_)});
}

bool AckWriter::Close() {
  if (!begun_) return false;
  // A file that could not be read to its end leaves its set and group
  // open: they are acknowledged as rejected.
  if (inSet_) {
    SetResult rejected;
    rejected.verdict = Verdict::kRejected;
    rejected.codes.Add(2);
    SetEnd(rejected);
  }
  if (inGroup_) {
    GroupResult rejected;
    rejected.rejected = true;
    rejected.codes.Add(3);
    GroupEnd(rejected);
  }
  Put({"GE", std::to_string(acknowledgments_), "1"});
  Put({"IEA", "1", control_});
  out_.Close();
  return true;
}

}  // namespace wcomp837::guide
