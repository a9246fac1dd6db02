#include "x12/guide/check.h"

#include <fmt/format.h>

#include <algorithm>

#include "platform/byte_reader.h"
#include "x12/guide/checker.h"

namespace wcomp837::guide {
namespace {

// The interchange header is fixed width: 106 characters with its terminator.
constexpr std::size_t kHeaderLength = 106;
constexpr std::size_t kHeaderSeparators[] = {3,  6,  17, 20, 31, 34, 50,  53,
                                             69, 76, 81, 83, 89, 99, 101, 103};
// A longer segment means a lost terminator; it is reported, not kept.
constexpr std::size_t kMaxSegment = 65536;
constexpr std::size_t kCarryRoom = 1024;

bool IsLineBreak(char ch) {
  return ch == '\r' || ch == '\n';
}

bool Alphanumeric(char ch) {
  return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9');
}

}  // namespace

Checker::Checker(CheckObserver& observer, CheckOptions options)
    : observer_(observer),
      options_(options),
      t_(Tables()),
      reporter_(observer),
      walker_(t_),
      rules_(t_) {
  // Room for any segment a claim file carries, cut by the end of a block:
  // a file read in blocks (or followed while it is written) allocates
  // nothing per segment.
  carry_.reserve(kCarryRoom);
}

void Checker::Feed(std::string_view bytes) {
  totals_.bytes += static_cast<std::int64_t>(bytes.size());
  if (phase_ == Phase::kHead) {
    Head(bytes);
  } else if (phase_ == Phase::kBody) {
    Body(bytes);
  }
}

// Collects the first bytes until the interchange header can be read, then
// reads on with its separators.
void Checker::Head(std::string_view bytes) {
  const std::size_t take = std::min(bytes.size(), kHeaderLength - head_.size());
  head_.append(bytes.substr(0, take));
  if (head_.size() < kHeaderLength) return;
  if (!ReadHeader()) return;
  Body(head_);
  Body(bytes.substr(take));
}

void Checker::FileFinding(Rule rule, std::string_view value, std::string_view expected) {
  reporter_.At(segment_, 0, {});
  reporter_.InLoop("interchange", {});
  Finding f = reporter_.Here(rule);
  f.value = value;
  f.expected = expected;
  reporter_.Emit(f);
}

// The separators: the element separator after "ISA", the component
// separator in ISA16 and the terminator after it.
bool Checker::ReadHeader() {
  phase_ = Phase::kStopped;
  if (head_.empty()) return false;
  const std::string_view head = head_;
  if (head.size() < kHeaderLength || head.compare(0, 3, "ISA") != 0) {
    FileFinding(Rule::kInterchangeHeader, head.substr(0, 3),
                "an ISA segment of 106 characters at the start of the file");
    return false;
  }
  sep_.element = head[3];
  const bool fixed = std::all_of(std::begin(kHeaderSeparators), std::end(kHeaderSeparators),
                                 [&](std::size_t i) { return head[i] == sep_.element; });
  std::size_t isa16 = 104;
  if (!fixed) {
    std::size_t seen = 0;
    for (isa16 = 0; isa16 < head.size() && seen < 16; ++isa16) seen += head[isa16] == sep_.element;
    const std::string_view value = head.substr(0, std::min(isa16, head.size()));
    FileFinding(Rule::kInterchangeHeader, value,
                "the fixed-width ISA: every element at its column, 106 characters");
    if (seen < 16 || isa16 + 1 >= head.size()) return false;
  }
  sep_.component = head[isa16];
  sep_.terminator = head[isa16 + 1];
  const char seps[] = {sep_.element, sep_.component, sep_.terminator};
  for (char ch : seps) {
    const bool distinct = std::count(std::begin(seps), std::end(seps), ch) == 1;
    if (!distinct || Alphanumeric(ch) || ch == ' ') {
      FileFinding(Rule::kInterchangeHeader, std::string_view(seps, 3),
                  "three distinct separators that are neither letters, digits nor blanks");
      return false;
    }
  }
  phase_ = Phase::kBody;
  return true;
}

// Cuts the bytes into segments at the terminator; line breaks after a
// terminator are skipped, as payers do. A segment cut by the end of the
// block waits in carry_ for the rest.
void Checker::Body(std::string_view bytes) {
  while (!bytes.empty()) {
    if (afterTerminator_) {
      std::size_t skip = 0;
      while (skip < bytes.size() && IsLineBreak(bytes[skip]) && bytes[skip] != sep_.terminator) {
        ++skip;
      }
      bytes.remove_prefix(skip);
      if (bytes.empty()) return;
      afterTerminator_ = false;
    }
    if (carry_.empty() && !overlong_) {
      if (const std::size_t taken = ScanSegment(bytes, sep_, seg_)) {
        Segment();
        bytes.remove_prefix(taken);
        afterTerminator_ = true;
        continue;
      }
    }
    const std::size_t cut = bytes.find(sep_.terminator);
    const std::string_view piece = bytes.substr(0, cut);
    if (!overlong_ && carry_.size() + piece.size() > kMaxSegment) {
      carry_.append(piece.substr(0, kMaxSegment - carry_.size()));
      overlong_ = true;
    } else if (!overlong_) {
      carry_.append(piece);
    }
    if (cut == std::string_view::npos) return;
    bytes.remove_prefix(cut + 1);
    afterTerminator_ = true;
    if (overlong_) {
      overlong_ = false;
      ++segment_;
      ++totals_.segments;
      FileFinding(Rule::kOverlongSegment, std::string_view(carry_).substr(0, 20),
                  "a segment terminator");
    } else {
      carry_ += sep_.terminator;
      ScanSegment(carry_, sep_, seg_);
      Segment();
    }
    carry_.clear();
  }
}

void Checker::Segment() {
  ++segment_;
  ++totals_.segments;
  if (seg_.text.empty()) {
    if (!set_.open) return FileFinding(Rule::kEmptySegment, {}, "a segment identifier");
    reporter_.At(segment_, ++set_.count, {});
    Finding f = reporter_.Here(Rule::kEmptySegment);
    f.expected = "a segment identifier";
    return reporter_.Emit(f);
  }
  reporter_.At(segment_, set_.open ? set_.count + 1 : 0, seg_.id());
  switch (seg_.packedId) {
    case PackId("ISA"):
      return Interchange();
    case PackId("IEA"):
      return InterchangeEnd();
    case PackId("GS"):
      return Group();
    case PackId("GE"):
      return GroupEnd();
    case PackId("ST"):
      return SetStart();
    case PackId("SE"):
      return SetEnd();
    default:
      return InSet();
  }
}

CheckTotals Checker::Finish() {
  if (phase_ == Phase::kHead && ReadHeader()) Body(head_);
  if (phase_ == Phase::kBody && (!carry_.empty() || overlong_)) {
    ++segment_;
    FileFinding(Rule::kUnterminated, std::string_view(carry_).substr(0, 20),
                std::string(1, sep_.terminator));
  }
  if (set_.open) CloseSet(false);
  if (group_.open) CloseGroup(false, 0);
  if (interchange_.open) CloseInterchange(false);
  if (totals_.interchanges == 0 && head_.empty()) {
    FileFinding(Rule::kNoInterchange, {}, "an interchange ISA ... IEA");
  }
  totals_.claims = rules_.claims();
  totals_.serviceLines = rules_.serviceLines();
  totals_.errors = reporter_.errors();
  totals_.warnings = reporter_.warnings();
  return totals_;
}

CheckTotals CheckText(std::string_view text, CheckObserver& observer, CheckOptions options) {
  Checker checker(observer, options);
  checker.Feed(text);
  return checker.Finish();
}

CheckTotals CheckFile(const std::string& path, CheckObserver& observer, CheckOptions options) {
  ByteReader reader(path);
  Checker checker(observer, options);
  std::string_view block;
  while (reader.NextBlock(block)) checker.Feed(block);
  return checker.Finish();
}

std::string_view VerdictText(Verdict verdict) {
  switch (verdict) {
    case Verdict::kAccepted:
      return "accepted";
    case Verdict::kAcceptedWithErrors:
      return "accepted with errors";
    case Verdict::kRejected:
      break;
  }
  return "rejected";
}

void AckCodes::Add(std::uint8_t code) {
  if (count == codes.size() ||
      std::find(codes.begin(), codes.begin() + count, code) != codes.begin() + count) {
    return;
  }
  codes[count++] = code;
}

// A value as text: bytes outside the printable characters as \xHH.
std::string Quoted(std::string_view v) {
  std::string out = "\"";
  for (char ch : v) {
    if (IsX12Character(ch)) {
      out += ch;
    } else {
      out += fmt::format("\\x{:02X}", static_cast<unsigned char>(ch));
    }
  }
  return out + "\"";
}

std::string Describe(const Finding& f) {
  std::string text = f.segment > 0 ? fmt::format("segment {}", f.segment) : "file";
  if (!f.loop.empty()) text += fmt::format(", {}", f.loop);
  if (!f.element.empty()) {
    text += fmt::format(" {}", f.element);
  } else if (!f.segmentId.empty()) {
    text += fmt::format(" {}", f.segmentId);
  }
  if (!f.claim.empty()) text += fmt::format(", claim {}", f.claim);
  text += fmt::format(": {}", InfoOf(f.rule).problem);
  if (!f.value.empty()) text += " " + Quoted(f.value);
  if (!f.expected.empty()) text += fmt::format("; expected {}", f.expected);
  if (f.severity == Severity::kWarning) text += fmt::format(" [{}: {}]", f.key, f.reason);
  return text;
}

void FindingList::Found(const Finding& finding) {
  if (finding.severity != severity_) return;
  if (kept_.size() >= limit_) {
    ++notKept_;
    return;
  }
  kept_.push_back({finding.rule, finding.segment, std::string(finding.key), Describe(finding)});
}

}  // namespace wcomp837::guide
