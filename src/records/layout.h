// Record layouts as data, and the one parser that reads them. A layout says
// which input fields are mandatory, which optional singles, pairs and blocks
// follow (and what their members become when absent), which members are
// transformed as they are stored, split afterwards and cleaned at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/failure.h"
#include "records/records.h"
#include "state/host_state.h"
#include "state/messages.h"

namespace wcomp837::layout {

// The fields of a record: where each stands in the record's text.
using Fields = std::span<const Span>;

// What an optional group's members become when its first field is absent.
enum class Absent : std::uint8_t { kDefaults, kKeep };

// An optional single, pair or block: taken whole when its first field is
// present (a record ending inside it fails), else set to its defaults or
// left unchanged.
struct Group {
  std::size_t field = 0;   // first input field
  std::size_t count = 1;   // fields taken
  std::size_t member = 0;  // member receiving the first field
  Absent absent = Absent::kDefaults;
  std::vector<std::string> defaults = {};  // per member; missing entries are empty
  std::size_t absentCount = 0;             // members set when absent; 0 = count
};

enum class Op : std::uint8_t {
  kCountry,      // target := GetCountryCode(target)
  kDrop,         // target := empty
  kNpiGate,      // target := empty before the NPI start date
  kGender,       // target (code) not "M"/"F": "U", and other (text) "UNKNOWN"
  kGenderCode,   // the same without a text member
  kCopy,         // other := target
  kEmptyIfNone,  // target := empty when it begins with "NONE"
  kEmptyIfZero,  // target := empty when its numeric value is 0
};

inline constexpr std::size_t kNoMember = static_cast<std::size_t>(-1);

// A transform that runs right after member `after` has been stored.
struct Rule {
  std::size_t after = 0;
  Op op = Op::kDrop;
  std::size_t target = 0;
  std::size_t other = kNoMember;
};

// SplitAtChar(member, "/"): the member keeps the left part, `right` gets the rest.
struct Split {
  std::size_t member = 0;
  std::size_t right = 0;
};

struct Layout {
  std::string_view entryLog;   // run-log line written on entry
  std::string_view errorText;  // routine text of the failure message
  std::string_view cleanName;  // name of the punctuation routine
  std::size_t members = 0;
  std::size_t mandatory = 0;  // fields 0 .. mandatory-1 go to the same members
  std::vector<Group> optional;
  std::vector<Rule> rules;
  std::vector<Split> splits;
  std::vector<std::size_t> cleaned;  // members passed through SquashAllPunctuation
};

// The layouts of every record type.
const Layout& PracticeLayout();
const Layout& SubmitterLayout();
const Layout& BProviderLayout();
const Layout& InsuranceLayout();
const Layout& CalcPrefLayout();
const Layout& BreakPrefLayout();
const Layout& PatientLayout();
const Layout& SubscriberLayout();
const Layout& ChargeLayout();
const Layout& SProviderLayout();
const Layout& OProviderLayout();
const Layout& ReferralLayout();
const Layout& OReferralLayout();
const Layout& FacilityLayout();
const Layout& OInsuranceLayout();
const Layout& AmbulanceLayout();
const Layout& ChiropractorLayout();

// The generic parser, in its steps. A step answers false when the record
// ends before a field it needs (the caller reports it with MissingField);
// members stored before that keep their new values.
[[nodiscard]] bool CopyMandatory(const Layout& l, const Fields& fields, Members rec);
[[nodiscard]] bool CopyOptional(const Layout& l, const Fields& fields, Members rec);
void ApplySplits(const Layout& l, Members rec);
// All three in order; false as soon as one is.
[[nodiscard]] bool FillFromFields(const Layout& l, const Fields& fields, Members rec);

// Writes the entry log line, keeps the record's text in the record and
// splits it on "//". The fields are valid until the next record is split.
Fields SplitRecord(HostState& h, const Layout& l, std::string_view text, Members rec);
// The same without the log line.
Fields SplitInto(std::string_view text, Members rec);

// Passes the layout's cleaned members through SquashAllPunctuation; a
// failure is reported under the routine's name and the rest stay as they are.
std::int16_t CleanMembers(HostState& h, const Layout& l, Members rec);

// The guard of a parser: runs body and turns any failure into the parser's
// message and the result 3. A record whose fields could not all be read is
// not taken (its tag is emptied): half of it would otherwise reach a claim
// mixed with the values of the record it overwrote.
template <class Record>
std::int16_t Failed(HostState& h, std::string_view errorText, Record& out, const Failure& f) {
  out[0].clear();
  AddFailureMessage(h, std::string(errorText), f);
  return 3;
}

template <class Record, class Body>
std::int16_t Guarded(HostState& h, std::string_view errorText, Record& out, Body&& body) {
  try {
    return body();
  } catch (const Failure& f) {
    return Failed(h, errorText, out, f);
  } catch (...) {
    return Failed(h, errorText, out, CurrentFailure(std::current_exception()));
  }
}

// What the guard makes of a record that ends before a field its layout
// needs (subscript out of range), reported without raising a failure: short
// records are the most common fault of bad host data.
template <class Record>
std::int16_t MissingField(HostState& h, std::string_view errorText, Record& out) {
  return Failed(h, errorText, out,
                Failure{failure::kSubscript, FailureDescription(failure::kSubscript)});
}

// A parse step that does nothing.
struct NoStep {
  std::int16_t operator()() const { return 0; }
};

// The parse of a record its layout describes: log, split, fill by the
// layout, run `before` (a non-zero answer ends the parse with that result and
// leaves the record uncleaned), clean, run `after`; all under the guard.
template <std::size_t N, class Before = NoStep, class After = NoStep>
std::int16_t ParseByLayout(HostState& h, const Layout& l, const std::string& text, Rec<N>& out,
                           Before before = {}, After after = {}) {
  return Guarded(h, l.errorText, out, [&]() -> std::int16_t {
    const Fields fields = SplitRecord(h, l, text, out.members());
    if (!FillFromFields(l, fields, out.members())) return MissingField(h, l.errorText, out);
    if (std::int16_t result = before(); result != 0) return result;
    CleanMembers(h, l, out.members());
    return after();
  });
}

// An empty payer identifier takes the one the record carries in its
// split member, unless the caller's switch says otherwise.
template <std::size_t N>
void FallBackPayerId(Rec<N>& rec, std::size_t payerId, std::size_t source, std::int16_t iSwitch) {
  if (iSwitch == 0 && rec[payerId].empty()) rec[payerId] = rec[source];
}

}  // namespace wcomp837::layout
