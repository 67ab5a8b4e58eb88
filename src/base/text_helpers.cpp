#include "base/text_helpers.h"

#include "base/text.h"

namespace bootmark {

std::string TextBeforeChar(std::string_view text, char ch, std::size_t count) {
  if (ch != '\0') {
    const std::size_t found = text.find(ch);
    return found == std::string_view::npos ? std::string() : std::string(text.substr(0, found));
  }
  std::u16string units = Utf8ToUtf16(text);
  if (count >= units.size()) return std::string(text);
  units.resize(count);
  if (!units.empty() && units.back() >= 0xD800 && units.back() <= 0xDBFF) units.pop_back();
  return Utf16ToUtf8(units);
}

std::string TextAfterLastChar(std::string_view text, char ch) {
  const std::size_t found = text.rfind(ch);
  return std::string(found == std::string_view::npos ? text : text.substr(found + 1));
}

std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter) {
  if (delimiter.empty()) return {std::string(text)};
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (true) {
    const std::size_t found = text.find(delimiter, start);
    if (found == std::string_view::npos) {
      pieces.emplace_back(text.substr(start));
      return pieces;
    }
    pieces.emplace_back(text.substr(start, found - start));
    start = found + delimiter.size();
  }
}

}  // namespace bootmark
