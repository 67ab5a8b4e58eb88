#pragma once
// A reader of one JSON object, for answers that come from outside: the text and
// the nesting are bounded, so no answer can make the program use much memory or
// stack. Nested objects and arrays are checked and kept as their JSON text.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bootmark {

// Texts longer than this are refused without being looked at.
inline constexpr std::size_t kMaxJsonTextBytes = 1024 * 1024;
// Objects and arrays nested deeper than this (the outer object is level 1) are refused.
inline constexpr int kMaxJsonDepth = 64;

struct JsonValue {
  enum class Kind { String, Number, Boolean, Null, Object, Array };
  Kind kind = Kind::Null;
  // The value as text: a string's characters with its escapes decoded (UTF-8), a
  // number as written, "true", "false" and "null", an object or array as its
  // JSON text.
  std::string text;
};

struct JsonField {
  std::string name;
  JsonValue value;
};

struct JsonObject {
  // In the order of the text; a name written twice is listed twice.
  std::vector<JsonField> fields;

  // The first field of that name (compared exactly); null when there is none.
  const JsonValue* Find(std::string_view name) const;
};

// The object that makes up the whole text (blanks around it allowed); nullopt for
// anything else: other values, malformed JSON, text after the object, text or
// nesting beyond the limits above.
std::optional<JsonObject> ParseJsonObject(std::string_view text);

}  // namespace bootmark
