// Building blocks shared by the claim loop writers (subscriber, payer,
// patient, claim, claim providers, other insurances, service lines).
// loopsB: use SegmentText/LoopWriter, NameSegment, the N3/N4 builders and the
// ambulance CR1/CRC builders for loops 2320-2430 too, so that every loop
// follows the same rules (no NM108 without NM109, "CA" after a Canadian
// province). Add what you need here and say so in your report.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/state.h"

namespace wcomp837 {

// One segment in the making: the identifier, then each element followed by
// "*" whether or not it has a value (WriteASCIIOUT strips the trailing ones).
// A host value as it may stand in an element: without the element
// separator, the component separator and the segment terminator (each would
// break the segment apart or shift a payer's reading of it), and without
// bytes outside the printable X12 basic and extended character sets.
std::string ElementValue(std::string_view value);
// True for a byte that may stand in an element value.
bool IsElementCharacter(char ch);

// A copy of a record whose members hold no separator characters, for
// segments built outside SegmentText.
template <std::size_t N>
Rec<N> WithoutSeparators(const Rec<N>& rec) {
  Rec<N> out;
  for (std::size_t i = 0; i < N; ++i) out[i] = ElementValue(rec[i]);
  return out;
}

class SegmentText {
 public:
  explicit SegmentText(std::string_view id) : text_(id) { text_ += '*'; }
  // Appends one element (separators inside the value are dropped) and "*".
  SegmentText& Add(std::string_view element) {
    for (char ch : element) {
      if (IsElementCharacter(ch)) text_ += ch;
    }
    text_ += '*';
    return *this;
  }
  // Appends one composite element: each component cleaned as above, joined
  // by the component separator ":", then "*".
  SegmentText& AddComposite(std::initializer_list<std::string_view> components);
  SegmentText& AddComposite(std::span<const std::string> components);
  const std::string& str() const { return text_; }

 private:
  std::string text_;
};

// Counts and writes the segments of one loop. After the first failed write
// nothing more is written and Status() answers 3.
class LoopWriter {
 public:
  explicit LoopWriter(Ctx& c) : c_(c) {}
  LoopWriter& Put(const SegmentText& segment) { return Put(segment.str()); }
  LoopWriter& Put(const std::string& segment);
  bool Failed() const { return failed_; }
  std::int16_t Status() const { return failed_ ? 3 : 0; }

 private:
  Ctx& c_;
  bool failed_ = false;
};

// A name as the record holds it; NameSegment cuts and trims each part.
struct PersonName {
  std::string last;  // or the organisation name
  std::string first;
  std::string middle;
  std::string suffix;
};

// NM108/NM109.
struct IdPair {
  std::string qualifier;
  std::string id;
};

// NM1: entity code, entity type, last or organisation name (35), first (25),
// middle (1), NM106 empty, suffix (10), then the identifier pair. A qualifier
// is only sent together with an identifier: X12 pairs NM108 with NM109.
SegmentText NameSegment(std::string_view entity, std::string_view type, const PersonName& name,
                        const IdPair& id);

// N3: address line 1 and, when not empty, line 2.
SegmentText AddressSegment(const std::string& line1, const std::string& line2);
// N4: city, state, ZIP; with canadaCode, "CA" (the ISO code for Canada) in
// N404 when the state is a Canadian province.
SegmentText CityStateZipSegment(const std::string& city, const std::string& state,
                                const std::string& zip, bool canadaCode);

// The ambulance condition codes of a record: "01" to "09" for each of its
// indicators that is "1", then "60" when the transport reason is "A".
std::vector<std::string> AmbulanceConditionCodes(const AmbulanceRec& ambulance);
// CR1 of an ambulance record.
SegmentText AmbulanceTransportSegment(const AmbulanceRec& ambulance);
// CRC*07*Y with the first five condition codes.
SegmentText AmbulanceCertificationSegment(const std::vector<std::string>& codes);

// Member `index` of a record seen as a row of texts; an index outside the
// row raises the subscript failure.
Text Member(RecordView record, std::size_t index);

}  // namespace wcomp837
