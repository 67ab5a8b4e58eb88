#pragma once
// TDataField: the field text of one record of the suite's startup manager,
// "name:value" fields joined by "|" ("ItemType:1|RegKeyName:Foo|..."). A field
// is split at its first ":"; one without ":" or with an empty name is ignored;
// a repeated name replaces the earlier value. Names are matched without regard
// to case.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bootmark {

class TDataField {
 public:
  explicit TDataField(std::string_view text);

  // The field's value; empty when there is none.
  std::string Text(std::string_view name) const;
  // The field's value as a decimal number; 0 when missing or not a number.
  std::int32_t Number(std::string_view name) const;

 private:
  std::vector<std::pair<std::string, std::string>> fields_;
};

}  // namespace bootmark
