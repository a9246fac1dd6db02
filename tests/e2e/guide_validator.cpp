#include "e2e/guide_validator.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>

#include "e2e/mini_xml.h"
#include "support/test_support.h"

namespace wcomp837::testing {
namespace {

struct ElementSize {
  std::string type;
  int minLen = 0;
  int maxLen = 0;
};
using Dictionary = std::map<std::string, ElementSize>;

// The dictionary gives some lengths of later versions; these are the
// 004010 lengths.
const std::map<std::string, int> k4010MaxLength = {{"1035", 35}};

Dictionary ReadDictionary(const XmlNode& root) {
  Dictionary d;
  for (const auto& e : root.children) {
    ElementSize size{e->Attribute("data_type"), std::stoi(e->Attribute("min_len")),
                     std::stoi(e->Attribute("max_len"))};
    auto fix = k4010MaxLength.find(e->Attribute("ele_num"));
    if (fix != k4010MaxLength.end()) size.maxLen = fix->second;
    d[e->Attribute("ele_num")] = size;
  }
  return d;
}

char Usage(const XmlNode& n) {
  const std::string u = n.ChildText("usage");
  return u.empty() ? 'S' : u[0];
}

int Limit(const std::string& text) {
  if (text.empty() || text[0] == '>') return 0;
  return std::stoi(text);
}

GuideElement ReadElement(const XmlNode& n, const Dictionary& dict, const std::string& ref) {
  GuideElement e;
  e.ref = ref;
  e.seq = std::stoi(n.ChildText("seq"));
  e.usage = Usage(n);
  auto size = dict.find(n.ChildText("data_ele"));
  if (size != dict.end()) {
    e.type = size->second.type;
    e.minLen = size->second.minLen;
    e.maxLen = size->second.maxLen;
  }
  // External code lists (states, countries ...) are not checked.
  if (const XmlNode* codes = n.Child("valid_codes");
      codes && codes->Attribute("external").empty()) {
    for (const auto& c : codes->children) e.codes.push_back(c->text);
  }
  return e;
}

GuideNode ReadSegment(const XmlNode& n, const Dictionary& dict) {
  GuideNode s;
  s.id = n.Attribute("xid");
  s.usage = Usage(n);
  s.limit = Limit(n.ChildText("max_use"));
  s.pos = n.ChildText("pos").empty() ? 0 : std::stoi(n.ChildText("pos"));
  for (const auto& c : n.children) {
    if (c->name == "syntax") s.syntax.push_back(c->text);
    if (c->name == "element") s.elements.push_back(ReadElement(*c, dict, c->Attribute("xid")));
    if (c->name == "composite") {
      const std::string ref = c->ChildText("refdes");
      GuideElement comp;
      comp.ref = ref;
      comp.seq = std::stoi(c->ChildText("seq"));
      comp.usage = Usage(*c);
      int part = 0;
      for (const auto& p : c->children) {
        if (p->name == "element") {
          comp.parts.push_back(ReadElement(*p, dict, ref + "-" + std::to_string(++part)));
        }
      }
      s.elements.push_back(std::move(comp));
    }
  }
  return s;
}

GuideNode ReadLoop(const XmlNode& n, const Dictionary& dict) {
  GuideNode loop;
  loop.isLoop = true;
  loop.id = n.Attribute("xid");
  loop.usage = n.name == "transaction" ? 'R' : Usage(n);
  loop.limit = Limit(n.ChildText("repeat"));
  loop.pos = n.ChildText("pos").empty() ? 0 : std::stoi(n.ChildText("pos"));
  for (const auto& c : n.children) {
    if (c->name == "segment") loop.children.push_back(ReadSegment(*c, dict));
    if (c->name == "loop") loop.children.push_back(ReadLoop(*c, dict));
  }
  return loop;
}

// ---- splitting the claim file -------------------------------------------

struct Delimiters {
  char element = '*';
  char component = ':';
  char segment = '~';
};

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> out(1);
  for (char ch : s) {
    if (ch == sep) {
      out.emplace_back();
    } else {
      out.back() += ch;
    }
  }
  return out;
}

std::vector<std::string> Segments(const std::string& text, Delimiters& d) {
  if (text.size() >= 106 && text.compare(0, 3, "ISA") == 0) {
    d.element = text[3];
    d.component = text[104];
    d.segment = text[105];
  }
  std::vector<std::string> out;
  for (std::string& s : Split(text, d.segment)) {
    s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; }),
            s.end());
    if (!s.empty()) out.push_back(std::move(s));
  }
  return out;
}

// ---- walking the loops ----------------------------------------------------

bool Listed(const GuideElement& e, const std::string& value) {
  return e.codes.empty() || std::find(e.codes.begin(), e.codes.end(), value) != e.codes.end();
}

// Numeric values count their digits only (no sign, no decimal point).
int ValueLength(const GuideElement& e, const std::string& v) {
  if (e.type != "R" && e.type != "N0" && e.type != "N2") return static_cast<int>(v.size());
  return static_cast<int>(std::count_if(
      v.begin(), v.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }));
}

const GuideElement* ElementAt(const GuideNode& seg, int seq) {
  for (const GuideElement& e : seg.elements) {
    if (e.seq == seq) return &e;
  }
  return nullptr;
}

// A segment fits a guide position when its id matches and its identifying
// qualifier (HL03 for HL, element 01 otherwise) is one the position lists.
bool Fits(const GuideNode& node, const std::vector<std::string>& seg, bool strict) {
  if (node.isLoop || node.id != seg[0]) return false;
  if (!strict) return true;
  const int seq = node.id == "HL" ? 3 : 1;
  const GuideElement* e = ElementAt(node, seq);
  if (!e || e->codes.empty()) return true;
  return Listed(*e, seg.size() > static_cast<std::size_t>(seq) ? seg[seq] : "");
}

bool Starts(const GuideNode& loop, const std::vector<std::string>& seg, bool strict) {
  if (loop.children.empty()) return false;
  const GuideNode& first = loop.children.front();
  return first.isLoop ? Starts(first, seg, strict) : Fits(first, seg, strict);
}

class Walker {
 public:
  Walker(const GuideNode& root, const Delimiters& d, std::vector<GuideDeparture>& out,
         std::vector<std::string>* loops)
      : d_(d), out_(out), loops_(loops) {
    stack_.push_back(Frame{&root, 0, std::vector<int>(root.children.size(), 0)});
  }

  void Segment(const std::vector<std::string>& seg, std::int64_t number) {
    number_ = number;
    if (Place(seg, true) || Earlier(seg) || Place(seg, false)) {
      if (loops_) loops_->push_back(LoopId());
      return;
    }
    Report(seg[0] + " out of place", "after " + Path());
    if (loops_) loops_->push_back("?");
  }

  void Finish() {
    while (!stack_.empty()) Close();
  }

 private:
  struct Frame {
    const GuideNode* loop;
    std::size_t index;
    std::vector<int> counts;
  };

  void Report(const std::string& key, const std::string& detail) {
    out_.push_back({key, "segment " + std::to_string(number_) + ": " + detail});
  }

  std::string LoopId() const {
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
      if (it->loop->id != "HEADER" && it->loop->id != "DETAIL") return it->loop->id;
    }
    return "";
  }

  std::string Path() const {
    std::string p;
    for (const Frame& f : stack_) p += "/" + f.loop->id;
    return p;
  }

  // Closes the innermost loop instance: every required child must have shown.
  void Close() {
    const Frame& f = stack_.back();
    for (std::size_t j = 0; j < f.loop->children.size(); ++j) {
      const GuideNode& child = f.loop->children[j];
      if (child.usage == 'R' && f.counts[j] == 0) {
        Report(f.loop->id + " lacks required " + (child.isLoop ? "loop " : "segment ") + child.id,
               "in " + Path());
      }
    }
    stack_.pop_back();
  }

  void Count(Frame& f, std::size_t j) {
    f.index = j;
    const GuideNode& child = f.loop->children[j];
    if (++f.counts[j] == child.limit + 1 && child.limit > 0) {
      Report(f.loop->id + " " + child.id + " repeats more than " + std::to_string(child.limit),
             "in " + Path());
    }
  }

  // First child sharing the position number of the current one: children of
  // one position may come in any order.
  static std::size_t GroupStart(const Frame& f) {
    std::size_t j = f.index;
    while (j > 0 && f.loop->children[j - 1].pos == f.loop->children[f.index].pos) --j;
    return j;
  }

  // Finds the position of seg from the innermost loop outwards, searching
  // forward from each loop's current position.
  bool Place(const std::vector<std::string>& seg, bool strict) {
    for (std::size_t depth = stack_.size(); depth-- > 0;) {
      const Frame& f = stack_[depth];
      for (std::size_t j = GroupStart(f); j < f.loop->children.size(); ++j) {
        const GuideNode& child = f.loop->children[j];
        const bool hit = child.isLoop ? Starts(child, seg, strict) : Fits(child, seg, strict);
        if (!hit) continue;
        while (stack_.size() > depth + 1) Close();
        Count(stack_.back(), j);
        if (child.isLoop) {
          Enter(child, seg);
        } else {
          CheckElements(child, seg);
        }
        return true;
      }
    }
    return false;
  }

  // A segment that fits a position the innermost loop has already passed
  // is out of order; it is checked there without moving back.
  bool Earlier(const std::vector<std::string>& seg) {
    const Frame& f = stack_.back();
    for (std::size_t j = 0; j < GroupStart(f); ++j) {
      const GuideNode& child = f.loop->children[j];
      if (Fits(child, seg, true)) {
        Report(f.loop->id + " " + seg[0] + (seg.size() > 1 ? "*" + seg[1] : "") + " out of order",
               "in " + Path());
        CheckElements(child, seg);
        return true;
      }
    }
    return false;
  }

  void Enter(const GuideNode& loop, const std::vector<std::string>& seg) {
    stack_.push_back(Frame{&loop, 0, std::vector<int>(loop.children.size(), 0)});
    Count(stack_.back(), 0);
    const GuideNode& first = loop.children.front();
    if (first.isLoop) {
      Enter(first, seg);
    } else {
      CheckElements(first, seg);
    }
  }

  void CheckValue(const GuideElement& e, const std::string& v) {
    const std::string where = LoopId() + " " + e.ref;
    if (v.empty()) {
      if (e.usage == 'R') Report(where + " required element empty", "");
      return;
    }
    if (e.usage == 'N') Report(where + " not-used element present", "'" + v + "'");
    if (!e.parts.empty()) {
      const std::vector<std::string> parts = Split(v, d_.component);
      for (std::size_t i = 0; i < e.parts.size(); ++i) {
        CheckValue(e.parts[i], i < parts.size() ? parts[i] : "");
      }
      if (parts.size() > e.parts.size()) Report(where + " too many components", "'" + v + "'");
      return;
    }
    const int length = ValueLength(e, v);
    if (e.maxLen > 0 && (length < e.minLen || length > e.maxLen)) {
      Report(where + " length outside " + std::to_string(e.minLen) + "-" + std::to_string(e.maxLen),
             "'" + v + "'");
    }
    if (!Listed(e, v)) Report(where + " code not listed", "'" + v + "'");
  }

  void CheckSyntax(const GuideNode& seg, const std::vector<std::string>& values) {
    for (const std::string& rule : seg.syntax) {
      std::vector<bool> present;
      for (std::size_t i = 1; i + 1 < rule.size(); i += 2) {
        const std::size_t seq = std::stoul(rule.substr(i, 2));
        present.push_back(seq < values.size() && !values[seq].empty());
      }
      const auto n = std::count(present.begin(), present.end(), true);
      bool ok = true;
      switch (rule[0]) {
        case 'P':
          ok = n == 0 || n == static_cast<long>(present.size());
          break;
        case 'R':
          ok = n > 0;
          break;
        case 'E':
          ok = n <= 1;
          break;
        case 'C':
          ok = !present[0] || n == static_cast<long>(present.size());
          break;
        case 'L':
          ok = !present[0] || n > 1;
          break;
        default:
          break;
      }
      if (!ok) Report(LoopId() + " " + seg.id + " syntax " + rule + " broken", "");
    }
  }

  void CheckElements(const GuideNode& seg, const std::vector<std::string>& values) {
    int last = 0;
    for (const GuideElement& e : seg.elements) {
      last = std::max(last, e.seq);
      CheckValue(e, static_cast<std::size_t>(e.seq) < values.size() ? values[e.seq] : "");
    }
    if (values.size() > static_cast<std::size_t>(last) + 1) {
      Report(LoopId() + " " + seg.id + " has too many elements", "");
    }
    CheckSyntax(seg, values);
  }

  const Delimiters& d_;
  std::vector<GuideDeparture>& out_;
  std::vector<std::string>* loops_;
  std::vector<Frame> stack_;
  std::int64_t number_ = 0;
};

}  // namespace

std::unique_ptr<Guide> Guide::Load(const std::string& mapPath, const std::string& elementsPath) {
  const auto dictionaryXml = ParseXml(ReadFile(elementsPath));
  const Dictionary dict = ReadDictionary(*dictionaryXml);
  const auto mapXml = ParseXml(ReadFile(mapPath));
  auto guide = std::make_unique<Guide>();
  guide->root_ = ReadLoop(*mapXml, dict);
  return guide;
}

const Guide& Guide::Shared() {
  static const std::unique_ptr<Guide> guide = Load(
      SourceDir() + "/tests/guide/837.4010.X098.A1.xml", SourceDir() + "/tests/guide/dataele.xml");
  return *guide;
}

std::vector<GuideDeparture> Guide::Validate(const std::string& claimFile,
                                            std::vector<std::string>* loops) const {
  std::vector<GuideDeparture> out;
  Delimiters d;
  const std::vector<std::string> segments = Segments(claimFile, d);
  Walker walker(root_, d, out, loops);
  std::int64_t number = 0;
  for (const std::string& s : segments) walker.Segment(Split(s, d.element), ++number);
  walker.Finish();
  return out;
}

}  // namespace wcomp837::testing
