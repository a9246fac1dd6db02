// The SV1 segment of a service line: procedure and modifiers, charge, units
// or minutes, place of service, diagnosis pointers and indicators.
#include <algorithm>
#include <array>
#include <optional>

#include "records/numeric.h"
#include "state/messages.h"
#include "state/runlog.h"
#include "x12/line_loops.h"
#include "x12/segments.h"

namespace wcomp837 {
namespace {

// Hours (characters 1-2) or minutes (characters 3-4) of an HHMM text.
double TimePart(const std::string& hhmm, std::size_t at) {
  return at < hhmm.size() ? NumericValue(hhmm.substr(at, 2)) : 0.0;
}

// The positive pointers as components; a zero pointer leaves no empty
// component, so the first pointer present always leads.
class DiagnosisPointers {
 public:
  explicit DiagnosisPointers(const DetailLine& line) {
    for (std::size_t k = 0; k < 4; ++k) {
      if (line.iDiagPointer[k] <= 0) continue;
      digits_[k].emplace(line.iDiagPointer[k]);
      parts_.Add(*digits_[k]);
    }
  }
  const Components& parts() const { return parts_; }

 private:
  std::array<std::optional<Digits>, 4> digits_;
  Components parts_;
};

std::string_view YesOrEmpty(std::string_view flag) {
  return flag == "Y" ? "Y" : "";
}

}  // namespace

std::int32_t GetMinutes(const std::string& sStart, const std::string& sEnd) {
  const double h1 = TimePart(sStart, 0);
  const double m1 = TimePart(sStart, 2);
  double h2 = TimePart(sEnd, 0);
  const double m2 = TimePart(sEnd, 2);
  if (h2 < h1) h2 += 24;
  const double minutes = (h2 * 60 + m2) - (h1 * 60 + m1);
  return minutes < 0 ? 0 : ToInt32(minutes);
}

std::int16_t AppendProcedureAndModifiers(const WriterCtx& c, std::int16_t iIndex,
                                         Components& components) {
  try {
    const DetailLine& line = DetailLineAt(c, iIndex);
    components.Add("HC");
    components.Add(line.sProcedureCode);
    for (const std::string* modifier :
         {&line.sModifier1, &line.sModifier2, &line.sModifier3, &line.sModifier4}) {
      if (!modifier->empty()) components.Add(*modifier);
    }
    return 0;
  } catch (...) {
    AddFailureMessage(c.host, " AppendProcedureAndModifiers() ", std::current_exception());
    return 3;
  }
}

std::int16_t Do_SV1_Record(const WriterCtx& c, std::int16_t iIndex) {
  try {
    LogLine(c.host, "Do_SV1");
    const DetailLine& line = DetailLineAt(c, iIndex);
    Components procedure;
    if (AppendProcedureAndModifiers(c, iIndex, procedure) == 3) return 3;
    LogLine(c.host, "After Procs");
    const bool timed = !line.sStartTime.empty() && !line.sEndTime.empty();
    const std::string count = timed
                                  ? std::string(Digits(GetMinutes(line.sStartTime, line.sEndTime)))
                                  : PlainDecimal(line.sngUnits);
    const std::string& place = line.sPlaceOfService;
    const bool claimPlace = place == c.claim.mClaim.sClaimPlaceOfService;
    SegmentText sv1("SV1");
    sv1.AddComposite(procedure)
        .Add(PlainDecimal(line.curCharge))
        .Add(timed ? "MJ" : "UN")
        .Add(count)
        .Add(claimPlace ? "" : place)
        .Add("")
        .AddComposite(DiagnosisPointers(line).parts())
        .Add("")
        .Add(YesOrEmpty(line.sEmergency))
        .Add("")
        .Add(YesOrEmpty(line.sEPSDT))
        .Add(YesOrEmpty(line.sFamilyPlanning));
    return WriteCountedSegment(c, sv1);
  } catch (...) {
    AddFailureMessage(c.host, " Do_SV1_Record() ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
