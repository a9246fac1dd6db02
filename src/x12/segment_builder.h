// Building blocks shared by the claim loop writers (subscriber, payer,
// patient, claim, claim providers, other insurances, service lines), so
// that every loop follows the same rules (no NM108 without NM109, "CA"
// after a Canadian province).
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "x12/writer_ctx.h"

namespace wcomp837 {

// One segment in the making: the identifier, then each element followed by
// "*" whether or not it has a value (WriteASCIIOUT strips the trailing ones).
// A host value as it may stand in an element: without the element
// separator, the component separator and the segment terminator (each would
// break the segment apart or shift a payer's reading of it), and without
// bytes outside the printable X12 basic and extended character sets.
std::string ElementValue(std::string_view value);
// The bytes that may stand in an element value, as a table: the check of
// each byte of every element is then one load.
inline constexpr std::array<bool, 256> kElementCharacters = [] {
  std::array<bool, 256> table{};
  for (std::size_t byte = 0x20; byte <= 0x7E; ++byte) table[byte] = true;
  for (const char separator : {'*', '~', ':'}) table[static_cast<unsigned char>(separator)] = false;
  return table;
}();
// True for a byte that may stand in an element value.
constexpr bool IsElementCharacter(char ch) {
  return kElementCharacters[static_cast<unsigned char>(ch)];
}
// Copies the element characters of value to `to`, which has room for all
// of value; answers the end of what was copied. Each byte is copied and kept
// only when it may stand in an element.
inline char* CopyElementCharacters(char* to, std::string_view value) {
  for (const char ch : value) {
    *to = ch;
    to += IsElementCharacter(ch) ? 1 : 0;
  }
  return to;
}
// Appends the element characters of value to out.
inline void AppendElementCharacters(std::string& out, std::string_view value) {
  const std::size_t size = out.size();
  out.resize(size + value.size());
  char* const end = CopyElementCharacters(out.data() + size, value);
  out.resize(static_cast<std::size_t>(end - out.data()));
}

// Stores into out a copy of a record whose members hold no separator
// characters, for segments built outside SegmentText (out's buffer is reused).
template <std::size_t N>
void CleanInto(Rec<N>& out, const Rec<N>& rec) {
  thread_local std::string clean;
  out.Clear();
  for (std::size_t i = 0; i < N; ++i) {
    clean.clear();
    AppendElementCharacters(clean, rec[i]);
    out[i] = clean;
  }
}

// The components of one composite element (at most eight), or a short
// list of codes: views into texts that outlive it.
class Components {
 public:
  Components() = default;
  Components(std::initializer_list<std::string_view> parts) {
    for (std::string_view part : parts) Add(part);
  }
  void Add(std::string_view part) {
    if (count_ < parts_.size()) parts_[count_++] = part;
  }
  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  std::string_view operator[](std::size_t i) const { return parts_[i]; }
  const std::string_view* begin() const { return parts_.data(); }
  const std::string_view* end() const { return parts_.data() + count_; }

 private:
  std::array<std::string_view, 8> parts_{};
  std::size_t count_ = 0;
};

// A buffer a segment is built in: bytes and how many it can hold.
struct SegmentBuffer {
  std::unique_ptr<char[]> bytes;
  std::size_t capacity = 0;
};

class SegmentText {
 public:
  // The buffer is lent by a small pool of this thread's and goes back to
  // it: building a segment allocates nothing once the pool is warm.
  explicit SegmentText(std::string_view id);
  ~SegmentText();
  SegmentText(SegmentText&& other) noexcept
      : buffer_(other.buffer_),
        size_(other.size_),
        slot_(other.slot_),
        owned_(std::move(other.owned_)) {
    other.buffer_ = nullptr;
    other.slot_ = kNoSlot;
  }
  SegmentText& operator=(SegmentText&&) = delete;
  // Appends one element (separators inside the value are dropped) and "*".
  SegmentText& Add(std::string_view element) {
    Append(element);
    Put('*');
    return *this;
  }
  // Appends one element made of two texts written one after the other.
  SegmentText& AddJoined(std::string_view first, std::string_view second) {
    Append(first);
    return Add(second);
  }
  // Appends one composite element: each component cleaned as above, joined
  // by the component separator ":", then "*".
  SegmentText& AddComposite(const Components& components);
  std::string_view str() const { return std::string_view(buffer_->bytes.get(), size_); }

 private:
  static constexpr std::uint8_t kNoSlot = 0xFF;
  // Copies the element characters of value.
  void Append(std::string_view value);
  // Appends a separator.
  void Put(char separator) {
    if (size_ == buffer_->capacity) Grow(1);
    buffer_->bytes[size_++] = separator;
  }
  // Makes room for `more` bytes.
  void Grow(std::size_t more);
  SegmentBuffer* buffer_;
  std::size_t size_ = 0;
  std::uint8_t slot_ = kNoSlot;           // the pool's buffer lent, if any
  std::unique_ptr<SegmentBuffer> owned_;  // when the pool had none to lend
};

// Counts the segment and writes it from its own buffer (trailing empty
// elements left out): the usual step of every loop writer. 0 written or
// dropped, 3 failure (messages added).
std::int16_t WriteCountedSegment(const WriterCtx& c, const SegmentText& segment);

// Counts and writes the segments of one loop. After the first failed write
// nothing more is written and Status() answers 3.
class LoopWriter {
 public:
  explicit LoopWriter(const WriterCtx& c) : c_(c) {}
  // The writer keeps the context: a temporary one would not outlive it.
  LoopWriter(WriterCtx&&) = delete;
  // A built segment is written from its own buffer.
  LoopWriter& Put(const SegmentText& segment);
  LoopWriter& Put(std::string_view segment);
  bool Failed() const { return failed_; }
  std::int16_t Status() const { return failed_ ? 3 : 0; }

 private:
  const WriterCtx& c_;
  bool failed_ = false;
};

// A name as the record holds it; NameSegment cuts and trims each part.
struct PersonName {
  Text last;  // or the organisation name
  Text first;
  Text middle;
  Text suffix;
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
SegmentText AddressSegment(std::string_view line1, std::string_view line2);
// N4: city, state, ZIP; with canadaCode, "CA" (the ISO code for Canada) in
// N404 when the state is a Canadian province.
SegmentText CityStateZipSegment(std::string_view city, std::string_view state, std::string_view zip,
                                bool canadaCode);

// The ambulance condition codes of a record: "01" to "09" for each of its
// indicators that is "1", then "60" when the transport reason is "A".
Components AmbulanceConditionCodes(const AmbulanceRec& ambulance);
// CR1 of an ambulance record.
SegmentText AmbulanceTransportSegment(const AmbulanceRec& ambulance);
// CRC*07*Y with the first five condition codes.
SegmentText AmbulanceCertificationSegment(const Components& codes);

// Member `index` of a record seen as a row of texts; an index outside the
// row raises the subscript failure.
Text Member(RecordView record, std::size_t index);

}  // namespace wcomp837
