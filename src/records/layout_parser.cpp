// The generic record parser: reads any layout of layouts.cpp.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <span>

#include "platform/clock.h"
#include "platform/failure.h"
#include "records/layout.h"
#include "records/numeric.h"
#include "records/parsers.h"
#include "records/text.h"
#include "state/runlog.h"

namespace wcomp837::layout {
namespace {

// NPI members are sent from this date on (yyyymmdd).
constexpr int kNpiStartDate = 20070101;

MemberRef MemberAt(Members& rec, std::size_t m) {
  if (m >= rec.size()) Raise(failure::kSubscript);
  return rec[m];
}

void ApplyRule(const Rule& r, Members& rec) {
  MemberRef target = MemberAt(rec, r.target);
  switch (r.op) {
    case Op::kCountry:
      target = GetCountryCode(target);
      break;
    case Op::kDrop:
      target.clear();
      break;
    case Op::kNpiGate:
      if (DateKey(Now()) < kNpiStartDate) target.clear();
      break;
    case Op::kGender:
    case Op::kGenderCode:
      if (target != "M" && target != "F") {
        target = "U";
        if (r.op == Op::kGender) MemberAt(rec, r.other) = "UNKNOWN";
      }
      break;
    case Op::kCopy:
      MemberAt(rec, r.other) = target;
      break;
    case Op::kEmptyIfNone:
      if (target.starts_with("NONE")) target.clear();
      break;
    case Op::kEmptyIfZero:
      if (NumericValue(target) == 0.0) target.clear();
      break;
  }
}

void RunRules(const Layout& l, Members& rec, std::size_t member) {
  for (const Rule& r : l.rules) {
    if (r.after == member) ApplyRule(r, rec);
  }
}

// The members after which a rule of the layout runs: the fields between
// them are stored in one go.
class RuleMarks {
 public:
  explicit RuleMarks(const Layout& l) {
    // A rule after a member beyond the marks never runs: no record has that
    // many members.
    for (const Rule& r : l.rules) {
      if (r.after < kMarked) words_[r.after / 64] |= std::uint64_t{1} << (r.after % 64);
    }
  }
  bool Has(std::size_t member) const {
    return member < kMarked && (words_[member / 64] >> (member % 64) & 1) != 0;
  }
  // The first marked member from `from` on; kNoMember when there is none.
  std::size_t Next(std::size_t from) const {
    for (std::size_t w = from / 64; w < words_.size(); ++w) {
      std::uint64_t bits = words_[w];
      if (w == from / 64) bits &= ~std::uint64_t{0} << (from % 64);
      if (bits != 0) return w * 64 + static_cast<std::size_t>(std::countr_zero(bits));
    }
    return kNoMember;
  }

 private:
  static constexpr std::size_t kMarked = 256;
  std::array<std::uint64_t, kMarked / 64> words_{};
};

// Stores input fields into the members from `member` on (each member points
// at its field in the record's text), running the rules that wait for a
// member as soon as it is stored, as storing them one by one would.
void StoreFields(const Layout& l, const RuleMarks& marks, Members& rec, std::size_t member,
                 std::span<const Span> fields) {
  while (!fields.empty()) {
    const std::size_t marked = marks.Next(member);
    const std::size_t n = marked < member + fields.size() ? marked + 1 - member : fields.size();
    const std::size_t fit = member < rec.size() ? std::min(n, rec.size() - member) : 0;
    for (std::size_t i = 0; i < fit; ++i) rec.SetSpan(member + i, fields[i]);
    if (fit < n) Raise(failure::kSubscript);
    if (marked == member + n - 1) RunRules(l, rec, marked);
    member += n;
    fields = fields.subspan(n);
  }
}

// Stores a default value and runs the rules that wait for this member.
void Store(const Layout& l, const RuleMarks& marks, Members& rec, std::size_t member,
           std::string_view value) {
  MemberAt(rec, member) = value;
  if (marks.Has(member)) RunRules(l, rec, member);
}

// False when the group starts in the record but the record ends inside it.
bool TakeGroup(const Layout& l, const RuleMarks& marks, const Group& g, const Fields& fields,
               Members& rec) {
  if (g.field < fields.size()) {
    const std::size_t n = std::min(g.count, fields.size() - g.field);
    StoreFields(l, marks, rec, g.member, std::span(fields).subspan(g.field, n));
    return n == g.count;
  }
  if (g.absent == Absent::kKeep) return true;
  const std::size_t n = g.absentCount != 0 ? g.absentCount : g.count;
  for (std::size_t i = 0; i < n; ++i) {
    Store(l, marks, rec, g.member + i,
          i < g.defaults.size() ? std::string_view(g.defaults[i]) : std::string_view());
  }
  return true;
}

}  // namespace

bool CopyMandatory(const Layout& l, const Fields& fields, Members rec) {
  const RuleMarks marks(l);
  const std::size_t n = std::min(l.mandatory, fields.size());
  StoreFields(l, marks, rec, 0, std::span(fields).first(n));
  return n == l.mandatory;
}

bool CopyOptional(const Layout& l, const Fields& fields, Members rec) {
  const RuleMarks marks(l);
  for (const Group& g : l.optional) {
    if (!TakeGroup(l, marks, g, fields, rec)) return false;
  }
  return true;
}

void ApplySplits(const Layout& l, Members rec) {
  for (const Split& s : l.splits) {
    // The member keeps what stands before the first "/", the right member
    // what follows it, both without their outer blanks.
    const Text text = MemberAt(rec, s.member);
    MemberAt(rec, s.right);
    const std::size_t pos = text.find('/');
    const std::string_view left = TrimView(text.substr(0, pos));
    const std::string_view right =
        pos == std::string_view::npos ? std::string_view() : TrimView(text.substr(pos + 1));
    rec[s.member] = left;
    rec[s.right] = right;
  }
}

bool FillFromFields(const Layout& l, const Fields& fields, Members rec) {
  if (!CopyMandatory(l, fields, rec) || !CopyOptional(l, fields, rec)) return false;
  ApplySplits(l, rec);
  return true;
}

Fields SplitInto(std::string_view text, Members rec) {
  // The text is kept once, in the record; the fields are where they stand in it.
  const std::uint32_t base = rec.AppendText(text);
  thread_local std::vector<Span> room;
  return SplitFields(std::string_view(rec.buffer().data() + base, text.size()), base, room);
}

Fields SplitRecord(HostState& h, const Layout& l, std::string_view text, Members rec) {
  LogLine(h, l.entryLog);
  return SplitInto(text, rec);
}

std::int16_t CleanMembers(HostState& h, const Layout& l, Members rec) {
  try {
    thread_local std::string clean;
    for (std::size_t m : l.cleaned) {
      MemberRef member = MemberAt(rec, m);
      // Most values are clean already: they keep their place in the text.
      if (member.empty() || SquashedAlready(member)) continue;
      SquashAllPunctuationInto(h, clean, member, false, false, "");
      member = clean;
    }
  } catch (...) {
    AddFailureMessage(h, " " + std::string(l.cleanName) + "() Error: ", std::current_exception());
  }
  return 0;
}

}  // namespace wcomp837::layout
