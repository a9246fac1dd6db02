// The generic record parser: reads any layout of layouts.cpp.
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

const std::string& FieldAt(const Fields& fields, std::size_t i) {
  if (i >= fields.size()) Raise(failure::kSubscript);
  return fields[i];
}

std::string& MemberAt(Members rec, std::size_t m) {
  if (m >= rec.size()) Raise(failure::kSubscript);
  return rec[m];
}

void ApplyRule(const Rule& r, Members rec) {
  std::string& target = MemberAt(rec, r.target);
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
      if (target.rfind("NONE", 0) == 0) target.clear();
      break;
    case Op::kEmptyIfZero:
      if (NumericValue(target) == 0.0) target.clear();
      break;
  }
}

// Stores a value and runs the rules that wait for this member.
void Store(const Layout& l, Members rec, std::size_t member, const std::string& value) {
  MemberAt(rec, member) = value;
  for (const Rule& r : l.rules) {
    if (r.after == member) ApplyRule(r, rec);
  }
}

void TakeGroup(const Layout& l, const Group& g, const Fields& fields, Members rec) {
  if (g.field < fields.size()) {
    for (std::size_t i = 0; i < g.count; ++i) {
      Store(l, rec, g.member + i, FieldAt(fields, g.field + i));
    }
    return;
  }
  if (g.absent == Absent::kKeep) return;
  const std::size_t n = g.absentCount != 0 ? g.absentCount : g.count;
  for (std::size_t i = 0; i < n; ++i) {
    Store(l, rec, g.member + i, i < g.defaults.size() ? g.defaults[i] : std::string());
  }
}

}  // namespace

void CopyMandatory(const Layout& l, const Fields& fields, Members rec) {
  for (std::size_t i = 0; i < l.mandatory; ++i) Store(l, rec, i, FieldAt(fields, i));
}

void CopyOptional(const Layout& l, const Fields& fields, Members rec) {
  for (const Group& g : l.optional) TakeGroup(l, g, fields, rec);
}

void ApplySplits(const Layout& l, Members rec) {
  for (const Split& s : l.splits) {
    SplitAtChar(MemberAt(rec, s.member), "/", MemberAt(rec, s.member), MemberAt(rec, s.right));
  }
}

void FillFromFields(const Layout& l, const Fields& fields, Members rec) {
  CopyMandatory(l, fields, rec);
  CopyOptional(l, fields, rec);
  ApplySplits(l, rec);
}

Fields SplitRecord(HostState& h, const Layout& l, const std::string& text) {
  LogLine(h, l.entryLog);
  Fields fields;
  SplitFields(text, fields, "//");
  return fields;
}

std::int16_t CleanMembers(HostState& h, const Layout& l, Members rec) {
  try {
    for (std::size_t m : l.cleaned) {
      std::string& member = MemberAt(rec, m);
      member = SquashAllPunctuation(h, member, false, false, "");
    }
  } catch (...) {
    AddFailureMessage(h, " " + std::string(l.cleanName) + "() Error: ", std::current_exception());
  }
  return 0;
}

}  // namespace wcomp837::layout
