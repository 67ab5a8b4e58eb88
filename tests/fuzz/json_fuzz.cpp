// Arbitrary bytes as a JSON answer. The reader must end without crash, with
// bounded recursion, and what it accepts must hold together: every nested object
// it kept as text reads again as an object, and adding blanks around the text
// changes nothing.
// fuzz-max-len: 70000
#include "base/json.h"
#include "fuzz/fuzz_target.h"

BOOTMARK_FUZZ_TARGET(text) {
  const auto object = ParseJsonObject(text);
  const auto padded = ParseJsonObject(" \r\n" + text + "\t ");
  Check(object.has_value() == padded.has_value());
  if (!object) return;
  Check(object->fields.size() == padded->fields.size());
  for (std::size_t i = 0; i < object->fields.size(); ++i) {
    const JsonField& field = object->fields[i];
    Check(field.name == padded->fields[i].name && field.value.text == padded->fields[i].value.text);
    Check(object->Find(field.name) != nullptr);
    if (field.value.kind == JsonValue::Kind::Object) Check(ParseJsonObject(field.value.text).has_value());
    if (field.value.kind == JsonValue::Kind::Array) {
      Check(ParseJsonObject("{\"a\":" + field.value.text + "}").has_value());
    }
  }
}
