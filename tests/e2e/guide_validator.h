// Checks a claim file against the 837 Professional implementation guide held
// as data (tests/guide/): the loop a segment belongs to, segment order within
// loops, required segments and loops, repeat counts, element usage, element
// lengths, listed code values and the segment syntax rules.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wcomp837::testing {

struct GuideElement {
  std::string ref;  // "CLM05", or "CLM05-1" inside a composite
  int seq = 0;
  char usage = 'S';  // R required, S situational, N not used
  std::string type;  // AN, ID, R, N0, N2, DT, TM
  int minLen = 0;
  int maxLen = 0;
  std::vector<std::string> codes;   // empty: any value
  std::vector<GuideElement> parts;  // a composite's components
};

struct GuideNode {
  bool isLoop = false;
  std::string id;  // loop id ("2300") or segment id ("CLM")
  char usage = 'S';
  int limit = 0;  // repeat of a loop, max_use of a segment; 0 = unbounded
  int pos = 0;    // position in the loop; children of equal position come in any order
  std::vector<GuideNode> children;  // a loop's segments and loops, in order
  std::vector<GuideElement> elements;
  std::vector<std::string> syntax;  // "P0809", "C1110" ...
};

// One departure from the guide. `key` names it without the data ("2310B
// REF01 code not listed") so that documented departures can be allowed by
// key; `detail` adds the segment number and the value.
struct GuideDeparture {
  std::string key;
  std::string detail;
};

class Guide {
 public:
  // Reads the transaction map and the data element dictionary.
  static std::unique_ptr<Guide> Load(const std::string& mapPath, const std::string& elementsPath);
  // The guide shipped with the tests.
  static const Guide& Shared();

  const GuideNode& root() const { return root_; }
  // Walks the claim file text; departures in file order. When `loops` is
  // given it receives, per segment, the id of the loop it was placed in.
  std::vector<GuideDeparture> Validate(const std::string& claimFile,
                                       std::vector<std::string>* loops = nullptr) const;

 private:
  GuideNode root_;
};

}  // namespace wcomp837::testing
