#include "e2e/mini_xml.h"

#include <cctype>
#include <cstring>
#include <stdexcept>

namespace wcomp837::testing {

const XmlNode* XmlNode::Child(const std::string& child) const {
  for (const auto& c : children) {
    if (c->name == child) return c.get();
  }
  return nullptr;
}

std::string XmlNode::ChildText(const std::string& child) const {
  const XmlNode* c = Child(child);
  return c ? c->text : std::string();
}

std::string XmlNode::Attribute(const std::string& key) const {
  auto it = attributes.find(key);
  return it == attributes.end() ? std::string() : it->second;
}

namespace {

std::string Decode(const std::string& raw) {
  static const std::pair<const char*, char> kEntities[] = {
      {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (std::size_t i = 0; i < raw.size();) {
    bool replaced = false;
    if (raw[i] == '&') {
      for (const auto& [entity, ch] : kEntities) {
        if (raw.compare(i, std::char_traits<char>::length(entity), entity) == 0) {
          out += ch;
          i += std::char_traits<char>::length(entity);
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += raw[i++];
  }
  return out;
}

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  std::unique_ptr<XmlNode> Document() {
    SkipMisc();
    auto root = Element();
    SkipMisc();
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error("XML: " + what + " at offset " + std::to_string(pos_));
  }

  bool StartsWith(const char* s) const { return text_.compare(pos_, std::strlen(s), s) == 0; }

  void SkipTo(const char* end) {
    const std::size_t at = text_.find(end, pos_);
    if (at == std::string::npos) Fail(std::string("missing ") + end);
    pos_ = at + std::strlen(end);
  }

  // Whitespace, comments and processing instructions between elements.
  void SkipMisc() {
    for (;;) {
      while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
      if (StartsWith("<!--")) {
        SkipTo("-->");
      } else if (StartsWith("<?")) {
        SkipTo("?>");
      } else {
        return;
      }
    }
  }

  std::string Name() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_' ||
            text_[pos_] == ':' || text_[pos_] == '-' || text_[pos_] == '.')) {
      ++pos_;
    }
    if (start == pos_) Fail("expected a name");
    return text_.substr(start, pos_ - start);
  }

  void SkipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }

  std::unique_ptr<XmlNode> Element() {
    if (!StartsWith("<")) Fail("expected '<'");
    ++pos_;
    auto node = std::make_unique<XmlNode>();
    node->name = Name();
    for (;;) {
      SkipSpace();
      if (StartsWith("/>")) {
        pos_ += 2;
        return node;
      }
      if (StartsWith(">")) {
        ++pos_;
        break;
      }
      const std::string key = Name();
      SkipSpace();
      if (!StartsWith("=")) Fail("expected '='");
      ++pos_;
      SkipSpace();
      const char quote = pos_ < text_.size() ? text_[pos_] : '\0';
      if (quote != '"' && quote != '\'') Fail("expected a quoted value");
      const std::size_t end = text_.find(quote, pos_ + 1);
      if (end == std::string::npos) Fail("unterminated value");
      node->attributes[key] = Decode(text_.substr(pos_ + 1, end - pos_ - 1));
      pos_ = end + 1;
    }
    std::string raw;
    for (;;) {
      if (pos_ >= text_.size()) Fail("unterminated element " + node->name);
      if (StartsWith("</")) {
        pos_ += 2;
        if (Name() != node->name) Fail("mismatched end of " + node->name);
        SkipSpace();
        if (!StartsWith(">")) Fail("expected '>'");
        ++pos_;
        node->text = Trim(Decode(raw));
        return node;
      }
      if (StartsWith("<!--") || StartsWith("<?")) {
        SkipMisc();
      } else if (StartsWith("<")) {
        node->children.push_back(Element());
      } else {
        raw += text_[pos_++];
      }
    }
  }

  const std::string& text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::unique_ptr<XmlNode> ParseXml(const std::string& text) {
  return Parser(text).Document();
}

}  // namespace wcomp837::testing
