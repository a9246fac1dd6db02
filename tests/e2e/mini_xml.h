// A minimal reader for the implementation-guide XML files: elements,
// attributes, text, comments and the five predefined entities. Enough for
// their simple structure; not a general XML parser.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace wcomp837::testing {

struct XmlNode {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::string text;  // character data directly inside, trimmed
  std::vector<std::unique_ptr<XmlNode>> children;

  // First child element called `child`, or nullptr.
  const XmlNode* Child(const std::string& child) const;
  // Text of the first child element called `child`, or "".
  std::string ChildText(const std::string& child) const;
  std::string Attribute(const std::string& key) const;
};

// Parses a whole document; throws std::runtime_error on malformed input.
std::unique_ptr<XmlNode> ParseXml(const std::string& text);

}  // namespace wcomp837::testing
