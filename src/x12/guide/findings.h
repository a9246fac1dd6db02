// What the guide check finds: the rules it applies and one finding as its
// caller sees it.
#pragma once

#include <cstdint>
#include <string_view>

namespace wcomp837::guide {

// Every rule the check applies. RuleInfo gives each its stable name, the
// problem in words and how a functional acknowledgment reports it.
enum class Rule : std::uint8_t {
  // The file and its envelopes.
  kNoInterchange,
  kInterchangeHeader,
  kUnterminated,
  kOverlongSegment,
  kOutsideEnvelope,
  kEnvelopeOrder,
  kInterchangeTrailer,
  kGroupTrailer,
  kGroupControlNumber,
  kGroupSetCount,
  kVersion,
  kSetTrailer,
  kSegmentCount,
  kSetControlNumber,
  // Segments.
  kEmptySegment,
  kUnknownSegment,
  kUnexpectedSegment,
  kOutOfOrder,
  kMissingSegment,
  kMissingLoop,
  kSegmentRepeat,
  kLoopRepeat,
  kSegmentNotUsed,
  // Elements.
  kRequiredElement,
  kElementNotUsed,
  kTooManyElements,
  kTooManyComponents,
  kTrailingSeparator,
  kTooShort,
  kTooLong,
  kBadCharacter,
  kSeparatorInValue,
  kNotANumber,
  kCodeValue,
  kBadDate,
  kBadTime,
  kSyntaxRequired,
  kSyntaxExclusion,
  // Meaning across segments.
  kHierarchy,
  kClaimBalance,
  kDiagnosisPointer,
  kTaxonomy,
};

enum class Level : std::uint8_t {
  kFile,     // the interchange or the file as a whole
  kGroup,    // a functional group's header or trailer
  kSet,      // a transaction set's header or trailer
  kSegment,  // one segment (or one of its elements) inside a transaction set
};

struct RuleInfo {
  std::string_view name;     // stable: "required-element"
  std::string_view problem;  // "required element missing"
  Level level;
  // Acknowledgment codes: segment syntax error (AK304), element syntax error
  // (AK403), transaction set (AK502) or functional group (AK905) error; 0 none.
  std::uint8_t segmentCode;
  std::uint8_t elementCode;
  std::uint8_t setCode;
  std::uint8_t groupCode;
};

const RuleInfo& InfoOf(Rule rule);

enum class Severity : std::uint8_t { kError, kWarning };

// One finding. The texts are views that stay valid only while the observer
// handles the finding; copy what is kept.
struct Finding {
  Severity severity = Severity::kError;
  Rule rule = Rule::kNoInterchange;
  std::int64_t segment = 0;      // number of the segment in the file (1 = ISA); 0 the file
  std::int64_t setPosition = 0;  // position in its transaction set (ST = 1); 0 outside
  std::string_view segmentId;    // "CLM"
  std::string_view loop;         // "2300", "header", "interchange" ...
  std::string_view loopId;       // the guide's loop identifier, "" outside numbered loops
  std::string_view element;      // "CLM05-1"; empty for the segment as a whole
  std::string_view dataElement;  // "1331"
  std::uint8_t elementPosition = 0;
  std::uint8_t componentPosition = 0;
  std::string_view value;     // the value found
  std::string_view expected;  // what the guide expects
  std::string_view claim;     // CLM01 of the claim it belongs to
  std::string_view key;       // a documented departure's key, else the rule's name
  std::string_view reason;    // a documented departure's reason
};

}  // namespace wcomp837::guide
