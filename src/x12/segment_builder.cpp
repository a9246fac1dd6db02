#include "x12/segment_builder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

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

std::string ElementValue(std::string_view value) {
  std::string clean;
  clean.reserve(value.size());
  AppendElementCharacters(clean, value);
  return clean;
}

SegmentText& SegmentText::AddComposite(const Components& components) {
  bool first = true;
  for (std::string_view component : components) {
    if (!first) Put(':');
    first = false;
    Append(component);
  }
  Put('*');
  return *this;
}

namespace {
// Buffers lent to the segments being built and kept for the next ones; a
// bit of `free` is set for each buffer not lent.
struct SegmentBufferPool {
  static constexpr std::size_t kBuffers = 16;
  std::array<SegmentBuffer, kBuffers> buffers;
  std::uint32_t free = (std::uint32_t{1} << kBuffers) - 1;
};
thread_local SegmentBufferPool tPool;

// Most segments are far shorter: a buffer grows at most a few times.
constexpr std::size_t kFirstCapacity = 256;
}  // namespace

SegmentText::SegmentText(std::string_view id) {
  SegmentBufferPool& pool = tPool;
  if (pool.free != 0) {
    slot_ = static_cast<std::uint8_t>(std::countr_zero(pool.free));
    pool.free &= pool.free - 1;
    buffer_ = &pool.buffers[slot_];
  } else {
    owned_ = std::make_unique<SegmentBuffer>();
    buffer_ = owned_.get();
  }
  Append(id);
  Put('*');
}

SegmentText::~SegmentText() {
  // A segment ended on another thread than the one that built it leaves
  // its buffer lent for good: that thread's pool is not this one's to touch.
  if (slot_ != kNoSlot && buffer_ == &tPool.buffers[slot_]) {
    tPool.free |= std::uint32_t{1} << slot_;
  }
}

void SegmentText::Grow(std::size_t more) {
  SegmentBuffer& buffer = *buffer_;
  const std::size_t capacity = std::max({size_ + more, 2 * buffer.capacity, kFirstCapacity});
  auto bytes = std::make_unique<char[]>(capacity);
  if (size_ != 0) std::memcpy(bytes.get(), buffer.bytes.get(), size_);
  buffer.bytes = std::move(bytes);
  buffer.capacity = capacity;
}

void SegmentText::Append(std::string_view value) {
  if (buffer_->capacity - size_ < value.size()) Grow(value.size());
  char* const begin = buffer_->bytes.get();
  size_ = static_cast<std::size_t>(CopyElementCharacters(begin + size_, value) - begin);
}

std::int16_t WriteCountedSegment(const WriterCtx& c, const SegmentText& segment) {
  IncrementSegmentCount(c);
  return WriteSegmentText(c, segment.str());
}

LoopWriter& LoopWriter::Put(const SegmentText& segment) {
  if (!failed_ && WriteCountedSegment(c_, segment) != 0) failed_ = true;
  return *this;
}

LoopWriter& LoopWriter::Put(std::string_view segment) {
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

SegmentText AddressSegment(std::string_view line1, std::string_view line2) {
  SegmentText n3("N3");
  n3.Add(line1).Add(line2);
  return n3;
}

SegmentText CityStateZipSegment(std::string_view city, std::string_view state, std::string_view zip,
                                bool canadaCode) {
  SegmentText n4("N4");
  n4.Add(city).Add(state).Add(zip);
  if (canadaCode && IsCanadianProvince(state)) n4.Add("CA");
  return n4;
}

Components AmbulanceConditionCodes(const AmbulanceRec& ambulance) {
  static constexpr std::string_view kCodes[] = {"01", "02", "03", "04", "05",
                                                "06", "07", "08", "09"};
  // The CRC takes the first five of them.
  Components codes;
  std::size_t member = Ambulance::sCondition01;
  for (std::string_view code : kCodes) {
    if (ambulance[member++] == "1") codes.Add(code);
  }
  if (ambulance[Ambulance::sTransportReason] == "A") codes.Add("60");
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

SegmentText AmbulanceCertificationSegment(const Components& codes) {
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
