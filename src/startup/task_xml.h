#pragma once
// A small XML reader for the scheduler's task files and the store apps' package
// manifests: a whole document into a tree of elements. Bounded: the document's size, the nesting depth and the number of
// elements are limited, and anything malformed gives no document at all.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bootmark {

struct XmlElement {
  std::string name;  // without its namespace prefix, unless the reading keeps them
  std::vector<std::pair<std::string, std::string>> attributes;
  std::string text;  // character data directly inside, entities resolved
  std::vector<XmlElement> children;

  // First child of that name, or nullptr.
  const XmlElement* Child(std::string_view childName) const;
  // Trimmed text of the child at the end of `path` ("IdleSettings/Duration");
  // nullopt when an element of the path is missing.
  std::optional<std::string> ChildText(std::string_view path) const;
  // The attribute's value; nullopt when missing.
  std::optional<std::string> Attribute(std::string_view attributeName) const;
};

struct XmlLimits {
  std::size_t maxBytes = 4 * 1024 * 1024;
  std::size_t maxDepth = 32;
  std::size_t maxElements = 20000;
  // Element and attribute names as written ("uap:VisualElements"); by default
  // the prefix is dropped ("VisualElements").
  bool keepNamespacePrefixes = false;
};

// The root element of a document in UTF-16 (either byte order, with or without a
// byte order mark) or UTF-8. Nullopt when the bytes are not a well-formed
// document within the limits.
std::optional<XmlElement> ParseXmlDocument(std::string_view bytes, const XmlLimits& limits = {});

}  // namespace bootmark
