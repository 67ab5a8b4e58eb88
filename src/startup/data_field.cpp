#include "startup/data_field.h"

#include "base/text.h"

namespace bootmark {

TDataField::TDataField(std::string_view text) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('|', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view field = text.substr(start, end - start);
    const std::size_t colon = field.find(':');
    if (colon != std::string_view::npos && colon > 0) {
      const std::string_view name = field.substr(0, colon);
      const std::string_view value = field.substr(colon + 1);
      bool replaced = false;
      for (auto& [known, held] : fields_) {
        if (SameText(known, name)) {
          held = std::string(value);
          replaced = true;
          break;
        }
      }
      if (!replaced) fields_.emplace_back(std::string(name), std::string(value));
    }
    start = end + 1;
  }
}

std::string TDataField::Text(std::string_view name) const {
  for (const auto& [known, value] : fields_) {
    if (SameText(known, name)) return value;
  }
  return {};
}

std::int32_t TDataField::Number(std::string_view name) const { return StrToIntDef(Text(name), 0); }

}  // namespace bootmark
