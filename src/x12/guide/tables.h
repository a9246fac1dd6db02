// The 837 Professional 004010X098A1 implementation guide as compiled-in
// tables: loops, segments, elements, code lists and syntax rules. The rows
// are generated at build time from the guide data (data/, generate_tables.py);
// indices link the tables to each other.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace wcomp837::guide {

enum class DataType : std::uint8_t { kAN, kID, kR, kN, kDT, kTM };

// A simple element, a composite (parts > 0) or a component of a composite.
// Its texts are in GuideTables::elementTexts at the same index.
struct ElementDef {
  std::uint8_t seq;  // element position, or component position in a composite
  char usage;        // 'R' required, 'S' situational, 'N' not used
  DataType type;
  std::uint8_t decimals;  // implied decimals of an N type
  std::uint16_t minLen;
  std::uint16_t maxLen;
  std::uint32_t codesBegin;  // into GuideTables::codes; codesCount 0: any value
  std::uint16_t codesCount;
  std::uint16_t partsBegin;  // a composite's components, into GuideTables::elements
  std::uint8_t partsCount;
  std::uint8_t partsRequired;  // components up to the last required one
  // How much a sound value needs: kText only its length (AN, ID without
  // codes), kCode its length and code; kOther the full checks.
  enum Kind : std::uint8_t { kText, kCode, kOther } kind;
};

struct ElementText {
  std::string_view ref;          // "CLM01", "CLM05", "CLM05-1"
  std::string_view name;         // "Claim Submitter's Identifier"
  std::string_view dataElement;  // "1028", "C023"
};

// A syntax rule on element positions: 'P' paired, 'R' at least one, 'E' at
// most one, 'C' first needs all others, 'L' first needs one other.
struct SyntaxRule {
  char kind;
  std::uint8_t count;
  std::uint8_t seqs[7];
};

struct SegmentDef {
  std::string_view id;
  std::string_view name;
  std::uint32_t packedId;  // PackId(id)
  char usage;
  std::uint16_t maxUse;  // 0: unbounded
  std::uint16_t elementsBegin;
  std::uint8_t elementsCount;
  std::uint8_t lastSeq;       // highest element position
  std::uint8_t lastRequired;  // highest position of a required element
  std::uint16_t syntaxBegin;
  std::uint8_t syntaxCount;
  // The element that tells positions with the same identifier apart (HL03,
  // otherwise element 1) and its codes; qualifierCount 0: none.
  std::uint8_t qualifierSeq;
  std::uint32_t qualifierBegin;
  std::uint16_t qualifierCount;
};

struct ChildRef {
  bool isLoop;
  std::uint16_t index;        // into loops or segments
  std::uint16_t groupStart;   // first sibling with the same position number
  std::uint16_t opening;      // the segment that opens it (itself for a segment)
  std::uint16_t limit;        // repeats (loop) or uses (segment) allowed; 0: unbounded
  std::uint64_t idsFromHere;  // IdBit of the identifiers that open this or a later sibling
};

// A child of a loop by the identifier of the segment that opens it; each
// loop's openers are sorted by IdBitIndex, identifier, then position.
struct Opener {
  std::uint32_t packedId;
  std::uint8_t child;
  std::uint8_t qualifierSeq;  // as in SegmentDef, for the opening segment
  std::uint16_t qualifierCount;
  std::uint32_t qualifierBegin;
};

struct LoopDef {
  std::string_view id;     // "2300", "ST_LOOP", "HEADER" ...
  std::string_view label;  // how findings name the loop: "2300", "header" ...
  bool numbered;           // a loop of the guide (its id goes into acknowledgments)
  char usage;
  std::uint16_t repeat;  // 0: unbounded
  std::uint16_t childrenBegin;
  std::uint8_t childrenCount;
  std::uint64_t required;      // bit j: child j is required
  std::uint16_t openersBegin;  // the children by the identifier that opens them,
  std::uint8_t openersCount;   //   into GuideTables::openers
  std::uint16_t firstSegment;  // the segment that opens the loop
};

struct GuideTables {
  std::span<const std::string_view> codes;     // each list in byte order
  std::span<const std::uint64_t> packedCodes;  // PackCode of each code, ~0 past 8 characters
  std::span<const ElementDef> elements;
  std::span<const ElementText> elementTexts;
  std::span<const SyntaxRule> syntax;
  std::span<const SegmentDef> segments;
  std::span<const ChildRef> children;
  std::span<const Opener> openers;
  // Per loop, 64 entries by IdBitIndex: the first of its openers with that
  // index (relative to openersBegin), 255 when none.
  std::span<const std::uint8_t> openerSlots;
  std::span<const LoopDef> loops;
  std::uint16_t transactionLoop;       // ST ... SE
  std::uint16_t isa, iea, gs, ge, se;  // envelope segments
};

// The largest number of children of one loop, and the deepest loop nesting
// below the transaction set.
inline constexpr std::size_t kMaxLoopChildren = 64;
inline constexpr std::size_t kMaxLoopDepth = 12;

const GuideTables& Tables();

// A segment identifier of two or three characters as one number; 0 for any
// other text.
constexpr std::uint32_t PackId(std::string_view id) {
  if (id.size() < 2 || id.size() > 3) return 0;
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < id.size(); ++i) {
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(id[i])) << (8 * i);
  }
  return v;
}

// A segment identifier's bit in a 64-bit set of identifiers.
constexpr unsigned IdBitIndex(std::uint32_t packedId) {
  return (packedId * 0x9E3779B1u) >> 26;
}
constexpr std::uint64_t IdBit(std::uint32_t packedId) {
  return std::uint64_t{1} << IdBitIndex(packedId);
}

// The first eight characters of a code as one number whose order is the
// codes' byte order.
constexpr std::uint64_t PackCode(std::string_view code) {
  const std::size_t n = code.size() < 8 ? code.size() : 8;
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < n; ++i) v = v << 8 | static_cast<unsigned char>(code[i]);
  return n == 0 ? 0 : v << (8 * (8 - n));
}

inline const ElementText& TextOf(const GuideTables& t, const ElementDef& e) {
  return t.elementTexts[static_cast<std::size_t>(&e - t.elements.data())];
}

inline std::span<const std::string_view> CodesOf(const GuideTables& t, std::uint32_t begin,
                                                 std::uint16_t count) {
  return t.codes.subspan(begin, count);
}

bool InLongCodes(const GuideTables& t, std::uint32_t begin, std::uint16_t count,
                 std::string_view value);

bool InSortedCodes(const GuideTables& t, std::uint32_t begin, std::uint16_t count,
                   std::uint64_t key);

// True when value, whose PackCode is key, is one of the codes of a list.
// Values of up to eight characters (no NUL among them) are equal when their
// numbers are; a longer code's number matches none of them. Lists of more
// than eight codes hold no code longer than eight characters.
inline bool InCodes(const GuideTables& t, std::uint32_t begin, std::uint16_t count,
                    std::string_view value, std::uint64_t key) {
  if (value.empty()) return false;
  if (value.size() > 8) return InLongCodes(t, begin, count, value);
  // Trailing NUL bytes pack like the padding of a shorter code ("ZZ\0\0" would
  // read as "ZZ"): such a value is no code.
  if (value.back() == '\0') return false;
  if (count > 8) return InSortedCodes(t, begin, count, key);
  for (std::uint16_t i = 0; i < count; ++i) {
    if (t.packedCodes[begin + i] == key) return true;
  }
  return false;
}

inline bool InCodes(const GuideTables& t, std::uint32_t begin, std::uint16_t count,
                    std::string_view value) {
  return InCodes(t, begin, count, value, PackCode(value));
}

}  // namespace wcomp837::guide
