#include "x12/segment_builder.h"

#include "platform/failure.h"
#include "records/numeric.h"
#include "x12/code_tables.h"
#include "x12/segments.h"

namespace wcomp837 {

namespace {
constexpr std::size_t kLastNameLength = 35;
constexpr std::size_t kFirstNameLength = 25;
constexpr std::size_t kMiddleNameLength = 1;
constexpr std::size_t kSuffixLength = 10;
constexpr std::size_t kMaxCertificationCodes = 5;
}  // namespace

bool IsElementCharacter(char ch) {
  const auto byte = static_cast<unsigned char>(ch);
  return byte >= 0x20 && byte <= 0x7E && ch != '*' && ch != '~' && ch != ':';
}

std::string ElementValue(std::string_view value) {
  std::string clean;
  clean.reserve(value.size());
  for (char ch : value) {
    if (IsElementCharacter(ch)) clean += ch;
  }
  return clean;
}

namespace {
template <typename Range>
void AppendComposite(std::string& text, const Range& components) {
  bool first = true;
  for (std::string_view component : components) {
    if (!first) text += ':';
    first = false;
    for (char ch : component) {
      if (IsElementCharacter(ch)) text += ch;
    }
  }
  text += '*';
}
}  // namespace

SegmentText& SegmentText::AddComposite(std::initializer_list<std::string_view> components) {
  AppendComposite(text_, components);
  return *this;
}

SegmentText& SegmentText::AddComposite(std::span<const std::string> components) {
  AppendComposite(text_, components);
  return *this;
}

LoopWriter& LoopWriter::Put(const std::string& segment) {
  if (!failed_ && WriteCountedSegment(c_, segment) != 0) failed_ = true;
  return *this;
}

SegmentText NameSegment(std::string_view entity, std::string_view type, const PersonName& name,
                        const IdPair& id) {
  SegmentText nm1("NM1");
  nm1.Add(entity)
      .Add(type)
      .Add(CutTrim(name.last, kLastNameLength))
      .Add(CutTrim(name.first, kFirstNameLength))
      .Add(CutTrim(name.middle, kMiddleNameLength))
      .Add("")
      .Add(CutTrim(name.suffix, kSuffixLength));
  if (!id.id.empty()) nm1.Add(id.qualifier).Add(id.id);
  return nm1;
}

SegmentText AddressSegment(const std::string& line1, const std::string& line2) {
  return SegmentText("N3").Add(line1).Add(line2);
}

SegmentText CityStateZipSegment(const std::string& city, const std::string& state,
                                const std::string& zip, bool canadaCode) {
  SegmentText n4("N4");
  n4.Add(city).Add(state).Add(zip);
  if (canadaCode && IsCanadianProvince(state)) n4.Add("CA");
  return n4;
}

std::vector<std::string> AmbulanceConditionCodes(const AmbulanceRec& ambulance) {
  static constexpr std::string_view kCodes[] = {"01", "02", "03", "04", "05",
                                                "06", "07", "08", "09"};
  std::vector<std::string> codes;
  std::size_t member = Ambulance::sCondition01;
  for (std::string_view code : kCodes) {
    if (ambulance[member++] == "1") codes.emplace_back(code);
  }
  if (ambulance[Ambulance::sTransportReason] == "A") codes.emplace_back("60");
  return codes;
}

SegmentText AmbulanceTransportSegment(const AmbulanceRec& ambulance) {
  double weight = NumericValue(ambulance[Ambulance::sPatientWeight]);
  const Text transport = ambulance[Ambulance::sTransportCode];
  SegmentText cr1("CR1");
  if (weight != 0.0) {
    cr1.Add("LB").Add(PlainDecimal(weight));
  } else {
    cr1.Add("").Add("");
  }
  cr1.Add(transport)
      .Add(ambulance[Ambulance::sTransportReason])
      .Add("DH")
      .Add(PlainDecimal(NumericValue(ambulance[Ambulance::sDistance])))
      .Add("")
      .Add("")
      .Add(transport == "X" ? ambulance[Ambulance::sRoundTripPurpose] : Text())
      .Add(ambulance[Ambulance::sStretcherPurpose]);
  return cr1;
}

SegmentText AmbulanceCertificationSegment(const std::vector<std::string>& codes) {
  SegmentText crc("CRC");
  crc.Add("07").Add("Y");
  for (std::size_t i = 0; i < codes.size() && i < kMaxCertificationCodes; ++i) crc.Add(codes[i]);
  return crc;
}

Text Member(RecordView record, std::size_t index) {
  if (index >= record.size()) Raise(failure::kSubscript);
  return record[index];
}

}  // namespace wcomp837
