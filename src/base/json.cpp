#include "base/json.h"

#include <cstdint>

#include "base/text.h"

namespace bootmark {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Recursive descent over the text. Every nested object or array goes one level
// deeper and the depth is checked before descending, so the recursion never goes
// beyond kMaxJsonDepth calls whatever the text holds.
class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  std::optional<JsonObject> ParseWhole() {
    JsonObject object;
    SkipSpace();
    if (!ParseObject(1, &object)) return std::nullopt;
    SkipSpace();
    if (pos_ != text_.size()) return std::nullopt;
    return object;
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }

  void SkipSpace() {
    while (!AtEnd() && IsSpace(Peek())) ++pos_;
  }

  bool Consume(char c) {
    if (AtEnd() || Peek() != c) return false;
    ++pos_;
    return true;
  }

  bool ConsumeWord(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  // `{` already checked by the caller's Peek; `object` may be null when only the
  // shape matters.
  bool ParseObject(int depth, JsonObject* object) {
    if (depth > kMaxJsonDepth || !Consume('{')) return false;
    SkipSpace();
    if (Consume('}')) return true;
    for (;;) {
      std::string name;
      if (!ParseString(name)) return false;
      SkipSpace();
      if (!Consume(':')) return false;
      SkipSpace();
      JsonValue value;
      if (!ParseValue(depth, value)) return false;
      if (object != nullptr) object->fields.push_back({std::move(name), std::move(value)});
      SkipSpace();
      if (Consume('}')) return true;
      if (!Consume(',')) return false;
      SkipSpace();
    }
  }

  bool ParseArray(int depth) {
    if (depth > kMaxJsonDepth || !Consume('[')) return false;
    SkipSpace();
    if (Consume(']')) return true;
    for (;;) {
      JsonValue value;
      if (!ParseValue(depth, value)) return false;
      SkipSpace();
      if (Consume(']')) return true;
      if (!Consume(',')) return false;
      SkipSpace();
    }
  }

  // A value inside a container at `depth`.
  bool ParseValue(int depth, JsonValue& value) {
    if (AtEnd()) return false;
    const std::size_t start = pos_;
    switch (Peek()) {
      case '"':
        value.kind = JsonValue::Kind::String;
        return ParseString(value.text);
      case '{':
        value.kind = JsonValue::Kind::Object;
        if (!ParseObject(depth + 1, nullptr)) return false;
        value.text = text_.substr(start, pos_ - start);
        return true;
      case '[':
        value.kind = JsonValue::Kind::Array;
        if (!ParseArray(depth + 1)) return false;
        value.text = text_.substr(start, pos_ - start);
        return true;
      case 't':
      case 'f':
        value.kind = JsonValue::Kind::Boolean;
        if (!ConsumeWord("true") && !ConsumeWord("false")) return false;
        value.text = text_.substr(start, pos_ - start);
        return true;
      case 'n':
        value.kind = JsonValue::Kind::Null;
        if (!ConsumeWord("null")) return false;
        value.text = "null";
        return true;
      default:
        value.kind = JsonValue::Kind::Number;
        if (!ParseNumber()) return false;
        value.text = text_.substr(start, pos_ - start);
        return true;
    }
  }

  // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
  bool ParseNumber() {
    Consume('-');
    if (Consume('0')) {
      // A leading zero stands alone.
    } else if (!ConsumeDigits()) {
      return false;
    }
    if (Consume('.') && !ConsumeDigits()) return false;
    if (Consume('e') || Consume('E')) {
      if (!Consume('+')) Consume('-');
      if (!ConsumeDigits()) return false;
    }
    return true;
  }

  bool ConsumeDigits() {
    const std::size_t start = pos_;
    while (!AtEnd() && IsDigit(Peek())) ++pos_;
    return pos_ > start;
  }

  bool ParseHex4(std::uint32_t& unit) {
    if (text_.size() - pos_ < 4) return false;
    unit = 0;
    for (int i = 0; i < 4; ++i) {
      const int digit = HexDigit(text_[pos_ + static_cast<std::size_t>(i)]);
      if (digit < 0) return false;
      unit = unit * 16 + static_cast<std::uint32_t>(digit);
    }
    pos_ += 4;
    return true;
  }

  // A "\u" escape (the "\u" already read), with the low half of a surrogate pair
  // when one follows; a lone half becomes U+FFFD.
  bool ParseUnicodeEscape(std::string& out) {
    std::uint32_t unit = 0;
    if (!ParseHex4(unit)) return false;
    std::u16string units(1, static_cast<char16_t>(unit));
    if (unit >= 0xD800 && unit < 0xDC00 && text_.substr(pos_, 2) == "\\u") {
      const std::size_t afterHigh = pos_;
      pos_ += 2;
      std::uint32_t low = 0;
      if (!ParseHex4(low)) return false;
      if (low >= 0xDC00 && low < 0xE000) {
        units += static_cast<char16_t>(low);
      } else {
        pos_ = afterHigh;  // the next escape is a character of its own
      }
    }
    out += Utf16ToUtf8(units);
    return true;
  }

  bool ParseString(std::string& out) {
    if (!Consume('"')) return false;
    while (!AtEnd()) {
      const char c = text_[pos_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (AtEnd()) return false;
      switch (text_[pos_++]) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u':
          if (!ParseUnicodeEscape(out)) return false;
          break;
        default:
          return false;
      }
    }
    return false;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

const JsonValue* JsonObject::Find(std::string_view name) const {
  for (const JsonField& field : fields) {
    if (field.name == name) return &field.value;
  }
  return nullptr;
}

std::optional<JsonObject> ParseJsonObject(std::string_view text) {
  if (text.size() > kMaxJsonTextBytes) return std::nullopt;
  return Parser(text).ParseWhole();
}

}  // namespace bootmark
