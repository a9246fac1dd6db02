#include "x12/checker.h"

#include <fmt/format.h>

#include <fstream>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace wcomp837 {
namespace {

constexpr std::size_t kMaxProblems = 100;

// Highest element position of each segment the 837 Professional uses.
const std::unordered_map<std::string_view, int>& MaxElements() {
  static const std::unordered_map<std::string_view, int> table = {
      {"ISA", 16}, {"IEA", 2},  {"GS", 8},   {"GE", 2},   {"ST", 3},   {"SE", 2},   {"BHT", 6},
      {"REF", 4},  {"NM1", 11}, {"PER", 9},  {"N2", 2},   {"N3", 2},   {"N4", 6},   {"HL", 4},
      {"PRV", 6},  {"CUR", 21}, {"SBR", 9},  {"PAT", 9},  {"DMG", 3},  {"CLM", 20}, {"DTP", 3},
      {"PWK", 9},  {"CN1", 6},  {"AMT", 3},  {"K3", 3},   {"NTE", 2},  {"CR1", 10}, {"CR2", 12},
      {"CRC", 7},  {"HI", 12},  {"HCP", 15}, {"CAS", 19}, {"OI", 6},   {"MOA", 9},  {"LX", 1},
      {"SV1", 21}, {"SV5", 7},  {"CR3", 5},  {"CR5", 18}, {"MEA", 12}, {"PS1", 3},  {"HSD", 8},
      {"QTY", 4},  {"LIN", 31}, {"CTP", 11}, {"SVD", 6},  {"LQ", 2},   {"FRM", 5},  {"CR4", 29},
      {"CR6", 21}, {"CR8", 9},  {"MIA", 24},
  };
  return table;
}

struct Checker {
  ClaimFileCheck result;
  char elementSep = '*';
  char componentSep = ':';
  char terminator = '~';

  // Open envelopes.
  std::optional<std::string> isaControl;
  std::int64_t groupsInInterchange = 0;
  bool interchangeClosed = false;
  std::optional<std::string> gsControl;
  std::int64_t setsInGroup = 0;
  std::optional<std::string> stControl;
  std::int64_t segmentsInSet = 0;
  std::int64_t expectedHL = 1;
  std::map<std::int64_t, std::string> levels;  // HL number -> level code in the open set
  std::int64_t segmentNumber = 0;

  void Problem(const std::string& text) {
    if (result.problems.size() < kMaxProblems) {
      result.problems.push_back(fmt::format("segment {}: {}", segmentNumber, text));
    }
  }

  static std::vector<std::string_view> Split(std::string_view s, char sep) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (;;) {
      std::size_t p = s.find(sep, start);
      if (p == std::string_view::npos) {
        out.push_back(s.substr(start));
        return out;
      }
      out.push_back(s.substr(start, p - start));
      start = p + 1;
    }
  }

  static std::optional<std::int64_t> Number(std::string_view s) {
    if (s.empty() || s.size() > 18) return std::nullopt;
    std::int64_t v = 0;
    for (char ch : s) {
      if (ch < '0' || ch > '9') return std::nullopt;
      v = v * 10 + (ch - '0');
    }
    return v;
  }

  static std::string Trimmed(std::string_view s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return "";
    std::size_t e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
  }

  void CountMatches(std::string_view what, std::string_view field, std::int64_t actual) {
    auto n = Number(field);
    if (!n) {
      Problem(fmt::format("{} count \"{}\" is not a number", what, field));
    } else if (*n != actual) {
      Problem(fmt::format("{} count is {} but {} were found", what, *n, actual));
    }
  }

  void Segment(std::string_view seg) {
    ++segmentNumber;
    ++result.segments;
    if (seg.empty()) {
      Problem("empty segment");
      return;
    }
    for (char ch : seg) {
      unsigned char u = static_cast<unsigned char>(ch);
      if (u < 0x20 || u > 0x7e) {
        Problem("character outside the printable character set");
        break;
      }
    }
    auto el = Split(seg, elementSep);
    std::string_view id = el[0];
    auto known = MaxElements().find(id);
    if (known == MaxElements().end()) {
      Problem(fmt::format("unknown segment identifier \"{}\"", id));
    } else if (static_cast<int>(el.size()) - 1 > known->second) {
      Problem(
          fmt::format("{} has {} elements, at most {} are defined (an element separator inside "
                      "a value?)",
                      id, el.size() - 1, known->second));
    }
    if (el.size() > 1 && el.back().empty() && id != "ISA") {
      Problem(fmt::format("{} ends with an empty element", id));
    }
    auto at = [&](std::size_t i) -> std::string_view {
      return i < el.size() ? el[i] : std::string_view();
    };
    if (stControl) ++segmentsInSet;

    if (id == "ISA") {
      if (isaControl || interchangeClosed) Problem("a second ISA in the file");
      isaControl = std::string(at(13));
      ++result.interchanges;
      groupsInInterchange = 0;
    } else if (id == "IEA") {
      if (!isaControl) {
        Problem("IEA without ISA");
      } else {
        if (gsControl) Problem("IEA while a functional group is open");
        CountMatches("IEA01 group", at(1), groupsInInterchange);
        if (at(2) != *isaControl) {
          Problem(fmt::format("IEA02 \"{}\" does not match ISA13 \"{}\"", at(2), *isaControl));
        }
      }
      isaControl.reset();
      interchangeClosed = true;
    } else if (id == "GS") {
      if (!isaControl) Problem("GS outside an interchange");
      if (gsControl) Problem("GS while a functional group is open");
      gsControl = std::string(at(6));
      setsInGroup = 0;
      ++groupsInInterchange;
      ++result.groups;
    } else if (id == "GE") {
      if (!gsControl) {
        Problem("GE without GS");
      } else {
        if (stControl) Problem("GE while a transaction set is open");
        CountMatches("GE01 transaction set", at(1), setsInGroup);
        if (at(2) != *gsControl) {
          Problem(fmt::format("GE02 \"{}\" does not match GS06 \"{}\"", at(2), *gsControl));
        }
      }
      gsControl.reset();
    } else if (id == "ST") {
      if (!gsControl) Problem("ST outside a functional group");
      if (stControl) Problem("ST while a transaction set is open");
      stControl = std::string(at(2));
      segmentsInSet = 1;
      expectedHL = 1;
      levels.clear();
      ++setsInGroup;
      ++result.transactionSets;
    } else if (id == "SE") {
      if (!stControl) {
        Problem("SE without ST");
      } else {
        CountMatches("SE01 segment", at(1), segmentsInSet);
        if (at(2) != *stControl) {
          Problem(fmt::format("SE02 \"{}\" does not match ST02 \"{}\"", at(2), *stControl));
        }
      }
      stControl.reset();
    } else if (id == "HL") {
      if (!stControl) Problem("HL outside a transaction set");
      auto n = Number(at(1));
      if (!n || *n != expectedHL) {
        Problem(fmt::format("HL01 \"{}\" should be {}", at(1), expectedHL));
      }
      if (n) {
        result.maxHL = std::max(result.maxHL, *n);
        expectedHL = *n + 1;
        if (!at(2).empty()) {
          auto parent = Number(at(2));
          if (!parent || levels.find(*parent) == levels.end()) {
            Problem(fmt::format("HL02 \"{}\" names no earlier HL", at(2)));
          } else if (*parent >= *n) {
            Problem("HL02 does not name an earlier HL");
          }
        } else if (at(3) != "20") {
          Problem("HL without a parent below the billing provider level");
        }
        levels[*n] = std::string(at(3));
      }
    } else if (id == "CLM") {
      ++result.claims;
    } else if (id == "LX") {
      ++result.serviceLines;
    }
  }

  // Reads the ISA header; false when the text cannot be an interchange.
  bool Begin(std::string_view head) {
    if (head.size() < 106 || head.compare(0, 3, "ISA") != 0) {
      result.problems.push_back("the file does not begin with a 106-character ISA segment");
      return false;
    }
    elementSep = head[3];
    componentSep = head[104];
    terminator = head[105];
    // The ISA's fixed width: every separator in its fixed column.
    static const int kSeparatorColumns[] = {4,  7,  18, 21, 32, 35,  51,  54,
                                            70, 77, 82, 84, 90, 100, 102, 104};
    for (int col : kSeparatorColumns) {
      if (head[static_cast<std::size_t>(col - 1)] != elementSep) {
        result.problems.push_back(
            fmt::format("ISA: column {} should hold the element separator", col));
      }
    }
    if (componentSep == elementSep || terminator == elementSep || terminator == componentSep) {
      result.problems.push_back("ISA: separators and terminator are not distinct");
      return false;
    }
    return true;
  }

  // Feeds the next piece of the file; pending keeps an unterminated tail.
  void Feed(std::string_view piece, std::string& pending) {
    std::size_t start = 0;
    for (;;) {
      std::size_t end = piece.find(terminator, start);
      if (end == std::string_view::npos) break;
      if (pending.empty()) {
        Segment(piece.substr(start, end - start));
      } else {
        pending.append(piece.substr(start, end - start));
        Segment(pending);
        pending.clear();
      }
      start = end + 1;
    }
    pending.append(piece.substr(start));
  }

  void Finish(const std::string& pending) {
    if (!pending.empty()) {
      ++segmentNumber;
      Problem("the last segment is not terminated");
    }
    if (stControl) Problem("transaction set not closed by SE");
    if (gsControl) Problem("functional group not closed by GE");
    if (isaControl) Problem("interchange not closed by IEA");
    if (result.interchanges == 0) Problem("no interchange");
    result.ok = result.problems.empty();
  }
};

}  // namespace

ClaimFileCheck CheckClaimText(const std::string& text) {
  Checker checker;
  if (checker.Begin(text)) {
    std::string pending;
    checker.Feed(text, pending);
    checker.Finish(pending);
  }
  checker.result.ok = checker.result.problems.empty();
  return checker.result;
}

ClaimFileCheck CheckClaimFile(const std::string& path) {
  Checker checker;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    checker.result.problems.push_back("cannot read " + path);
    return checker.result;
  }
  std::string buffer(1 << 20, '\0');
  in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  std::size_t got = static_cast<std::size_t>(in.gcount());
  if (checker.Begin(std::string_view(buffer).substr(0, got))) {
    std::string pending;
    while (got > 0) {
      checker.Feed(std::string_view(buffer).substr(0, got), pending);
      in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
      got = static_cast<std::size_t>(in.gcount());
    }
    checker.Finish(pending);
  }
  checker.result.ok = checker.result.problems.empty();
  return checker.result;
}

}  // namespace wcomp837
