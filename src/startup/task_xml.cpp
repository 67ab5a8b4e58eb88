#include "startup/task_xml.h"

#include <cstdint>

#include "base/text.h"

namespace bootmark {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameChar(char c) {
  return !IsSpace(c) && c != '<' && c != '>' && c != '/' && c != '=' && c != '"' && c != '\'' &&
         c != '&' && c != '\0';
}

std::string LocalName(std::string_view name) {
  const std::size_t colon = name.rfind(':');
  return std::string(colon == std::string_view::npos ? name : name.substr(colon + 1));
}

void AppendCodePoint(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes the document's bytes to UTF-8 by its byte order mark, or by the first
// character "<" seen as UTF-16 when there is none.
std::optional<std::string> DecodeDocument(std::string_view bytes) {
  std::string text;
  auto utf16 = [&](std::string_view units, bool bigEndian) -> std::optional<std::string> {
    if (!TryDecodeUtf16Bytes(units, bigEndian, text)) return std::nullopt;
    return text;
  };
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return utf16(bytes.substr(2), false);
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') return utf16(bytes.substr(2), true);
  if (bytes.size() >= 2 && bytes[0] == '<' && bytes[1] == '\0') return utf16(bytes, false);
  if (bytes.size() >= 2 && bytes[0] == '\0' && bytes[1] == '<') return utf16(bytes, true);
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (!IsWellFormedUtf8(bytes)) return std::nullopt;
  return std::string(bytes);
}

class Parser {
 public:
  Parser(std::string_view text, const XmlLimits& limits) : text_(text), limits_(limits) {}

  std::optional<XmlElement> Document() {
    if (!SkipMisc()) return std::nullopt;
    XmlElement root;
    if (!Peek('<') || !Element(root, 1)) return std::nullopt;
    if (!SkipMisc() || pos_ != text_.size()) return std::nullopt;
    return root;
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  bool Peek(char c) const { return !AtEnd() && text_[pos_] == c; }
  bool LooksAt(std::string_view s) const { return text_.substr(pos_, s.size()) == s; }
  void SkipSpace() {
    while (!AtEnd() && IsSpace(text_[pos_])) ++pos_;
  }
  // Moves past the next `end`; false when there is none.
  bool SkipPast(std::string_view end) {
    const std::size_t found = text_.find(end, pos_);
    if (found == std::string_view::npos) return false;
    pos_ = found + end.size();
    return true;
  }

  // Blanks, comments, processing instructions and a document type declaration.
  bool SkipMisc() {
    for (;;) {
      SkipSpace();
      if (LooksAt("<?")) {
        if (!SkipPast("?>")) return false;
      } else if (LooksAt("<!--")) {
        if (!SkipPast("-->")) return false;
      } else if (LooksAt("<!DOCTYPE")) {
        if (!SkipDoctype()) return false;
      } else {
        return true;
      }
    }
  }

  bool SkipDoctype() {
    int brackets = 0;
    for (; !AtEnd(); ++pos_) {
      const char c = text_[pos_];
      if (c == '[') ++brackets;
      if (c == ']') --brackets;
      if (c == '>' && brackets <= 0) {
        ++pos_;
        return true;
      }
    }
    return false;
  }

  bool Name(std::string& name) {
    const std::size_t start = pos_;
    while (!AtEnd() && IsNameChar(text_[pos_])) ++pos_;
    if (pos_ == start) return false;
    name.assign(text_.substr(start, pos_ - start));
    return true;
  }

  // Appends `raw` with its entity and character references resolved.
  static bool Unescape(std::string_view raw, std::string& out) {
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '&') {
        out += raw[i];
        continue;
      }
      const std::size_t semicolon = raw.find(';', i);
      if (semicolon == std::string_view::npos || semicolon - i > 12) return false;
      const std::string_view entity = raw.substr(i + 1, semicolon - i - 1);
      if (entity == "lt") out += '<';
      else if (entity == "gt") out += '>';
      else if (entity == "amp") out += '&';
      else if (entity == "quot") out += '"';
      else if (entity == "apos") out += '\'';
      else if (!CharacterReference(entity, out)) return false;
      i = semicolon;
    }
    return true;
  }

  static bool CharacterReference(std::string_view entity, std::string& out) {
    if (entity.size() < 2 || entity[0] != '#') return false;
    const bool hex = entity[1] == 'x';
    const std::string_view digits = entity.substr(hex ? 2 : 1);
    if (digits.empty()) return false;
    std::uint32_t cp = 0;
    for (const char c : digits) {
      std::uint32_t digit = 0;
      if (c >= '0' && c <= '9') digit = static_cast<std::uint32_t>(c - '0');
      else if (hex && c >= 'a' && c <= 'f') digit = static_cast<std::uint32_t>(c - 'a' + 10);
      else if (hex && c >= 'A' && c <= 'F') digit = static_cast<std::uint32_t>(c - 'A' + 10);
      else return false;
      cp = cp * (hex ? 16 : 10) + digit;
      if (cp > 0x10FFFF) return false;
    }
    if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    AppendCodePoint(out, cp);
    return true;
  }

  bool Attributes(XmlElement& element) {
    for (;;) {
      const std::size_t before = pos_;
      SkipSpace();
      if (AtEnd()) return false;
      if (Peek('>') || Peek('/')) return true;
      if (pos_ == before) return false;  // attributes are separated by blanks
      std::string name;
      if (!Name(name)) return false;
      SkipSpace();
      if (!Peek('=')) return false;
      ++pos_;
      SkipSpace();
      if (AtEnd() || (text_[pos_] != '"' && text_[pos_] != '\'')) return false;
      const char quote = text_[pos_++];
      const std::size_t end = text_.find(quote, pos_);
      if (end == std::string_view::npos) return false;
      const std::string_view raw = text_.substr(pos_, end - pos_);
      if (raw.find('<') != std::string_view::npos) return false;
      std::string value;
      if (!Unescape(raw, value)) return false;
      element.attributes.emplace_back(NameOf(name), std::move(value));
      pos_ = end + 1;
    }
  }

  bool Element(XmlElement& element, std::size_t depth) {
    if (depth > limits_.maxDepth || ++elements_ > limits_.maxElements) return false;
    ++pos_;  // '<'
    std::string qualified;
    if (!Name(qualified)) return false;
    element.name = NameOf(qualified);
    if (!Attributes(element)) return false;
    if (Peek('/')) {
      ++pos_;
      if (!Peek('>')) return false;
      ++pos_;
      return true;
    }
    ++pos_;  // '>'
    for (;;) {
      const std::size_t lt = text_.find('<', pos_);
      if (lt == std::string_view::npos) return false;
      if (!Unescape(text_.substr(pos_, lt - pos_), element.text)) return false;
      pos_ = lt;
      if (LooksAt("</")) {
        pos_ += 2;
        std::string closing;
        if (!Name(closing) || closing != qualified) return false;
        SkipSpace();
        if (!Peek('>')) return false;
        ++pos_;
        return true;
      }
      if (LooksAt("<!--")) {
        if (!SkipPast("-->")) return false;
      } else if (LooksAt("<![CDATA[")) {
        pos_ += 9;
        const std::size_t end = text_.find("]]>", pos_);
        if (end == std::string_view::npos) return false;
        element.text.append(text_.substr(pos_, end - pos_));
        pos_ = end + 3;
      } else if (LooksAt("<?")) {
        if (!SkipPast("?>")) return false;
      } else {
        element.children.emplace_back();
        if (!Element(element.children.back(), depth + 1)) return false;
      }
    }
  }

  std::string_view text_;
  std::string NameOf(std::string_view qualified) const {
    return limits_.keepNamespacePrefixes ? std::string(qualified) : LocalName(qualified);
  }

  const XmlLimits& limits_;
  std::size_t pos_ = 0;
  std::size_t elements_ = 0;
};

}  // namespace

const XmlElement* XmlElement::Child(std::string_view childName) const {
  for (const XmlElement& child : children) {
    if (child.name == childName) return &child;
  }
  return nullptr;
}

std::optional<std::string> XmlElement::ChildText(std::string_view path) const {
  const XmlElement* element = this;
  while (!path.empty()) {
    const std::size_t slash = path.find('/');
    element = element->Child(path.substr(0, slash));
    if (element == nullptr) return std::nullopt;
    path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
  }
  return std::string(Trim(element->text));
}

std::optional<std::string> XmlElement::Attribute(std::string_view attributeName) const {
  for (const auto& [key, value] : attributes) {
    if (key == attributeName) return value;
  }
  return std::nullopt;
}

std::optional<XmlElement> ParseXmlDocument(std::string_view bytes, const XmlLimits& limits) {
  if (bytes.size() > limits.maxBytes) return std::nullopt;
  const std::optional<std::string> text = DecodeDocument(bytes);
  if (!text) return std::nullopt;
  return Parser(*text, limits).Document();
}

}  // namespace bootmark
